#pragma once

#include "Outcome.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// How the program's own voice speaks, kept in the settings file: the voice by name (empty: the speech service's
// Italian voice), the speed as a multiple of the voice's normal rate, the pitch and the volume.
struct VoiceSettings {
    static constexpr double kSlowest = 0.5;
    static constexpr double kFastest = 3.0;
    static constexpr double kSpeedStep = 0.25;

    QString name;
    double speed = 1.0; // kSlowest to kFastest
    int pitch = 0;      // -100 (lowest) to 100 (highest), 0 the voice's own
    int volume = 100;   // 0 to 100

    // A missing, unreadable or damaged file, or a value out of place, gives the default for that value.
    static VoiceSettings read(const QString& file);
    Outcome<> write(const QString& file) const;
    // "1,5": the speed as the user hears it said.
    QString spokenSpeed() const;
};

// The program's own voice: a speech service's connection of the program's own, speaking one utterance after
// another in the order given. Each utterance said is told by begun() then ended(); cancel() silences this
// program's utterances, spoken or waiting, and never another program's (a screen reader's speech goes on).
// The real voice lives in platform/ (speech-dispatcher, Windows' speech); tests install a voice of their own.
class Voice : public QObject {
    Q_OBJECT

public:
    using Maker = std::function<std::unique_ptr<Voice>()>;

    // The voice of this system, or the one a test installed.
    static std::unique_ptr<Voice> make();
    static void install(Maker maker);

    // Connects to the speech service; a failure says why and what to install.
    virtual Outcome<> open() = 0;
    // The names of the Italian voices the service offers (empty when it names none).
    virtual QStringList voices() const = 0;
    virtual void apply(const VoiceSettings& settings) = 0;
    // Queues an utterance, known by its id in what is told of it.
    virtual void say(quint64 id, const QString& text) = 0;
    virtual void cancel() = 0;

signals:
    void begun(quint64 id);
    void ended(quint64 id);
    // The service went away or refused an utterance: nothing more will be said.
    void failed(const QString& reason);
};

// What to install where there is no voice: "Nessuna voce installata: installare speech-dispatcher e
// speech-dispatcher-espeak-ng." on Linux.
QString noVoiceReason();
