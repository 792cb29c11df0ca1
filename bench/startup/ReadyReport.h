#pragma once

// Once the event loop is idle with the window shown, prints "pronto <resident KiB>" and ends the process.
void reportWhenIdleAndQuit();
