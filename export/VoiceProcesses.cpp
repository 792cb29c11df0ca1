#include "VoiceProcesses.h"

#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <mutex>
#include <numeric>
#include <thread>

namespace {

constexpr int kWaitStep = 200;         // ms between looks at the stop
constexpr int kStartLimit = 30 * 1000; // ms for a voice process to be ready

// The articles' work shared by the workers: the next article to take, the first failure, the results.
struct Shared {
    Shared(const QList<VoiceProcesses::Article>& articles, const std::atomic<bool>& cancelled,
           const VoiceProcesses::Done& done)
        : articles(articles), cancelled(cancelled), done(done), audio(articles.size()), order(articles.size()) {
        // The longest articles first, so that no process is left with a long one while the others are idle.
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return length(a) > length(b); });
    }
    qsizetype length(int article) const {
        qsizetype characters = 0;
        for (const QString& utterance : articles.at(article).utterances)
            characters += utterance.size();
        return characters;
    }

    const QList<VoiceProcesses::Article>& articles;
    const std::atomic<bool>& cancelled;
    const VoiceProcesses::Done& done;
    std::atomic<int> next{0};
    int finished = 0; // under the lock
    std::atomic<bool> failed{false};
    std::mutex lock;
    QString failure;
    QString narrator;
    QList<DaisyBook::ArticleAudio> audio;
    std::vector<int> order; // of the articles' numbers, as the processes take them

    void fail(const QString& reason) {
        const std::lock_guard guard(lock);
        if (!failed.exchange(true))
            failure = reason;
    }
    bool stopping() const { return failed.load() || cancelled.load(); }
};

// One line from the voice process, waiting in steps so a stop is seen; empty with the reason when none comes.
Outcome<QString> lineFrom(QProcess& process, Shared& shared, qint64 limit) {
    qint64 waited = 0;
    while (!process.canReadLine()) {
        if (shared.stopping())
            return Failure{};
        if (process.state() == QProcess::NotRunning && !process.canReadLine())
            return Failure{QStringLiteral("la sintesi vocale si è interrotta (codice %1)").arg(process.exitCode())};
        if (waited >= limit)
            return Failure{QStringLiteral("la sintesi vocale non risponde")};
        process.waitForReadyRead(kWaitStep);
        waited += kWaitStep;
    }
    return QString::fromUtf8(process.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

// An utterance as one line of the request: control characters, which the line could not hold, become spaces.
QByteArray lineOf(QString utterance) {
    for (QChar& c : utterance) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return utterance.simplified().toUtf8() + '\n';
}

// Speaks the article into its file through the process; the clips as the synthesiser timed them.
Outcome<DaisyBook::ArticleAudio> spokenBy(QProcess& process, const VoiceProcesses::Article& article, Shared& shared) {
    QByteArray request =
        QByteArray::number(article.utterances.size()) + '\t' + QDir::toNativeSeparators(article.file).toUtf8() + '\n';
    qint64 characters = 0;
    for (const QString& utterance : article.utterances) {
        request += lineOf(utterance);
        characters += utterance.size();
    }
    process.write(request);
    // espeak-ng speaks far faster than it is heard: a minute, and 5 ms a character, is a voice that has hung.
    const qint64 limit = 60 * 1000 + 5 * characters;
    DaisyBook::ArticleAudio audio{QFileInfo(article.file).fileName(), {}};
    for (;;) {
        const Outcome<QString> line = lineFrom(process, shared, limit);
        if (!line)
            return Failure{line.reason()};
        const QStringList fields = line.value().split(QLatin1Char('\t'));
        if (fields.first() == QLatin1String("errore"))
            return Failure{fields.value(1)};
        if (fields.first() == QLatin1String("fatto"))
            break;
        if (fields.first() == QLatin1String("clip") && fields.size() == 3)
            audio.clips.append({fields.at(1).toDouble(), fields.at(2).toDouble()});
    }
    if (audio.clips.size() != article.utterances.size())
        return Failure{QStringLiteral("la sintesi vocale ha dato %1 frasi su %2")
                           .arg(audio.clips.size())
                           .arg(article.utterances.size())};
    return audio;
}

void work(const QStringList& arguments, Shared& shared) {
    QProcess process;
    process.start(VoiceProcesses::program(), arguments);
    if (!process.waitForStarted(kStartLimit)) {
        const QString why = process.error() == QProcess::FailedToStart
                                ? QStringLiteral(": il programma manca o non si può eseguire")
                                : QString();
        shared.fail(QStringLiteral("impossibile avviare la sintesi vocale «%1»%2")
                        .arg(QDir::toNativeSeparators(VoiceProcesses::program()), why));
        return;
    }
    const Outcome<QString> ready = lineFrom(process, shared, kStartLimit);
    const QStringList fields = ready ? ready.value().split(QLatin1Char('\t')) : QStringList();
    if (fields.value(0) != QLatin1String("pronto")) {
        if (!shared.stopping())
            shared.fail(ready ? fields.value(1) : ready.reason());
    } else {
        {
            const std::lock_guard guard(shared.lock);
            shared.narrator = fields.value(1);
        }
        for (int next = shared.next++; next < shared.articles.size() && !shared.stopping(); next = shared.next++) {
            const int at = shared.order.at(next);
            const Outcome<DaisyBook::ArticleAudio> audio = spokenBy(process, shared.articles.at(at), shared);
            if (!audio) {
                if (!shared.stopping())
                    shared.fail(audio.reason());
                break;
            }
            // Under the lock, so the progress is told in order, from one thread at a time.
            const std::lock_guard guard(shared.lock);
            shared.audio[at] = audio.value();
            shared.done(at, ++shared.finished);
        }
    }
    process.closeWriteChannel();
    if (shared.stopping() || !process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

namespace VoiceProcesses {

QString program() {
    return ProgramFiles::find(QStringLiteral("lettore-giornali-voce"));
}

Outcome<Spoken> speak(const QList<Article>& articles, const VoiceSettings& settings, int workers,
                      const std::atomic<bool>& cancelled, const Done& done) {
    Shared shared(articles, cancelled, done);
    const QStringList arguments{QStringLiteral("--voce"),     settings.name,
                                QStringLiteral("--velocita"), QString::number(settings.speed),
                                QStringLiteral("--tono"),     QString::number(settings.pitch),
                                QStringLiteral("--volume"),   QString::number(settings.volume)};
    const int count = std::clamp(workers, 1, std::max(1, static_cast<int>(articles.size())));
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&] { work(arguments, shared); });
    for (std::thread& thread : threads)
        thread.join();
    if (cancelled.load())
        return Failure{QStringLiteral("esportazione annullata")};
    if (shared.failed.load())
        return Failure{shared.failure};
    return Spoken{shared.audio, shared.narrator};
}

} // namespace VoiceProcesses
