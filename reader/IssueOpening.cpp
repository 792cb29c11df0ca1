#include "IssueOpening.h"

#include "ExtractionFolder.h"
#include "FrmLeggiGiornale.h"
#include "platform/DelayedProgress.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/Toolkit.h"
#include "platform/Worker.h"
#include "unzip/CGUnzipFiles.h"
#include "unzip/CodeModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace {

const QString kBoxTitle = QStringLiteral("Ondaris");

QPointer<IssueOpening> g_running;

// The number of entries the archive's end record gives, for the share done; 0 when it cannot be read.
int entriesOf(const QString& archivePath) {
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 tail = std::min<qint64>(file.size(), 22 + 0xFFFF);
    file.seek(file.size() - tail);
    const QByteArray bytes = file.read(tail);
    const qsizetype at = bytes.lastIndexOf(QByteArrayView("PK\x05\x06", 4));
    if (at < 0 || at + 22 > bytes.size())
        return 0;
    return static_cast<uchar>(bytes[at + 10]) | (static_cast<uchar>(bytes[at + 11]) << 8);
}

} // namespace

struct IssueOpening::Extracted {
    QString folder;
    int32_t code = 0;
    bool cancelled = false;
    Outcome<> cleared = Success(); // after a cancel: whether what was written has gone
};

void IssueOpening::start(const QString& archivePath, const QString& title, const std::optional<ArticleTarget>& target) {
    if (isRunning()) {
        Toolkit::current().message(
            nullptr, QStringLiteral("Un altro giornale è in apertura: «%1» non è stato aperto.").arg(title),
            QStringLiteral("Ondaris"), Toolkit::Icon::Information);
        return;
    }
    if (FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded())
        reader->leaveIssue(); // the extraction empties the folder it reads
    auto* opening = new IssueOpening(archivePath, title, target);
    g_running = opening;
    runInWorker(
        opening,
        [archivePath, folder = ProgramFolder::path(), entries = opening->m_entries, cancelled = opening->m_cancelled] {
            return extract(archivePath, folder, entries, cancelled);
        },
        [opening](const Outcome<Extracted>& extracted) { opening->conclude(extracted); });
}

bool IssueOpening::isRunning() {
    return !g_running.isNull();
}

// The application owns the opening, so that it never outlives it; its windows go when the event loop ends.
IssueOpening::IssueOpening(const QString& archivePath, const QString& title, const std::optional<ArticleTarget>& target)
    : QObject(QCoreApplication::instance()), m_archivePath(archivePath), m_title(title), m_target(target),
      m_progress(new DelayedProgress(
          QStringLiteral("Apertura del giornale…"), title, [this] { cancel(); }, this)) {
    CodeModule::clearCancel();
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        CodeModule::requestCancel();
        CodeModule::windowThreadGone();
        releaseWindows();
    });
    connect(&m_poll, &QTimer::timeout, this,
            [this] { m_progress->update(CodeModule::entriesStarted(), m_entries->load()); });
    m_poll.start(100);
}

// Runs in the worker: nothing here touches a window.
Outcome<IssueOpening::Extracted> IssueOpening::extract(const QString& archivePath, const QString& programFolder,
                                                       std::shared_ptr<std::atomic<int>> entries,
                                                       std::shared_ptr<std::atomic<bool>> cancelled) {
    *entries = entriesOf(archivePath);
    const Outcome<QString> folder = ExtractionFolder::prepare(programFolder);
    if (!folder)
        return Failure{folder.reason()};
    Extracted extracted;
    extracted.folder = folder.value();
    CGUnzipFiles job;
    job.setZipFileName(archivePath);
    job.setExtractDir(extracted.folder);
    job.setHonorDirectories(true);
    const Outcome<int32_t> unzipped = job.Unzip(QString(), QString());
    if (unzipped)
        extracted.code = unzipped.value();
    if (*cancelled) {
        extracted.cancelled = true;
        extracted.cleared = ExtractionFolder::clear(extracted.folder);
        return extracted;
    }
    if (!unzipped)
        return Failure{unzipped.reason()};
    return extracted;
}

void IssueOpening::cancel() {
    *m_cancelled = true;
    CodeModule::requestCancel();
    m_poll.stop();
}

void IssueOpening::releaseWindows() {
    m_poll.stop();
    delete std::exchange(m_progress, nullptr);
}

// Back on the window thread: a report of a nonzero code, then the reader scans the folder under the issue's title.
void IssueOpening::conclude(const Outcome<Extracted>& extracted) {
    releaseWindows();
    if (!extracted) {
        fail(withReason(QStringLiteral("Il giornale non è stato aperto."), extracted.reason()));
        return;
    }
    const Extracted& done = extracted.value();
    if (done.cancelled) {
        if (!done.cleared) {
            fail(withReason(QStringLiteral("Apertura annullata, ma non tutto ciò che era stato estratto è stato "
                                           "eliminato."),
                            done.cleared.reason()));
            return;
        }
        MainMenu::show();
        end();
        return;
    }
    if (done.code != 0) {
        Toolkit::current().message(
            this, QStringLiteral("Problemi con la decompressione, l'archivio potrebbe essere danneggiato!"), kBoxTitle,
            Toolkit::Icon::Information, [this, folder = done.folder] { showReader(folder); });
        return;
    }
    showReader(done.folder);
}

// Said over the main menu, where the user is left.
void IssueOpening::fail(const QString& text) {
    MainMenu::show();
    Toolkit::current().message(this, text, kBoxTitle, Toolkit::Icon::Stop, [this] { end(); });
}

void IssueOpening::showReader(const QString& folder) {
    FrmLeggiGiornale& reader = Screen<FrmLeggiGiornale>::show();
    reader.openIssue(folder, m_title, QFileInfo(m_archivePath).completeBaseName(), m_target);
    end();
}

void IssueOpening::end() {
    g_running = nullptr;
    deleteLater();
}
