#pragma once

#include <functional>

// The way back to the main menu for screens that do not know it: the program sets it at start-up, and the reader
// (or an opening that ends without it) calls show() so that a keyboard user is never left without a window.
namespace MainMenu {

void setShow(std::function<void()> show);
void show(); // nothing while no way is set

} // namespace MainMenu
