// The reading voice over a whole section of the large issue, through a real speech-dispatcher whose voice writes
// the text to a file: from F5 to the first sentence given to the server and to the server's start of it, and
// from the end of each sentence to the start of the next; the same server's own gaps, for a run of sentences
// given all at once, are the baseline. The window thread's longest stall while it reads.
#include "BenchTools.h"
#include "LargeIssue.h"
#include "LargeIssueFolder.h"
#include "QuietToolkit.h"
#include "platform/SystemVoice.h"
#include "platform/Voice.h"
#include "reader/ReadingVoice.h"

#include <QComboBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>

namespace {

// The system's voice, with the time of every utterance given, begun and ended.
class TimedVoice : public Voice {
public:
    struct Times {
        QElapsedTimer clock;
        QList<double> given, begun, ended;
    };

    TimedVoice(std::unique_ptr<Voice> voice, Times& times) : m_voice(std::move(voice)), m_times(times) {
        connect(m_voice.get(), &Voice::begun, this, [this](quint64 id) {
            m_times.begun.append(now());
            emit begun(id);
        });
        connect(m_voice.get(), &Voice::ended, this, [this](quint64 id) {
            m_times.ended.append(now());
            emit ended(id);
        });
        connect(m_voice.get(), &Voice::failed, this, &Voice::failed);
    }
    Outcome<> open() override { return m_voice->open(); }
    QStringList voices() const override { return m_voice->voices(); }
    void apply(const VoiceSettings& settings) override { m_voice->apply(settings); }
    void say(quint64 id, const QString& text) override {
        m_times.given.append(now());
        m_voice->say(id, text);
    }
    void cancel() override { m_voice->cancel(); }

private:
    double now() const { return m_times.clock.nsecsElapsed() / 1e6; }
    std::unique_ptr<Voice> m_voice;
    Times& m_times;
};

// The gaps from each end to the next start, in ms.
std::vector<double> gaps(const TimedVoice::Times& times) {
    std::vector<double> found;
    for (qsizetype i = 1; i < times.begun.size() && i - 1 < times.ended.size(); ++i)
        found.push_back(times.begun.at(i) - times.ended.at(i - 1));
    return found;
}

void startSpeechServer(QProcess& server, const QString& work) {
    QDir(work).mkpath("conf/modules");
    writeFile(work + "/conf/speechd.conf", "AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n"
                                           "AddModule \"file\" \"sd_generic\" \"file.conf\"\n"
                                           "DefaultModule file\nDefaultLanguage \"it\"\n");
    writeFile(work + "/conf/modules/file.conf",
              "GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> " + work.toUtf8() +
                  "/detto.txt\"\nAddVoice \"it\" \"female1\" \"it\"\nDefaultVoice \"female1\"\n"
                  "GenericLanguage \"it\" \"it\" \"utf-8\"\n");
    const QString socket = work + "/speechd.sock";
    server.start(QStandardPaths::findExecutable("speech-dispatcher"),
                 {"--run-single", "--timeout", "0", "--config-dir", work + "/conf", "--socket-path", socket,
                  "--pid-file", work + "/pid", "--log-dir", work, "--communication-method", "unix_socket"});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(socket) && waited.elapsed() < 15000)
        QTest::qWait(50);
    if (!QFile::exists(socket))
        qFatal("speech-dispatcher did not start");
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + socket.toUtf8());
    qputenv("SPEECHD_CMD", "/bin/false");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QStandardPaths::findExecutable("speech-dispatcher").isEmpty()) {
        std::printf("speech-dispatcher non installato: nulla da misurare\n");
        return 0;
    }
    LargeIssueFolder issue;
    QuietToolkit toolkit;
    Toolkit::install(&toolkit);
    QProcess server;
    startSpeechServer(server, issue.folder.filePath("voce"));

    // The server alone: 200 sentences given at once.
    TimedVoice::Times alone;
    alone.clock.start();
    {
        TimedVoice voice(makeSystemVoice(), alone);
        if (!voice.open())
            qFatal("no voice");
        for (int i = 0; i < 200; ++i)
            voice.say(static_cast<quint64>(i + 1), QStringLiteral("Frase numero %1 del giornale.").arg(i));
        runUntil([&] { return alone.ended.size() == 200; });
    }

    TimedVoice::Times times;
    Voice::install([&times] { return std::make_unique<TimedVoice>(makeSystemVoice(), times); });
    openAndWait(issue.archive);
    FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
    if (!reader || !QTest::qWaitForWindowActive(reader))
        qFatal("the reader did not open");
    const ReadAloud& reading = reader->findChild<ReadingVoice*>()->reading();
    const_cast<ReadAloud&>(reading).sleepAt(ReadAloud::Sleep::AtSectionEnd);
    const double idle = idleStallMs();
    StallMeter meter;
    times.clock.start();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    runUntil([&] { return !times.begun.isEmpty(); });
    runUntil([&] { return reading.state() == ReadAloud::State::Stopped; });
    const double stall = meter.worstMs();

    const std::vector<double> ours = gaps(times);
    const std::vector<double> serverAlone = gaps(alone);
    const double worst = *std::max_element(ours.begin(), ours.end());
    std::printf("%lld frasi e titoli di una sezione (%d articoli)\n", static_cast<long long>(times.begun.size()),
                reader->contentsList()->count());
    std::printf("da F5 alla prima frase data al server: %.1f ms; al suo inizio: %.1f ms (obiettivo <= 150)\n",
                times.given.first(), times.begun.first());
    std::printf("tra una frase e la seguente: mediana %.2f ms, peggiore %.2f ms (obiettivo <= 50); il server da "
                "solo: mediana %.2f ms, peggiore %.2f ms; rapporto delle mediane %.2f\n",
                median(ours), worst, median(serverAlone), *std::max_element(serverAlone.begin(), serverAlone.end()),
                median(ours) / std::max(0.01, median(serverAlone)));
    std::printf("blocco più lungo della finestra durante la lettura: %.1f ms (obiettivo <= 100; a riposo %.1f ms)\n",
                stall, idle);
    server.terminate();
    server.waitForFinished();
    return times.begun.first() <= 150 && worst <= 50 && stall <= 100 ? 0 : 1;
}
