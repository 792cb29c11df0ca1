#include "Appearance.h"

#include "Announcer.h"
#include "ContrastStyle.h"
#include "FocusFrame.h"
#include "WindowZoom.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

bool isPlainWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop;
}

} // namespace

Appearance& Appearance::install(const QString& settingsFile) {
    static QPointer<Appearance> installed;
    delete installed;
    installed = new Appearance(settingsFile);
    return *installed;
}

Appearance::Appearance(const QString& settingsFile)
    : QObject(qApp), m_file(settingsFile), m_settings(AppearanceSettings::read(settingsFile)) {
    ContrastStyle::install();
    ContrastStyle::setEdgesDrawn(m_settings.highContrast);
    QApplication::setPalette(m_settings.highContrast ? highContrastPalette() : QPalette());
    qApp->installEventFilter(this);
    followFocusWithFrame();
}

void Appearance::setZoom(int percent) {
    percent = Zoom::valid(percent);
    if (percent == m_settings.zoom)
        return;
    m_settings.zoom = percent;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (isPlainWindow(window) && window->isVisible()) // a hidden one is zoomed as it appears
            WindowZoom::apply(window, percent);
    }
    changed(QStringLiteral("Ingrandimento al %1%.").arg(percent));
}

void Appearance::setHighContrast(bool on) {
    if (on == m_settings.highContrast)
        return;
    m_settings.highContrast = on;
    // An empty palette takes every colour from the desktop's, and keeps following it when the theme changes.
    ContrastStyle::setEdgesDrawn(on);
    QApplication::setPalette(on ? highContrastPalette() : QPalette());
    changed(on ? QStringLiteral("Contrasto elevato attivato.") : QStringLiteral("Contrasto elevato disattivato."));
}

void Appearance::changed(const QString& spoken) {
    const Outcome<> saved = m_settings.write(m_file);
    sayWhereTheUserIs(saved ? spoken : spoken + QLatin1Char(' ') + saved.reason());
}

bool Appearance::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (isPlainWindow(widget) && WindowZoom::appliedPercent(widget) != m_settings.zoom)
            WindowZoom::apply(widget, m_settings.zoom);
    }
    return false;
}

// A key that cannot go further still answers, so the user knows where the zoom stands.
void Appearance::stepZoom(int percent) {
    if (percent != m_settings.zoom)
        setZoom(percent);
    else if (percent == Zoom::kLargest)
        sayWhereTheUserIs(QStringLiteral("Ingrandimento già al massimo, %1%.").arg(percent));
    else
        sayWhereTheUserIs(QStringLiteral("Ingrandimento già al %1%, la dimensione normale.").arg(percent));
}

bool Appearance::handleKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool control = modifiers == Qt::ControlModifier;
    const bool controlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    const int key = event->key();
    if ((control || controlShift) && (key == Qt::Key_Plus || key == Qt::Key_Equal))
        stepZoom(Zoom::larger(m_settings.zoom));
    else if (control && key == Qt::Key_Minus)
        stepZoom(Zoom::smaller(m_settings.zoom));
    else if (control && key == Qt::Key_0)
        stepZoom(Zoom::kNormal);
    else if (controlShift && key == Qt::Key_C)
        setHighContrast(!m_settings.highContrast);
    else
        return false;
    return true;
}

// Light text on black, yellow for what is selected or focused, grey (still 8:1 on black) for what is disabled.
QPalette Appearance::highContrastPalette() {
    const QColor black(Qt::black), white(Qt::white), yellow(255, 255, 0), grey(160, 160, 160);
    QPalette palette(white, black, white, QColor(96, 96, 96), grey, white, white, black, black);
    palette.setColor(QPalette::Highlight, yellow);
    palette.setColor(QPalette::HighlightedText, black);
    palette.setColor(QPalette::ToolTipBase, black);
    palette.setColor(QPalette::ToolTipText, white);
    palette.setColor(QPalette::PlaceholderText, grey);
    palette.setColor(QPalette::Link, QColor(0, 255, 255));
    palette.setColor(QPalette::LinkVisited, QColor(255, 128, 255));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, grey);
    return palette;
}
