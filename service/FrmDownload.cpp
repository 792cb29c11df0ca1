#include "FrmDownload.h"

#include "ArchiveFileName.h"
#include "ServiceAddress.h"
#include "platform/CurrentProfile.h"
#include "platform/ProgramFolder.h"
#include "platform/Worker.h"
#include "reader/Module1.h"
#include "reader/ReaderTitle.h"

#include <QComboBox>
#include <QDir>

namespace {

QString storedArchive(const QString& archiveName) {
    return ProgramFolder::join(QStringLiteral("Giornali")) + QDir::separator() + archiveFileName(archiveName);
}

// The reader's opening with the archive and the title of its window.
void openInReader(const DownloadedIssue& issue) {
    Module1::ApriArchivio(issue.archivePath, issue.title);
}

} // namespace

FrmDownload::FrmDownload()
    : WizardScreen("FrmDownload", QStringLiteral("Scarica testata"), "CboGiornali",
                   QStringLiteral("Edizioni provinciali")) {}

// The provincial editions are asked for; a service that answers with the issue's archive instead (an issue
// without editions) has it stored at once, not fetched a second time.
void FrmDownload::startExchange() {
    const CurrentProfile& profile = CurrentProfile::instance();
    UrlRichiesta =
        ServiceAddress::editions(profile.NomeUtente, profile.PasswordUtente, m_session.Testata, m_session.Edizione);
    m_session.NomeScaricato = m_session.archiveName();
    exchange(UrlRichiesta, ServiceRequest::Expect::PageOrArchive, storedArchive(m_session.NomeScaricato),
             ReaderTitle::fromBaseName(m_session.NomeScaricato));
}

void FrmDownload::listingArrived(const Outcome<QStringList>& entries) {
    if (!entries) {
        archiveArrived(Failure{entries.reason()});
        return;
    }
    m_list->addItems(entries.value());
    if (m_list->count() > 0) {
        m_list->setCurrentIndex(0);
        appear();
        return;
    }
    // No provincial editions: the same address gives the issue's archive.
    ScaricaGiornale(m_session.archiveName());
}

void FrmDownload::CmdContinua_Click() {
    const QString edition = m_list->currentText();
    if (edition.isEmpty()) {
        say(QStringLiteral("Selezionare l'edizione!"), QStringLiteral("Seleziona edizione provinciale!"),
            Toolkit::Icon::Information);
        return;
    }
    const CurrentProfile& profile = CurrentProfile::instance();
    UrlRichiesta = ServiceAddress::editionArchive(profile.NomeUtente, profile.PasswordUtente, m_session.Testata,
                                                  m_session.Edizione, edition);
    ScaricaGiornale(m_session.archiveName(edition));
}

void FrmDownload::ScaricaGiornale(const QString& archiveName) {
    if (UrlRichiesta.isEmpty())
        return;
    m_session.NomeScaricato = archiveName;
    exchange(UrlRichiesta, ServiceRequest::Expect::Archive, storedArchive(archiveName),
             ReaderTitle::fromBaseName(archiveName));
}

// Every download ends here, stored or not, and closes the screen once its box is closed: after a success the
// reader opens first and stays open, after a failure the user is back on the main menu.
void FrmDownload::archiveArrived(const Outcome<DownloadedIssue>& stored) {
    takeOver();
    if (!stored) {
        say(withReason(QStringLiteral("Il giornale non è stato scaricato!"), stored.reason()),
            QStringLiteral("Download fallito"), Toolkit::Icon::Stop, [this] { close(); });
        return;
    }
    say(QStringLiteral("Il giornale è stato scaricato con successo!"), QStringLiteral("Download Completato"),
        Toolkit::Icon::Exclamation, [this, issue = stored.value()] { openThenClose(issue); });
}

void FrmDownload::openThenClose(const DownloadedIssue& issue) {
    const Outcome<> opened = ApriScaricato(issue);
    if (opened) {
        close();
        return;
    }
    say(withReason(QStringLiteral("Il giornale non è stato aperto."), opened.reason()), QStringLiteral("Ondaris"),
        Toolkit::Icon::Stop, [this] { close(); });
}

// What the opening says goes in its own windows; here only what keeps it from starting.
Outcome<> FrmDownload::ApriScaricato(const DownloadedIssue& issue) {
    try {
        openInReader(issue);
        return Success();
    } catch (...) {
        return Failure{internalFailure(std::current_exception())};
    }
}
