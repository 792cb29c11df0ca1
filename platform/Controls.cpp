#include "Controls.h"

#include <QAbstractButton>
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

QWidget* firstFocusable(QWidget* window) {
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->isEnabled() && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}
