#include "FrmDownload.h"

#include "ArchiveFileName.h"
#include "FrmEdizione.h"
#include "ServiceAddress.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedState.h"
#include "platform/Toolkit.h"
#include "reader/Module1.h"
#include "reader/ReaderTitle.h"

#include <QComboBox>
#include <QDir>

namespace {

QString storedArchive(const QString& archiveName) {
    return ProgramFolder::join(QStringLiteral("Giornali")) + QDir::separator() + archiveFileName(archiveName);
}

} // namespace

FrmDownload::FrmDownload()
    : WizardScreen("FrmDownload", QStringLiteral("Scarica testata"), "CboGiornali",
                   QStringLiteral("Edizioni provinciali")) {}

// The provincial editions are asked for; a service that answers with the archive instead (an issue
// without editions) has it stored at once, not fetched a second time.
void FrmDownload::Form_Load() {
    const SharedState& shared = SharedState::instance();
    UrlRichiesta = ServiceAddress::editions(shared.NomeUtente, shared.PasswordUtente, shared.Testata, shared.Edizione);
    m_archiveName = shared.Testata + shared.Edizione;
    exchange(UrlRichiesta, ServiceRequest::Expect::PageOrArchive, storedArchive(m_archiveName),
             ReaderTitle::fromBaseName(m_archiveName));
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
    // No provincial editions: the same address gives the archive.
    SharedState& shared = SharedState::instance();
    shared.NomeScaricato = shared.Testata + shared.Edizione;
    ScaricaGiornale(shared.NomeScaricato);
}

void FrmDownload::CmdContinua_Click() {
    const QString edition = m_list->currentText();
    if (edition.isEmpty()) {
        Toolkit::current().message(QStringLiteral("Selezionare l'edizione!"),
                                   QStringLiteral("Seleziona edizione provinciale!"), Toolkit::Icon::Information);
        return;
    }
    SharedState& shared = SharedState::instance();
    UrlRichiesta = ServiceAddress::editionArchive(shared.NomeUtente, shared.PasswordUtente, shared.Testata,
                                                  shared.Edizione, edition);
    shared.NomeScaricato = shared.Testata + shared.Edizione + edition;
    ScaricaGiornale(shared.NomeScaricato);
}

void FrmDownload::stepBack() {
    stepTo<FrmEdizione>();
}

void FrmDownload::ScaricaGiornale(const QString& archiveName) {
    if (UrlRichiesta.isEmpty())
        return;
    m_archiveName = archiveName;
    exchange(UrlRichiesta, ServiceRequest::Expect::Archive, storedArchive(archiveName),
             ReaderTitle::fromBaseName(archiveName));
}

// Every download ends here, stored or not, and closes the screen: after a success the reader stays open, after a
// failure the user is back on the main menu.
void FrmDownload::archiveArrived(const Outcome<>& stored) {
    takeOver();
    SharedState::instance().NomeScaricato = m_archiveName;
    if (stored) {
        Toolkit::current().message(QStringLiteral("Il giornale è stato scaricato con successo!"),
                                   QStringLiteral("Download Completato"), Toolkit::Icon::Exclamation);
        ApriScaricato();
    } else {
        Toolkit::current().message(withReason(QStringLiteral("Il giornale non è stato scaricato!"), stored.reason()),
                                   QStringLiteral("Download fallito"), Toolkit::Icon::Stop);
    }
    close();
}

// The opening empties the extraction folder first (when it is the program's own); a failure of the opening
// itself ends it silently.
void FrmDownload::ApriScaricato() {
    try {
        Module1::ApriArchivio(storedArchive(SharedState::instance().NomeScaricato));
    } catch (...) {
    }
}
