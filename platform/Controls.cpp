#include "Controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QWidget>

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
}

void nameList(QComboBox* list, const QString& name) {
    list->setAccessibleName(name);
    auto* label = new QLabel(name, list->parentWidget());
    label->setObjectName(list->objectName() + QStringLiteral("_nome"));
    label->setBuddy(list);
    label->hide();
}

QWidget* firstFocusable(QWidget* window) {
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->isEnabled() && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}
