#include "UnzipRun.h"

namespace {
thread_local UnzipRun* t_current = nullptr;
}

UnzipRun::UnzipRun(WindowThreadQuestion::Context questionContext)
    : questionContext(std::move(questionContext)), m_previous(t_current) {
    t_current = this;
}

UnzipRun::~UnzipRun() {
    t_current = m_previous;
}

UnzipRun* UnzipRun::current() {
    return t_current;
}
