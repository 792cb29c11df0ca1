#include "CurrentProfile.h"

CurrentProfile& CurrentProfile::instance() {
    static CurrentProfile state;
    return state;
}

void CurrentProfile::reset() {
    instance() = CurrentProfile();
}
