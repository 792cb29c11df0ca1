// lettore-giornali-voce: the talking book's voice in a process of its own, so that several articles are spoken at
// once (espeak-ng speaks one thing at a time in a process). Started by the export with the voice's settings, it
// says "pronto<TAB>narrator" and then answers requests on its standard input, one per article:
//   <path of the MP3 to write><TAB><n>, then n lines, one utterance each
// with n lines "clip<TAB>begin<TAB>end" (seconds) and "fatto<TAB>samples<TAB>rate", or "errore<TAB>reason".
#include "Mp3Speaker.h"
#include "platform/BackgroundPriority.h"
#include "platform/FailureReason.h"
#include "platform/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

QString option(const QStringList& arguments, const QString& name, const QString& fallback = {}) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
}

void answer(QFile& out, const QString& line) {
    out.write(line.toUtf8() + '\n');
    out.flush();
}

QString readLine(QFile& in) {
    return QString::fromUtf8(in.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    lowerOwnPriority();
    const QStringList arguments = application.arguments();
    QFile in, out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 2;

    VoiceSettings settings;
    settings.name = option(arguments, QStringLiteral("--voce"));
    settings.speed = option(arguments, QStringLiteral("--velocita"), QStringLiteral("1")).toDouble();
    settings.pitch = option(arguments, QStringLiteral("--tono"), QStringLiteral("0")).toInt();
    settings.volume = option(arguments, QStringLiteral("--volume"), QStringLiteral("100")).toInt();
    // A copy for Windows carries espeak-ng's data beside the program; on Linux the system's is used.
    const QString beside = QCoreApplication::applicationDirPath();
    const QString data = QDir(beside).exists(QStringLiteral("espeak-ng-data")) ? beside : QString();
    if (const Outcome<> opened = Mp3Speaker::open(settings, data); !opened) {
        answer(out, QStringLiteral("errore\t") + opened.reason());
        return 1;
    }
    answer(out, QStringLiteral("pronto\t") + Mp3Speaker::narrator());

    while (!in.atEnd()) {
        const QStringList request = readLine(in).split(QLatin1Char('\t'));
        if (request.size() != 2)
            continue;
        const int count = request.at(1).toInt();
        QStringList utterances;
        for (int i = 0; i < count; ++i)
            utterances << readLine(in);
        const Outcome<Mp3Speaker::Spoken> spoken = Mp3Speaker::speak(utterances);
        if (!spoken) {
            answer(out, QStringLiteral("errore\t") + spoken.reason());
            continue;
        }
        // A new file in the book's unfinished folder, which takes the book's name only once whole: no file is
        // replaced, and no sync to disk holds the voice up.
        QFile file(request.at(0));
        setSystemError(0);
        if (!file.open(QIODevice::WriteOnly) || file.write(spoken.value().mp3) != spoken.value().mp3.size() ||
            !file.flush()) {
            answer(out, QStringLiteral("errore\t") + cannotWrite(file, request.at(0)).reason);
            continue;
        }
        file.close();
        for (const auto& [begin, end] : spoken.value().clips)
            answer(out, QStringLiteral("clip\t%1\t%2").arg(begin, 0, 'f', 6).arg(end, 0, 'f', 6));
        answer(out, QStringLiteral("fatto\t%1\t%2").arg(spoken.value().samples).arg(spoken.value().sampleRate));
    }
    return 0;
}
