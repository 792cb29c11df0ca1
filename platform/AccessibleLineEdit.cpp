#include "AccessibleLineEdit.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <algorithm>

namespace {

class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit AccessibleLineEdit(QLineEdit* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value && !field()->isReadOnly())
            field()->setText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !field()->isReadOnly();
        state.readOnly = field()->isReadOnly();
        state.selectableText = true;
        state.passwordEdit = field()->echoMode() != QLineEdit::Normal;
        return state;
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && field()->hasSelectedText()) {
            *start = field()->selectionStart();
            *end = *start + static_cast<int>(field()->selectedText().size());
        }
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { field()->deselect(); }
    void setSelection(int, int start, int end) override { field()->setSelection(start, end - start); }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    QString text(int start, int end) const override { return shownText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shownText().size()); }
    void scrollToSubstring(int, int) override {}

    // A field has no formatting of its own: one run of no attributes over the whole value.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // -2 stands for the caret.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return QAccessibleTextInterface::textBeforeOffset(caretFor(offset), type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return QAccessibleTextInterface::textAfterOffset(caretFor(offset), type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return QAccessibleTextInterface::textAtOffset(caretFor(offset), type, start, end);
    }

    // The field's text area, one character's advance wide at the offset (the field's scrolling aside).
    QRect characterRect(int offset) const override {
        const QFontMetrics metrics = field()->fontMetrics();
        const QString text = shownText();
        const QRect area = field()->contentsRect();
        const int x = area.left() + metrics.horizontalAdvance(text.left(offset));
        const int width = offset < text.size() ? metrics.horizontalAdvance(text.at(offset)) : 1;
        return QRect(field()->mapToGlobal(QPoint(x, area.top())), QSize(width, area.height()));
    }

    int offsetAtPoint(const QPoint& point) const override {
        return field()->cursorPositionAt(field()->mapFromGlobal(point));
    }

    // Braille input, dictation and on-screen keyboards edit through these. A masked field shows no text, so
    // offsets in it mean nothing: an insertion goes at the caret, and a replacement (setting the contents) replaces
    // the whole value.
    void insertText(int offset, const QString& text) override {
        edit(masked() ? field()->cursorPosition() : offset, masked() ? field()->cursorPosition() : offset, text);
    }
    void deleteText(int start, int end) override {
        if (!masked())
            edit(start, end, {});
    }
    void replaceText(int start, int end, const QString& text) override {
        if (masked())
            edit(0, static_cast<int>(field()->text().size()), text);
        else
            edit(start, end, text);
    }

private:
    QLineEdit* field() const { return static_cast<QLineEdit*>(widget()); }
    bool masked() const { return field()->echoMode() != QLineEdit::Normal; }
    void edit(int start, int end, const QString& text) {
        if (field()->isReadOnly())
            return;
        QString value = field()->text();
        start = std::clamp(start, 0, static_cast<int>(value.size()));
        end = std::clamp(end, start, static_cast<int>(value.size()));
        field()->setText(value.replace(start, end - start, text));
        field()->setCursorPosition(start + static_cast<int>(text.size()));
    }
    int caretFor(int offset) const { return offset == -2 ? cursorPosition() : offset; }
    // A masked field gives nothing away.
    QString shownText() const { return masked() ? QString() : field()->text(); }
};

[[maybe_unused]] QAccessibleInterface* lineEditFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QLineEdit") && object && object->isWidgetType())
        return new AccessibleLineEdit(static_cast<QLineEdit*>(object));
    return nullptr;
}

} // namespace

// Factories installed later are asked first, so this one takes precedence over Qt's own.
// Orca's way of reading a line (AT-SPI); on Windows, UI Automation reads Qt's own interface.
void installAccessibleLineEdit() {
#ifndef Q_OS_WIN
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(lineEditFactory);
    installed = true;
#endif
}
