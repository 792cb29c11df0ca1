#pragma once

#include "platform/Outcome.h"
#include "platform/Voice.h"

#include <QList>
#include <QStringList>
#include <utility>

class QIODevice;

// The voice of a talking book: espeak-ng speaks in this process into samples, LAME makes them an MP3. Each
// utterance is said on its own, so its clip in the file is known to the sample from what the synthesiser gave.
// espeak-ng keeps its state in the process: one speaker per process.
class Mp3Speaker {
public:
    static constexpr int kBitrate = 48; // kbit/s, mono

    struct Spoken {
        QList<std::pair<double, double>> clips; // seconds in the decoded file, one per utterance
        qint64 samples = 0;                     // the synthesiser's, in all
        int sampleRate = 0;
    };

    // The Italian voice named in the settings when espeak-ng has it, else its Italian voice; the speed, tone and
    // volume as the reading voice uses them. dataFolder holds espeak-ng-data, or is empty for the system's.
    static Outcome<> open(const VoiceSettings& settings, const QString& dataFolder);
    // "eSpeak NG, voce it": what the book names as its narrator.
    static QString narrator();
    // Speaks the utterances into the MP3 written to out as the samples come; memory stays that of a block of
    // samples, however long the article.
    static Outcome<Spoken> speak(const QStringList& utterances, QIODevice& out);

    // The samples an MP3 gives back when decoded (LAME's decoder), and their rate; for checks.
    static Outcome<std::pair<qint64, int>> decodedSamples(const QByteArray& mp3);
};
