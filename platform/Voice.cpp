#include "Voice.h"

#include "SettingsFile.h"
#include "SystemVoice.h"

#include <QLocale>
#include <QSettings>
#include <cmath>

namespace {

const QString kNameKey = QStringLiteral("voce/nome");
const QString kSpeedKey = QStringLiteral("voce/velocita");
const QString kPitchKey = QStringLiteral("voce/tono");
const QString kVolumeKey = QStringLiteral("voce/volume");

Voice::Maker& installedMaker() {
    static Voice::Maker maker;
    return maker;
}

int within(const QVariant& stored, int lowest, int highest, int fallback) {
    bool number = false;
    const int value = stored.toInt(&number);
    return number && value >= lowest && value <= highest ? value : fallback;
}

} // namespace

std::unique_ptr<Voice> Voice::make() {
    if (installedMaker())
        return installedMaker()();
    return makeSystemVoice();
}

void Voice::install(Maker maker) {
    installedMaker() = std::move(maker);
}

VoiceSettings VoiceSettings::read(const QString& file) {
    VoiceSettings settings;
    const QSettings stored(file, QSettings::IniFormat);
    if (stored.status() != QSettings::NoError)
        return settings;
    settings.name = stored.value(kNameKey).toString();
    bool number = false;
    const double speed = stored.value(kSpeedKey).toDouble(&number);
    if (number && speed >= kSlowest && speed <= kFastest)
        settings.speed = std::round(speed / kSpeedStep) * kSpeedStep;
    settings.pitch = within(stored.value(kPitchKey), -100, 100, 0);
    settings.volume = within(stored.value(kVolumeKey), 0, 100, 100);
    return settings;
}

Outcome<> VoiceSettings::write(const QString& file) const {
    return writeSettings(file, {{kNameKey, name}, {kSpeedKey, speed}, {kPitchKey, pitch}, {kVolumeKey, volume}});
}

QString VoiceSettings::spokenSpeed() const {
    return QLocale(QLocale::Italian).toString(speed, 'g', 3);
}
