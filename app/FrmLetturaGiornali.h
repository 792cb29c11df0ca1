#pragma once

#include "ProfileErrors.h"

#include <QWidget>

class FrmConfigurazione;
class QLabel;
class QPushButton;

// The main menu, shown at start-up: download an issue, read an archive, edit the profile, leave; the library and
// its search; the subscriptions and the newest issue they brought.
class FrmLetturaGiornali : public QWidget {
    Q_OBJECT

public:
    FrmLetturaGiornali();

    // Reads the last line of the credential file and enables the reading and download actions only when it is
    // a profile; a line without "--" is repaired. Run at load and again after each save of the profile.
    void Form_Load();

    // The last credential line the load read (the hidden label's caption).
    QString lblaccesso() const;

    // After a save of the profile the focus goes to "Preleva giornale".
    void focusPrelevaGiornale();

private:
    void CmdPrelevaGiornale_Click();
    void CmdLeggiGiornale_Click();
    void CmdConfigurazione_Click();
    void CmdEsci_Click();
    void CmdGiornaliScaricati_Click();
    void CmdCercaGiornali_Click();
    void applyCredentialLine(const QString& line);
    FrmConfigurazione& profileScreen(bool shown);
    void reportOnceShown(ProfileStep step, const QString& reason);

    QPushButton* m_prelevaGiornale;
    QPushButton* m_leggiGiornale;
    QPushButton* m_configurazione;
    QPushButton* m_esci;
    QPushButton* m_giornaliScaricati;
    QPushButton* m_cercaGiornali;
    QPushButton* m_mieiGiornali;
    QPushButton* m_giornaleDiOggi;
    // The last credential line the load read. A string, not a hidden label: a label's text is open to every
    // accessibility client, and this line holds the password.
    QString m_lblaccesso;
    QLabel* m_label1;
};
