#include "Mp3Speaker.h"

#include <QDir>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <espeak-ng/speak_lib.h>
#include <lame.h>
#include <memory>
#include <vector>

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

// An article being spoken: every block of samples the synthesiser gives is encoded and written at once, so that
// memory stays that of one block, however long the article.
struct Article {
    lame_global_flags* lame = nullptr;
    QIODevice* out = nullptr;
    qint64 samples = 0;
    std::vector<unsigned char> mp3;
    QString failure;

    bool write(int encoded) {
        if (encoded < 0) {
            failure = QStringLiteral("il codificatore MP3 si è fermato (errore %1)").arg(encoded);
            return false;
        }
        if (out->write(reinterpret_cast<const char*>(mp3.data()), encoded) != encoded) {
            failure = QStringLiteral("impossibile scrivere l'MP3");
            return false;
        }
        return true;
    }
    bool encode(const short* block, int count) {
        samples += count;
        // LAME's own bound: 1.25 times the samples plus 7200 bytes.
        mp3.resize(static_cast<size_t>(count) * 5 / 4 + 7200);
        return write(lame_encode_buffer(lame, block, block, count, mp3.data(), static_cast<int>(mp3.size())));
    }
};

Article* g_article = nullptr; // where the synthesis callback's samples go
QString g_voice;
int g_sampleRate = 0;

int collect(short* samples, int count, espeak_EVENT*) {
    if (!samples || count <= 0 || !g_article)
        return 0;
    return g_article->failure.isEmpty() && g_article->encode(samples, count) ? 0 : 1; // 1 stops the synthesis
}

// The voice of the settings when it is one of espeak-ng's Italian voices, with its variant ("Italian+Adam", as
// speech-dispatcher names them), else espeak-ng's Italian voice, "it".
QString italianVoice(const QString& wanted) {
    const QString voice = wanted.section(QLatin1Char('+'), 0, 0);
    espeak_VOICE italian{};
    italian.languages = "it";
    const espeak_VOICE** voices = espeak_ListVoices(&italian);
    for (int i = 0; voices && voices[i] && !voice.isEmpty(); ++i) {
        if (QString::fromUtf8(voices[i]->name).compare(voice, Qt::CaseInsensitive) == 0 &&
            espeak_SetVoiceByName(wanted.toUtf8().constData()) == EE_OK)
            return wanted;
    }
    return QStringLiteral("it");
}

} // namespace

Outcome<> Mp3Speaker::open(const VoiceSettings& settings, const QString& dataFolder) {
    const QByteArray path = QDir::toNativeSeparators(dataFolder).toLocal8Bit();
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, dataFolder.isEmpty() ? nullptr : path.constData(),
                                       espeakINITIALIZE_DONT_EXIT);
    g_sampleRate = rate;
    if (rate <= 0)
        return Failure{QStringLiteral("la sintesi vocale espeak-ng non trova i suoi dati")};
    g_voice = italianVoice(settings.name);
    if (espeak_SetVoiceByName(g_voice.toUtf8().constData()) != EE_OK)
        return Failure{QStringLiteral("la sintesi vocale espeak-ng non ha la voce italiana")};
    const int wordsPerMinute = std::clamp(static_cast<int>(std::lround(espeakRATE_NORMAL * settings.speed)),
                                          espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    espeak_SetParameter(espeakPITCH, std::clamp(50 + settings.pitch / 2, 0, 100), 0);
    espeak_SetParameter(espeakVOLUME, std::clamp(settings.volume, 0, 100), 0);
    espeak_SetSynthCallback(collect);
    return Success();
}

QString Mp3Speaker::narrator() {
    return QStringLiteral("eSpeak NG, voce %1").arg(g_voice);
}

Outcome<Mp3Speaker::Spoken> Mp3Speaker::speak(const QStringList& utterances, QIODevice& out) {
    const std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame)
        return Failure{QStringLiteral("il codificatore MP3 non si avvia")};
    lame_set_in_samplerate(lame.get(), g_sampleRate);
    lame_set_out_samplerate(lame.get(), g_sampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), kBitrate);
    lame_set_quality(lame.get(), 5);
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return Failure{QStringLiteral("il codificatore MP3 non accetta il suono della voce")};

    Spoken spoken;
    spoken.sampleRate = g_sampleRate;
    Article article{lame.get(), &out, 0, {}, {}};
    g_article = &article;
    for (const QString& utterance : utterances) {
        const double begin = static_cast<double>(article.samples) / spoken.sampleRate;
        QByteArray text = utterance.simplified().toUtf8();
        text.append('\0');
        const espeak_ERROR error =
            espeak_Synth(text.constData(), text.size(), 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
        if (!article.failure.isEmpty())
            break;
        if (error != EE_OK) {
            article.failure = QStringLiteral("la sintesi vocale non ha potuto dire «%1»").arg(utterance.left(60));
            break;
        }
        spoken.clips.append({begin, static_cast<double>(article.samples) / spoken.sampleRate});
    }
    g_article = nullptr;
    if (!article.failure.isEmpty())
        return Failure{article.failure};
    article.mp3.resize(7200);
    if (!article.write(lame_encode_flush(lame.get(), article.mp3.data(), static_cast<int>(article.mp3.size()))))
        return Failure{article.failure};
    spoken.samples = article.samples;
    // The file, as a player decodes it, starts with the encoder's delay and the decoder's (528 + 1 samples): the
    // clips move by as much, so each begins where its words do.
    const double delay = static_cast<double>(lame_get_encoder_delay(lame.get()) + 529) / spoken.sampleRate;
    for (auto& [begin, end] : spoken.clips) {
        begin = begin == 0 ? 0 : begin + delay;
        end += delay;
    }
    return spoken;
}

Outcome<std::pair<qint64, int>> Mp3Speaker::decodedSamples(const QByteArray& mp3) {
    hip_t decoder = hip_decode_init();
    if (!decoder)
        return Failure{QStringLiteral("il decodificatore MP3 non si avvia")};
    std::vector<short> left(1152 * 64), right(1152 * 64);
    mp3data_struct header{};
    qint64 total = 0;
    int rate = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(mp3.constData()));
    // Fed in pieces smaller than any frame: each call then completes at most the one frame it returns, and none
    // is left behind in the decoder (fed many frames at once, it gives back fewer).
    constexpr int kChunk = 16;
    for (qsizetype at = 0; at <= mp3.size(); at += kChunk) {
        const int length = static_cast<int>(std::min<qsizetype>(kChunk, mp3.size() - at));
        // Each call gives the samples of the frames it completes; an empty buffer takes out the rest.
        int got = hip_decode1_headers(decoder, bytes + at, length, left.data(), right.data(), &header);
        while (got > 0) {
            total += got;
            got = hip_decode1_headers(decoder, bytes + at, 0, left.data(), right.data(), &header);
        }
        if (got < 0) {
            hip_decode_exit(decoder);
            return Failure{QStringLiteral("l'MP3 è danneggiato")};
        }
        if (header.header_parsed)
            rate = header.samplerate;
        if (length == 0)
            break;
    }
    hip_decode_exit(decoder);
    return std::pair<qint64, int>{total, rate};
}
