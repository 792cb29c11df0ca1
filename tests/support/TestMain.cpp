#include "TestMain.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int endTestProgram(int code) {
#ifdef Q_OS_WIN
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
#endif
    return code;
}
