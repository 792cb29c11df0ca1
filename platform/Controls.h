#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// The caption without its access-key marks: "&Leggi giornale" reads "Leggi giornale".
QString plainCaption(const QString& caption);

// Sets a button's caption (with its "&" access key) and the same words, unmarked, as its accessible name.
void setCaption(QAbstractButton* button, const QString& caption);

// The first control of the window, in tab order, that can take the keyboard focus now.
QWidget* firstFocusable(QWidget* window);
