#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

// Character codes of the two keys that drive every screen.
constexpr int kKeyEnter = 13;
constexpr int kKeyEsc = 27;

// The character code of a key press (13 Enter, 27 Esc, else the first character typed), or 0 when the key
// types nothing (arrows, function keys).
int keyAscii(const QKeyEvent& event);

// Calls the handler with the character code of every key typed into the control, before the control's own
// handling; the key is never swallowed, so it then has its normal effect (arrows and first letters move a list's
// selection, the caret moves in a text).
void onKeyPress(QWidget* control, std::function<void(int keyAscii)> handler);
