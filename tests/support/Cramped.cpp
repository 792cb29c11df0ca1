#include "Cramped.h"

#include "platform/Controls.h"
#include "platform/FocusFrame.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace {

QString described(const QWidget* control, const QString& text, const QSize& need, const QSize& room) {
    return QStringLiteral("%1: «%2» needs %3x%4, has %5x%6")
        .arg(control->objectName(), text)
        .arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height());
}

// The room inside the control once the focus frame is drawn over its edge, and inside the margin it keeps.
QRect inside(const QWidget* control, const QRect& room, int margin = 0) {
    const int inset = std::max(margin, control->focusPolicy() == Qt::NoFocus ? 0 : FocusFrame::kWidth);
    return room.adjusted(inset, inset, -inset, -inset);
}

std::optional<QString> crampedLabel(const QLabel* label) {
    if (label->text().isEmpty())
        return std::nullopt;
    const QRect room = inside(label, label->contentsRect(), label->margin());
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QSize need = label->fontMetrics().boundingRect(room, flags, label->text()).size();
    if (need.width() <= room.width() && need.height() <= room.height())
        return std::nullopt;
    return described(label, label->text(), need, room.size());
}

std::optional<QString> crampedButton(const QAbstractButton* button) {
    const QString caption = plainCaption(button->text());
    if (caption.isEmpty())
        return std::nullopt;
    const QRect room = inside(button, button->rect());
    const QSize need(button->fontMetrics().horizontalAdvance(caption), button->fontMetrics().height());
    if (need.width() <= room.width() && need.height() <= room.height())
        return std::nullopt;
    return described(button, caption, need, room.size());
}

// A field or a list scrolls its line sideways: its height must hold the line.
std::optional<QString> crampedLine(const QWidget* control, const QString& text, const QRect& line) {
    const int need = control->fontMetrics().height();
    if (need <= line.height())
        return std::nullopt;
    return described(control, text, QSize(0, need), line.size());
}

std::optional<QString> cramped(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control))
        return crampedLabel(label);
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return crampedButton(button);
    if (auto* field = qobject_cast<const QLineEdit*>(control)) {
        const int frame = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return crampedLine(field, field->text(), field->rect().adjusted(frame, frame, -frame, -frame));
    }
    if (auto* list = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = list->isEditable();
        option.frame = list->hasFrame();
        return crampedLine(
            list, list->currentText(),
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list));
    }
    return std::nullopt;
}

} // namespace

QStringList crampedTexts(QWidget* window) {
    QStringList found;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window) || control->isWindow() || control->width() <= 1)
            continue;
        if (const std::optional<QString> text = cramped(control))
            found << *text;
    }
    return found;
}
