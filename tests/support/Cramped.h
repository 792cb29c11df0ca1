#pragma once

#include <QStringList>

class QWidget;

// The visible texts of the window that need more room than their control gives them, as "name: «text»": a
// label's text (wrapped where it wraps), a button's caption, a field's or a list's line. A control that takes the
// focus keeps room inside for the focus frame drawn over its edge.
QStringList crampedTexts(QWidget* window);
