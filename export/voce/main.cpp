// lettore-giornali-voce: the talking book's voice in a process of its own, so that several articles are spoken at
// once (espeak-ng speaks one thing at a time in a process). Started by the export with the voice's settings, it
// says "pronto<TAB>narrator" and then answers requests on its standard input, one per article:
//   <n><TAB><path of the MP3 to write>, then n lines, one utterance each
// with n lines "clip<TAB>begin<TAB>end" (seconds) and "fatto<TAB>samples<TAB>rate", or "errore<TAB>reason".
#include "Mp3Speaker.h"
#include "platform/FailureReason.h"
#include "platform/HelperProcess.h"
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

// Speaks the article into a new file in the book's unfinished folder, which takes the book's name only once whole:
// no file is replaced, and no sync to disk holds the voice up. A file left half-written is removed.
Outcome<Mp3Speaker::Spoken> speakInto(const QString& path, const QStringList& utterances) {
    QFile file(path);
    setSystemError(0);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(file, path);
    const Outcome<Mp3Speaker::Spoken> spoken = Mp3Speaker::speak(utterances, file);
    setSystemError(0);
    if (spoken && file.flush()) {
        file.close();
        return spoken;
    }
    const QString reason = spoken ? cannotWrite(file, path).reason : spoken.reason();
    file.remove();
    return Failure{reason};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    becomeBackgroundHelper();
    const QStringList arguments = application.arguments();
    QFile in, out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 2;

    VoiceSettings settings;
    settings.name = option(arguments, QStringLiteral("--voce"));
    settings.speed = option(arguments, QStringLiteral("--velocita"), QStringLiteral("1")).toDouble();
    settings.pitch = option(arguments, QStringLiteral("--tono"), QStringLiteral("0")).toInt();
    settings.volume = option(arguments, QStringLiteral("--volume"), QStringLiteral("100")).toInt();
    // A copy for Windows carries espeak-ng's data beside the program; on Linux the system's is used. espeak-ng
    // takes the path in the system's 8-bit code page, so it is given as the current folder, whatever its name.
    QString data;
    if (QDir(QCoreApplication::applicationDirPath()).exists(QStringLiteral("espeak-ng-data")) &&
        QDir::setCurrent(QCoreApplication::applicationDirPath()))
        data = QStringLiteral(".");
    if (const Outcome<> opened = Mp3Speaker::open(settings, data); !opened) {
        answer(out, QStringLiteral("errore\t") + opened.reason());
        return 1;
    }
    answer(out, QStringLiteral("pronto\t") + Mp3Speaker::narrator());

    while (!in.atEnd()) {
        const QString request = readLine(in);
        const qsizetype tab = request.indexOf(QLatin1Char('\t'));
        bool counted = false;
        const int count = request.left(tab).toInt(&counted);
        if (tab < 0 || !counted || count < 0) {
            answer(out, QStringLiteral("errore\trichiesta non valida"));
            continue;
        }
        QStringList utterances;
        for (int i = 0; i < count && !in.atEnd(); ++i)
            utterances << readLine(in);
        const Outcome<Mp3Speaker::Spoken> spoken = speakInto(request.mid(tab + 1), utterances);
        if (!spoken) {
            answer(out, QStringLiteral("errore\t") + spoken.reason());
            continue;
        }
        for (const auto& [begin, end] : spoken.value().clips)
            answer(out, QStringLiteral("clip\t%1\t%2").arg(begin, 0, 'f', 6).arg(end, 0, 'f', 6));
        answer(out, QStringLiteral("fatto\t%1\t%2").arg(spoken.value().samples).arg(spoken.value().sampleRate));
    }
    return 0;
}
