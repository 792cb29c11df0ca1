#pragma once

#include "AppearanceSettings.h"

#include <QObject>
#include <QPalette>
#include <QString>

class QKeyEvent;
class QWidget;

// How every window of the program looks: its zoom (Ctrl++, Ctrl+-, Ctrl+0) and the program's own high-contrast
// palette (Ctrl+Shift+C), both kept in the settings file and said aloud when they change; otherwise the
// platform's palette, and always a focus frame on the focused control.
class Appearance : public QObject {
    Q_OBJECT

public:
    // Reads the settings and starts following every window; lives as long as the application.
    static Appearance& install(const QString& settingsFile);

    const AppearanceSettings& settings() const { return m_settings; }
    void setZoom(int percent);
    void setHighContrast(bool on);

    static QPalette highContrastPalette();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Appearance(const QString& settingsFile);
    bool handleKey(const QKeyEvent* event);
    void stepZoom(int percent);
    void changed(const QString& spoken);

    QString m_file;
    AppearanceSettings m_settings;
};
