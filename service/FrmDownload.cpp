#include "FrmDownload.h"

#include "ArchiveDownload.h"
#include "ArchiveFileName.h"
#include "FrmEdizione.h"
#include "ServiceAddress.h"
#include "app/SharedState.h"
#include "platform/FileError.h"
#include "platform/Folders.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
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

void FrmDownload::Form_Load() {
    SharedState& shared = SharedState::instance();
    UrlRichiesta = ServiceAddress::editions(shared.NomeUtente, shared.PasswordUtente, shared.Testata, shared.Edizione);
    m_list->addItems(exchange(UrlRichiesta, true));
    if (m_list->count() > 0) {
        m_list->setCurrentIndex(0);
        m_list->setFocus();
        return;
    }
    // No provincial editions: the same address gives the archive.
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
    Screen<FrmEdizione>::show();
    close();
}

void FrmDownload::ScaricaGiornale(const QString& archiveName) {
    if (UrlRichiesta.isEmpty())
        return;
    const ArchiveDownload::Result result = ArchiveDownload::URLDownloadToFile(UrlRichiesta, storedArchive(archiveName),
                                                                              ReaderTitle::fromBaseName(archiveName));
    if (result.ok) {
        Toolkit::current().message(QStringLiteral("Il giornale è stato scaricato con successo!"),
                                   QStringLiteral("Download Completato"), Toolkit::Icon::Exclamation);
        ApriScaricato();
    } else {
        Toolkit::current().message(QStringLiteral("Il giornale non è stato scaricato!"),
                                   QStringLiteral("Download fallito"), Toolkit::Icon::Stop);
    }
    close();
}

// Each step that fails is passed over; a failure of the opening itself ends it silently.
void FrmDownload::ApriScaricato() {
    try {
        Folders::deleteFolder(ProgramFolder::join(QStringLiteral("Temp")));
    } catch (const FileError&) {
    }
    try {
        Module1::ApriArchivio(storedArchive(SharedState::instance().NomeScaricato));
    } catch (...) {
    }
}
