#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// F1 in the window shows its keys in a message box (Esc or Enter closes it): a title, then one key per line.
void addKeyGuide(QWidget* window, const QString& title, const QStringList& keys);
