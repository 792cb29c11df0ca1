#pragma once

#include "platform/Screen.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWidget>

// Helpers for driving real windows in tests.

template <typename T = QWidget> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

// Shows the screen and waits for it to become the active window.
template <typename F> F& showActive() {
    F& screen = Screen<F>::show();
    if (!QTest::qWaitForWindowActive(&screen))
        qWarning("%s not active", F::staticMetaObject.className());
    return screen;
}

// The texts of a drop-down list of the window, in order.
inline QStringList itemTexts(QWidget* window, const char* list) {
    auto* combo = child<QComboBox>(window, list);
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

inline QString focusedName() {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("(nessuno)");
}

// The name a screen reader announces for the control: the name of the label that names it, when there is one
// (how drop-down lists are named on Linux), else its own name.
inline QString accessibleName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        return {};
    const auto labels = iface->relations(QAccessible::Label);
    if (!labels.isEmpty())
        return labels.first().first->text(QAccessible::Name);
    return iface->text(QAccessible::Name);
}

// Names of the visible controls of the window that a screen reader would announce without a name.
inline QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isVisibleTo(window) && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_") &&
            accessibleName(w).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    return unnamed;
}
