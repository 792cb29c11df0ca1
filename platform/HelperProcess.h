#pragma once

// Makes this process a helper of the program's: below the desktop's other processes, so that long work done in it
// (a talking book's voice on every core) never keeps a window, the program's own or a screen reader's, from the
// processor; and with its standard input and output in binary, so that no byte of a request is taken for the end
// of the input (Windows' text mode ends a pipe at Ctrl+Z).
void becomeBackgroundHelper();
