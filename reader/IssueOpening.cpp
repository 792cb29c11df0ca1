#include "IssueOpening.h"

#include "ExtractionFolder.h"
#include "FrmLeggiGiornale.h"
#include "ReaderTitle.h"
#include "platform/KeyAscii.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/SharedState.h"
#include "platform/Worker.h"
#include "unzip/CGUnzipFiles.h"
#include "unzip/CodeModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace {

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

// The reader's title: the downloaded archive's name when there is one, else the chosen archive's.
QString issueTitle() {
    const SharedState& shared = SharedState::instance();
    return ReaderTitle::fromBaseName(shared.NomeScaricato.isEmpty() ? shared.NomeGiornale : shared.NomeScaricato);
}

} // namespace

struct IssueOpening::Extracted {
    QString folder;
    QString unusableFolder; // why no folder could be prepared
    int32_t code = 0;
    bool unzipFailed = false; // the extraction library could not be run
    bool cancelled = false;
};

void IssueOpening::start(const QString& archivePath, const std::optional<Target>& target) {
    if (isRunning())
        return;
    auto* opening = new IssueOpening(archivePath);
    opening->m_target = target;
    g_running = opening;
    runInWorker(
        opening,
        [archivePath, folder = ProgramFolder::path(), cancelled = opening->m_cancelled] {
            return extract(archivePath, folder, cancelled);
        },
        [opening](const Extracted& extracted) {
            g_running = nullptr;
            opening->conclude(extracted);
            opening->deleteLater();
        });
}

bool IssueOpening::isRunning() {
    return !g_running.isNull();
}

IssueOpening::IssueOpening(const QString& archivePath)
    : QObject(QCoreApplication::instance()), m_archivePath(archivePath), m_title(issueTitle()),
      m_entries(entriesOf(archivePath)), m_cancelled(std::make_shared<std::atomic<bool>>(false)) {
    CodeModule::clearCancel();
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [] {
        CodeModule::requestCancel();
        CodeModule::windowThreadGone();
    });
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &IssueOpening::showProgress);
    m_quiet.start(kQuietMs);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (m_window)
            m_window->update(CodeModule::entriesStarted(), m_entries);
    });
}

// Runs in the worker: nothing here touches a window.
IssueOpening::Extracted IssueOpening::extract(const QString& archivePath, const QString& programFolder,
                                              std::shared_ptr<std::atomic<bool>> cancelled) {
    Extracted extracted;
    const Outcome<QString> folder = ExtractionFolder::prepare(programFolder);
    if (!folder) {
        extracted.unusableFolder = folder.reason();
        return extracted;
    }
    extracted.folder = folder.value();
    CGUnzipFiles job;
    job.setZipFileName(archivePath);
    job.setExtractDir(extracted.folder);
    job.setHonorDirectories(true);
    const Outcome<int32_t> unzipped = job.Unzip(QString(), QString());
    if (unzipped)
        extracted.code = unzipped.value();
    else
        extracted.unzipFailed = true;
    if (*cancelled) {
        ExtractionFolder::clear(extracted.folder);
        extracted.cancelled = true;
    }
    return extracted;
}

void IssueOpening::showProgress() {
    m_window = Toolkit::current().showWait(QStringLiteral("Apertura del giornale…"), m_title, [this] {
        *m_cancelled = true;
        CodeModule::requestCancel();
        m_window.reset();
        m_poll.stop();
    });
    m_window->update(CodeModule::entriesStarted(), m_entries);
    m_poll.start(100);
}

// Back on the window thread, as opening went on before: a report of a nonzero code, then the reader scans the
// folder and takes the issue's title.
void IssueOpening::conclude(const Extracted& extracted) {
    m_quiet.stop();
    m_poll.stop();
    m_window.reset();
    if (extracted.cancelled || extracted.unzipFailed) {
        MainMenu::show();
        return;
    }
    if (!extracted.unusableFolder.isEmpty()) {
        Toolkit::current().message(
            withReason(QStringLiteral("Il giornale non è stato aperto."), extracted.unusableFolder),
            QStringLiteral("Ondaris"), Toolkit::Icon::Stop);
        MainMenu::show();
        return;
    }
    if (extracted.code != 0) {
        Toolkit::current().message(
            QStringLiteral("Problemi con la decompressione, l'archivio potrebbe essere danneggiato!"),
            QStringLiteral("Ondaris"), Toolkit::Icon::Information);
    }
    SharedState& shared = SharedState::instance();
    shared.PercorsoTemp = extracted.folder;

    FrmLeggiGiornale& reader = Screen<FrmLeggiGiornale>::show();
    reader.setIssueKey(QFileInfo(m_archivePath).completeBaseName());
    reader.CboElencoGiornali_KeyPress(kKeyEnter);
    if (!Screen<FrmLeggiGiornale>::isLoaded() || !reader.isVisible())
        return; // no newspaper found: the reader has closed itself and shown the main menu

    if (!shared.NomeScaricato.isEmpty())
        shared.NomeScaricato = ReaderTitle::fromBaseName(shared.NomeScaricato);
    reader.setWindowTitle(shared.NomeScaricato);
    if (reader.windowTitle().isEmpty()) {
        shared.NomeGiornale = ReaderTitle::fromBaseName(shared.NomeGiornale);
        reader.setWindowTitle(shared.NomeGiornale);
    }
    if (m_target)
        goToTarget(reader);
}

// As if the user had walked there: the section, its contents, the article, with the stretch selected.
void IssueOpening::goToTarget(FrmLeggiGiornale& reader) const {
    reader.openArticleAt(m_target->indexFile, m_target->code, m_target->offset, m_target->length);
}
