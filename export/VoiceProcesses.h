#pragma once

#include "DaisyBook.h"
#include "platform/Voice.h"

#include <atomic>

// The articles of a talking book spoken into MP3 files by several voice processes at once (lettore-giornali-voce,
// one per worker), each article in a file of its own. Runs in a worker; a stop or a failure ends every process.
namespace VoiceProcesses {

struct Article {
    QString file; // the MP3's full path
    QStringList utterances;
};

struct Spoken {
    QList<DaisyBook::ArticleAudio> audio; // one per article, in order, its file named without the folder
    QString narrator;
};

// done gets the number of the article just spoken (from 0) and how many are done.
using Done = std::function<void(int article, int done)>;

Outcome<Spoken> speak(const QList<Article>& articles, const VoiceSettings& settings, int workers,
                      const std::atomic<bool>& cancelled, const Done& done);

// The voice program beside this one or in its private folder.
QString program();

} // namespace VoiceProcesses
