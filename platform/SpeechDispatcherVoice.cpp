#include "SystemVoice.h"
#include "Voice.h"
#include "Worker.h"

#include <QHash>
#include <QMutex>
#include <QPointer>
#include <libspeechd.h>

namespace {

class SpeechDispatcherVoice;

// libspeechd calls back on a thread of its own, with the connection's client id and no pointer of ours: the
// voices are found by their client id, under a lock their destructor also takes.
QMutex g_voicesLock;
QHash<size_t, SpeechDispatcherVoice*> g_voices;

// The speed as speech-dispatcher's rate: 1 is 0, 3 is 100, 0.5 is -100.
int rateOf(double speed) {
    return speed >= 1.0 ? qRound((speed - 1.0) / 2.0 * 100.0) : qRound((speed - 1.0) * 200.0);
}

class SpeechDispatcherVoice : public Voice {
public:
    ~SpeechDispatcherVoice() override {
        if (!m_connection)
            return;
        {
            const QMutexLocker lock(&g_voicesLock);
            g_voices.remove(m_client);
        }
        spd_cancel(m_connection);
        spd_close(m_connection);
    }

    Outcome<> open() override {
        char* error = nullptr;
        m_connection = spd_open2("lettore-giornali", "voce", nullptr, SPD_MODE_THREADED, nullptr, 1, &error);
        free(error);
        if (!m_connection)
            return Failure{noVoiceReason()};
        char** modules = spd_list_modules(m_connection);
        const bool anyModule = modules && modules[0];
        for (char** module = modules; module && *module; ++module)
            free(*module);
        free(modules);
        if (!anyModule) {
            spd_close(std::exchange(m_connection, nullptr));
            return Failure{noVoiceReason()};
        }
        m_client = static_cast<size_t>(spd_get_client_id(m_connection));
        {
            const QMutexLocker lock(&g_voicesLock);
            g_voices.insert(m_client, this);
        }
        m_connection->callback_begin = &SpeechDispatcherVoice::told;
        m_connection->callback_end = &SpeechDispatcherVoice::told;
        m_connection->callback_cancel = &SpeechDispatcherVoice::told;
        spd_set_notification_on(m_connection, SPD_BEGIN);
        spd_set_notification_on(m_connection, SPD_END);
        spd_set_notification_on(m_connection, SPD_CANCEL);
        spd_set_language(m_connection, "it");
        return Success();
    }

    QStringList voices() const override {
        QStringList names;
        if (!m_connection)
            return names;
        SPDVoice** voices = spd_list_synthesis_voices(m_connection);
        for (SPDVoice** voice = voices; voice && *voice; ++voice) {
            if (QByteArray((*voice)->language).startsWith("it"))
                names.append(QString::fromUtf8((*voice)->name));
        }
        if (voices)
            free_spd_voices(voices);
        return names;
    }

    void apply(const VoiceSettings& settings) override {
        if (!m_connection)
            return;
        spd_set_language(m_connection, "it");
        if (!settings.name.isEmpty())
            spd_set_synthesis_voice(m_connection, settings.name.toUtf8().constData());
        spd_set_voice_rate(m_connection, rateOf(settings.speed));
        spd_set_voice_pitch(m_connection, settings.pitch);
        spd_set_volume(m_connection, settings.volume * 2 - 100);
    }

    // A message of the same priority as a screen reader's: neither cuts the other short.
    void say(quint64 id, const QString& text) override {
        const int message = m_connection ? spd_say(m_connection, SPD_MESSAGE, text.toUtf8().constData()) : -1;
        if (message < 0) {
            emit failed(QStringLiteral("il servizio di sintesi vocale non risponde"));
            return;
        }
        m_ids.insert(static_cast<size_t>(message), id);
    }

    void cancel() override {
        m_ids.clear();
        if (m_connection)
            spd_cancel(m_connection);
    }

private:
    static void told(size_t message, size_t client, SPDNotificationType state) {
        const QMutexLocker lock(&g_voicesLock);
        SpeechDispatcherVoice* voice = g_voices.value(client);
        if (!voice)
            return;
        postTo(voice, [voice, message, state] { voice->tell(message, state); });
    }

    // In the window thread; a message cancelled meanwhile is no longer known and says nothing.
    void tell(size_t message, SPDNotificationType state) {
        const auto id = m_ids.find(message);
        if (id == m_ids.end())
            return;
        if (state == SPD_EVENT_BEGIN) {
            emit begun(*id);
            return;
        }
        // A cancel this program did not ask for (another client's cancel of everything) ends the message as
        // well: the reading goes on rather than waiting for an end that never comes.
        const quint64 ended = *id;
        m_ids.erase(id);
        emit this->ended(ended);
    }

    SPDConnection* m_connection = nullptr;
    size_t m_client = 0;
    QHash<size_t, quint64> m_ids; // speech-dispatcher's message ids to ours
};

} // namespace

std::unique_ptr<Voice> makeSystemVoice() {
    return std::make_unique<SpeechDispatcherVoice>();
}

QString noVoiceReason() {
    return QStringLiteral("Nessuna voce installata: installare i pacchetti speech-dispatcher e "
                          "speech-dispatcher-espeak-ng.");
}
