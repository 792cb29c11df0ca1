#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>

Outcome<> writeSettings(const QString& file, const QList<std::pair<QString, QVariant>>& values) {
    QSettings::Status status = QSettings::NoError;
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            QSettings stored(file, QSettings::IniFormat);
            for (const auto& [key, value] : values)
                stored.setValue(key, value);
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
