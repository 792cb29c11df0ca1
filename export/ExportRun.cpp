#include "ExportRun.h"

#include "DaisyBook.h"
#include "EpubBook.h"
#include "IssueContent.h"
#include "VoiceProcesses.h"
#include "platform/FailureReason.h"
#include "platform/WholeFile.h"
#include "reader/StoreSearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

namespace {

QString progressText(const QString& section, int done, int total) {
    return QStringLiteral("Esportazione: %1, articolo %2 di %3").arg(section).arg(done).arg(total);
}

// The talking book with audio: the articles spoken into MP3 files by the voice processes first, the progress
// counting them as they are done, then the text and the SMIL files around them.
Outcome<> writeWithVoice(const IssueContent& issue, const QString& folder, const ExportRun::Order& order,
                         const std::atomic<bool>& cancelled, const ExportRun::Progress& progress) {
    QList<VoiceProcesses::Article> articles;
    QStringList sections;
    for (int s = 0; s < issue.sections.size(); ++s) {
        for (int a = 0; a < issue.sections.at(s).articles.size(); ++a) {
            const int number = static_cast<int>(articles.size()) + 1;
            articles.append({QDir(folder).filePath(DaisyBook::articleFile(number, QStringLiteral("mp3"))),
                             DaisyBook::utterances(issue, s, a)});
            sections << issue.sections.at(s).name;
        }
    }
    const int total = static_cast<int>(articles.size());
    const int workers = order.workers > 0 ? order.workers : QThread::idealThreadCount();
    const Outcome<VoiceProcesses::Spoken> spoken =
        VoiceProcesses::speak(articles, order.voice, workers, cancelled, [&](int article, int done) {
            progress(progressText(sections.at(article), done, total), done, total);
        });
    if (!spoken)
        return Failure{spoken.reason()};
    return DaisyBook::write(issue, folder, spoken.value().narrator, spoken.value().audio,
                            [&](const QString&, int, int) { return !cancelled.load(); });
}

// The stored archive's text files in a folder of their own, for a reading as the reader's; a name that is not a
// plain file name is passed over.
Outcome<> unpack(const QString& archive, const QString& folder, const std::atomic<bool>& cancelled) {
    static const QRegularExpression plain(QStringLiteral("^[^\\\\/:*?\"<>|.][^\\\\/:*?\"<>|]*$"));
    QString failure;
    const Outcome<> read =
        StoreSearch::readEntries(archive, cancelled, [&](const QString& name, const QByteArray& bytes) {
            if (!failure.isEmpty() || !plain.match(name).hasMatch())
                return;
            // A name this system refuses (a device name on Windows) is passed over like any other that is not a
            // plain file name; a folder that cannot be written stops the reading.
            if (const Outcome<> saved = writeWholeFile(QDir(folder).filePath(name), bytes);
                !saved && !QFileInfo(folder).isWritable())
                failure = saved.reason();
        });
    if (!read)
        return read;
    if (!failure.isEmpty())
        return Failure{failure};
    return Success();
}

// The finished book takes its name. An earlier book of the same name (an export of the same issue) first steps
// aside and goes only once the new one is in place; when the new one cannot take the name, the old one returns.
Outcome<> takeName(const QString& partial, const QString& book) {
    const QString aside = book + QStringLiteral(".precedente");
    QDir(aside).removeRecursively();
    const bool earlier = QFileInfo::exists(book);
    setSystemError(0);
    if (earlier && !QDir().rename(book, aside)) {
        const int code = lastSystemError();
        return Failure{QStringLiteral("il libro già presente in «%1» non si può sostituire: %2")
                           .arg(QDir::toNativeSeparators(book), folderFailureReason(code))};
    }
    setSystemError(0);
    if (!QDir().rename(partial, book)) {
        const int code = lastSystemError();
        if (earlier)
            QDir().rename(aside, book);
        return Failure{QStringLiteral("impossibile dare al libro il nome «%1»: %2")
                           .arg(QDir::toNativeSeparators(book), folderFailureReason(code))};
    }
    if (earlier)
        QDir(aside).removeRecursively();
    return Success();
}

} // namespace

namespace ExportRun {

Outcome<Done> run(const Order& order, const std::atomic<bool>& cancelled, const Progress& progress) {
    progress(QStringLiteral("Lettura del giornale…"), 0, 0);
    QTemporaryDir unpacked;
    QString issueFolder = order.issueFolder;
    if (issueFolder.isEmpty()) {
        if (!unpacked.isValid())
            return Failure{QStringLiteral("impossibile creare una cartella temporanea")};
        if (const Outcome<> read = unpack(order.archive, unpacked.path(), cancelled); !read)
            return Failure{read.reason()};
        issueFolder = unpacked.path();
    }
    const Outcome<IssueContent> issue = IssueContent::read(issueFolder, order.title, order.key, cancelled);
    if (!issue)
        return Failure{issue.reason()};
    const BookProgress step = [&](const QString& section, int article, int articles) {
        progress(progressText(section, article, articles), article, articles);
        return !cancelled.load();
    };
    const QString name = bookName(order.title);
    const QDir target(order.target);
    if (!target.exists())
        return Failure{QStringLiteral("la cartella «%1» non esiste").arg(QDir::toNativeSeparators(order.target))};
    const QString leftOut = leftOutSummary(issue.value().leftOut);
    if (order.format == Format::Epub) {
        const QString book = target.filePath(name + QStringLiteral(".epub"));
        const Outcome<> written = EpubBook::write(issue.value(), book, step);
        if (!written)
            return Failure{written.reason()};
        return Done{QDir::toNativeSeparators(book), leftOut};
    }
    const QString book = target.filePath(name);
    const QString partial = target.filePath(name + QStringLiteral(".parziale"));
    QDir(partial).removeRecursively();
    setSystemError(0);
    if (!QDir().mkpath(partial)) {
        const int code = lastSystemError();
        return Failure{QStringLiteral("impossibile creare la cartella «%1»: %2")
                           .arg(QDir::toNativeSeparators(partial), folderFailureReason(code))};
    }
    const Outcome<> written =
        order.format == Format::DaisyVoice
            ? writeWithVoice(issue.value(), partial, order, cancelled, progress)
            : DaisyBook::write(issue.value(), partial, QStringLiteral("Lettore giornali"), {}, step);
    if (!written) {
        QDir(partial).removeRecursively();
        return Failure{written.reason()};
    }
    if (const Outcome<> named = takeName(partial, book); !named) {
        QDir(partial).removeRecursively();
        return Failure{named.reason()};
    }
    return Done{QDir::toNativeSeparators(book), leftOut};
}

} // namespace ExportRun
