#include "AppearanceSettings.h"

#include <QDir>
#include <QFile>
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
    QSettings::Status status = QSettings::NoError;
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            QSettings stored(file, QSettings::IniFormat);
            stored.setValue(kZoomKey, zoom);
            stored.setValue(kContrastKey, highContrast);
            stored.sync();
            status = stored.status();
        }
        if (status != QSettings::FormatError)
            break;
        QFile::remove(file); // damaged beyond reading: written afresh
    }
    if (status != QSettings::NoError)
        return Failure{
            QStringLiteral("Impossibile salvare le impostazioni in «%1».").arg(QDir::toNativeSeparators(file))};
    return Success();
}
