#include "SharedState.h"

SharedState& SharedState::instance() {
    static SharedState state;
    return state;
}

void SharedState::reset() {
    instance() = SharedState();
}
