#include "MainMenu.h"

namespace {

std::function<void()>& shower() {
    static std::function<void()> show;
    return show;
}

} // namespace

namespace MainMenu {

void setShow(std::function<void()> show) {
    shower() = std::move(show);
}

void show() {
    if (shower())
        shower()();
}

} // namespace MainMenu
