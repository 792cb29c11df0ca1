#pragma once

// Puts this process below the desktop's others, so that long work done in it (a talking book's voice on every
// core) never keeps a window, the program's own or a screen reader's, from the processor.
void lowerOwnPriority();
