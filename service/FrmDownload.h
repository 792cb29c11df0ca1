#pragma once

#include "WizardScreen.h"

#include <QUrl>

// Last step: the provincial editions of the chosen issue, or, with none, the issue itself downloaded at once;
// then the archive is stored in "Giornali" and opened in the reader.
class FrmDownload : public WizardScreen {
    Q_OBJECT

public:
    FrmDownload();

    // Downloads UrlRichiesta as the archive of that name; the report, the opening on success and the closing of
    // the screen follow when it ends.
    void ScaricaGiornale(const QString& archiveName);
    // Opens the stored archive in the reader (which empties the extraction folder first).
    Outcome<> ApriScaricato(const DownloadedIssue& issue);

    QUrl UrlRichiesta;

protected:
    void startExchange() override;
    void listingArrived(const Outcome<QStringList>& entries) override;
    void archiveArrived(const Outcome<DownloadedIssue>& stored) override;
    void CmdContinua_Click() override;
    void stepBack() override { stepTo(WizardSteps::Step::Dates); }

private:
    void openThenClose(const DownloadedIssue& issue);
};
