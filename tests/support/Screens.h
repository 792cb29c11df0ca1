#pragma once

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>

// Helpers for driving real windows in tests.

template <typename T = QWidget> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline QString focusedName() {
    QWidget* focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("(nessuno)");
}

// The name a screen reader announces for the control.
inline QString accessibleName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
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
