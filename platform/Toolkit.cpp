#include "Toolkit.h"

#include <QtGlobal>

namespace {
Toolkit* g_toolkit = nullptr;
}

Toolkit& Toolkit::current() {
    Q_ASSERT_X(g_toolkit, "Toolkit::current", "no toolkit installed");
    return *g_toolkit;
}

void Toolkit::install(Toolkit* toolkit) {
    g_toolkit = toolkit;
}
