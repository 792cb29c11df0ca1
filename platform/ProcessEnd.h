#pragma once

// Ends a window-less run of the program once its work is done and its files are written: the output is flushed
// and, on Windows, the process ends at once, as Wine can keep a Qt process from ending on its own. Returns the
// code to return from main() elsewhere.
int endProcess(int code);
