#include "AppearanceSettings.h"

#include "SettingsFile.h"

#include <QSettings>

namespace {

const QString kZoomKey = QStringLiteral("aspetto/ingrandimento");
const QString kContrastKey = QStringLiteral("aspetto/contrasto_elevato");

} // namespace

AppearanceSettings AppearanceSettings::read(const QString& file) {
    AppearanceSettings settings;
    const QSettings stored(file, QSettings::IniFormat);
    if (stored.status() != QSettings::NoError)
        return settings;
    bool number = false;
    const int zoom = stored.value(kZoomKey).toInt(&number);
    settings.zoom = number ? Zoom::valid(zoom) : Zoom::kNormal;
    const QString contrast = stored.value(kContrastKey).toString();
    settings.highContrast = contrast == QLatin1String("true");
    return settings;
}

Outcome<> AppearanceSettings::write(const QString& file) const {
    return writeSettings(file, {{kZoomKey, zoom}, {kContrastKey, highContrast}});
}
