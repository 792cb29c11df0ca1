#include "Controls.h"

#include "SpokenList.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWidget>
#include <optional>

QString plainCaption(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&&" stands for one "&"
        plain += caption[i];
    }
    return plain;
}

void setCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(plainCaption(caption));
    if (auto* push = qobject_cast<QPushButton*>(button))
        push->setAutoDefault(true); // outside a dialog a push button otherwise answers Space only
}

void nameList(QComboBox* list, const QString& name) {
    speakEntries(list); // first: it chooses the list's accessibility interface
    list->setAccessibleName(name);
    auto* label = new QLabel(name, list->parentWidget());
    label->setObjectName(list->objectName() + QStringLiteral("_nome"));
    label->setBuddy(list);
    label->hide();
}

namespace {

// The whole value selected, with the caret at the start and the selection anchored at the end, so the value is
// read out and reading goes on from its start. It is selected quietly, before the field reports its focus: Orca
// reads out a selection it has not seen before wherever it happens, and would read the value a first time before
// naming the field. QLineEdit reports its selection through its editing engine, a child object whose signals are
// held meanwhile; the field is repainted after.
void selectWhole(QLineEdit* field) {
    const int size = static_cast<int>(field->text().size());
    if (field->selectionStart() == 0 && field->selectedText().size() == size && field->cursorPosition() == 0)
        return;
    std::optional<QSignalBlocker> quiet;
    for (QObject* child : field->children()) {
        if (child->inherits("QWidgetLineControl"))
            quiet.emplace(child);
    }
    field->setSelection(size, -size);
    field->update();
}

class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* field = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn) {
            selectWhole(field);
        } else if (event->type() == QEvent::FocusOut) {
            // Qt deselects a field that loses the focus to another control, and Orca says "Testo non selezionato"
            // on its way to that control; the field keeps its selection instead, as when its window is left.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                QFocusEvent keepingSelection(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
                QCoreApplication::sendEvent(field, &keepingSelection);
                return true;
            }
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit* field) {
    field->installEventFilter(new SelectAllOnFocus(field));
}

QWidget* firstFocusable(QWidget* window) {
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->isEnabled() && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

bool replacesAsNewObjects() {
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

// The new object is focused before anything else is said of it: a screen reader told of a caret move first
// would take it as leaving the old object and say that the old selection went.
void replaceAsNewObject(QWidget* control, const std::function<void()>& replace) {
    if (replacesAsNewObjects() && QAccessible::isActive()) {
        if (QAccessibleInterface* object = QAccessible::queryAccessibleInterface(control))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(object));
        if (control->hasFocus()) {
            QAccessibleEvent focus(control, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
    replace();
}
