#pragma once

#include "WizardScreen.h"

#include <QUrl>

// Last step: the provincial editions of the chosen issue, or, with none, the issue itself downloaded at once;
// then the archive is stored in "Giornali" and opened in the reader.
class FrmDownload : public WizardScreen {
    Q_OBJECT

public:
    FrmDownload();
    void Form_Load();

    // Downloads UrlRichiesta as the archive of that name; the report, the opening on success and the closing of
    // the screen follow when it ends.
    void ScaricaGiornale(const QString& archiveName);
    void ApriScaricato();

    QUrl UrlRichiesta;

protected:
    void listingArrived(const Outcome<QStringList>& entries) override;
    void archiveArrived(const Outcome<>& stored) override;
    void CmdContinua_Click() override;
    void stepBack() override;

private:
    QString m_archiveName; // the archive being downloaded
};
