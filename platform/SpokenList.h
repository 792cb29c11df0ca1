#pragma once

#include <QString>
#include <Qt>

class QComboBox;

// An entry whose item holds true under this role is said with "letto": "Titolo, letto, 3 di 12".
inline constexpr int kReadRole = Qt::UserRole + 7;

// The entry of a drop-down list and its position, as a screen reader should say it: "Cronaca, 1 di 8";
// "elenco vuoto" for a list without entries.
QString entryAndPosition(const QComboBox* list);

// Makes a closed drop-down list speak its current entry with its position: when it takes the focus (through its
// accessible description, which screen readers say after name and role) and on every change of the selection
// while it has the focus (arrows, Home, End, Page keys, first letters, a fill).
void speakEntries(QComboBox* list);
