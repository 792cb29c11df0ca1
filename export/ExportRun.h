#pragma once

#include "platform/Outcome.h"
#include "platform/Voice.h"

#include <QString>
#include <atomic>
#include <functional>

// One export of an extracted issue into a target folder, as a book of the chosen format: the book is written beside
// its final name and takes that name only once whole, so a stop or a failure leaves nothing there. Runs in a worker.
namespace ExportRun {

enum class Format { DaisyVoice, DaisyText, Epub };

struct Order {
    QString issueFolder{}; // the extracted issue, or empty for the stored archive
    QString archive{};
    QString title{};
    QString key{};
    QString target{};
    Format format = Format::Epub;
    VoiceSettings voice{}; // for DaisyVoice
    int workers = 0;       // voice processes at once; 0 for one per core
};

struct Done {
    QString book;    // its full path
    QString leftOut; // "1 sezione non leggibile, esclusa." or nothing
};

// progress gets "Esportazione: Cronaca, articolo 12 di 40" with the articles written and their number.
using Progress = std::function<void(const QString& text, int done, int total)>;
Outcome<Done> run(const Order& order, const std::atomic<bool>& cancelled, const Progress& progress);

} // namespace ExportRun
