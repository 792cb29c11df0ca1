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

    // Downloads UrlRichiesta as the archive of that name, reports, opens it on success, and closes the screen.
    void ScaricaGiornale(const QString& archiveName);
    void ApriScaricato();

    QUrl UrlRichiesta;

protected:
    void CmdContinua_Click() override;
    void stepBack() override;
};
