#include "Module1.h"

#include "FrmLeggiGiornale.h"
#include "ReaderTitle.h"
#include "platform/KeyAscii.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/SharedState.h"
#include "platform/Toolkit.h"
#include "unzip/CGUnzipFiles.h"

namespace Module1 {

void ApriArchivio(const QString& archivePath) {
    const QString temp = ProgramFolder::join(QStringLiteral("Temp"));
    {
        CGUnzipFiles job;
        job.setZipFileName(archivePath);
        job.setExtractDir(temp);
        job.setHonorDirectories(true);
        if (job.Unzip(QString(), QString()) != 0) {
            Toolkit::current().message(
                QStringLiteral("Problemi con la decompressione, l'archivio potrebbe essere danneggiato!"),
                QStringLiteral("Ondaris"), Toolkit::Icon::Information);
        }
    }
    SharedState& shared = SharedState::instance();
    shared.PercorsoTemp = temp;

    FrmLeggiGiornale& reader = Screen<FrmLeggiGiornale>::show();
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
}

} // namespace Module1
