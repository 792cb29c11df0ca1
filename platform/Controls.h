#pragma once

#include <QString>
#include <functional>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

// The caption without its access-key marks: "&Leggi giornale" reads "Leggi giornale".
QString plainCaption(const QString& caption);

// Sets a button's caption (with its "&" access key) and the same words, unmarked, as its accessible name.
// A push button is pressed by Enter as well as by Space.
void setCaption(QAbstractButton* button, const QString& caption);

// Names a drop-down list for assistive technology. Qt names a list by its accessible name on Windows and macOS,
// but on Linux by the label that has it as buddy (the list's own name there is its current entry), so the list
// gets both: the name, and a hidden label carrying it. The list then speaks its entries with their position.
void nameList(QComboBox* list, const QString& name);

// However a text field gets the focus, its whole value is selected, so a screen reader reads all of it.
void selectAllOnFocus(QLineEdit* field);

// The first control of the window, in tab order, that can take the keyboard focus now.
QWidget* firstFocusable(QWidget* window);

// Replaces a control's content (an article by the next) with the control made a new object for screen readers.
// Orca remembers each text's selection and, when a selected text loses its selection, says "Testo non
// selezionato" before anything else: a new object has nothing to lose. A control that has the focus is presented
// anew, as one that takes the focus. Only where replacesAsNewObjects() holds (AT-SPI); elsewhere
// the content is just replaced.
void replaceAsNewObject(QWidget* control, const std::function<void()>& replace);
bool replacesAsNewObjects();
