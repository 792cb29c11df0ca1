#pragma once

#include "platform/Outcome.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;

// The profile screen: user name and password for the service, saved when the screen closes.
class FrmConfigurazione : public QWidget {
    Q_OBJECT

public:
    FrmConfigurazione();

    // Fills the two fields from the profile in use.
    void Form_Load();

    // Replaces the credential file with the single line built from the two fields.
    Outcome<> EliminaAccesso();

    // The window that opened the screen: it knows the last credential line it read, gets the focus and the boxes
    // once the screen closes, and is refreshed after a save. Without one, the file itself is asked.
    struct Opener {
        QPointer<QWidget> window;
        std::function<QString()> lastLine;
        std::function<void()> refresh;
    };
    void setOpener(Opener opener) { m_opener = std::move(opener); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CmdSalvaCredenziali_Click();
    void CmdAnnulla_Click();
    void Form_Unload();
    void saveProfile(const QString& userName, const QString& password);

    QLineEdit* m_utente;
    QLineEdit* m_password;
    QPushButton* m_salva;
    QPushButton* m_annulla;
    QString m_scelta;
    Opener m_opener;
};
