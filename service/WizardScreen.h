#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;

// What the three wizard screens share: a list on top, "A&nnulla" (left) and "&Avanti" (right) below it, Enter in
// the list as "&Avanti", Esc as the screen's step back, the hidden page buffer, and the service exchange that
// fills the list when the screen loads.
class WizardScreen : public QWidget {
    Q_OBJECT

protected:
    WizardScreen(const char* name, const QString& caption, const char* listName, const QString& listAccessibleName);

    // Fetches the page, keeps it in the buffer and returns the listing's entries.
    QStringList exchange(const QUrl& address, bool emptyWithoutEnd = false);

    virtual void CmdContinua_Click() = 0;
    virtual void stepBack() = 0; // Esc in the list

    void Command1_Click() { close(); }

    QComboBox* m_list;
    QPushButton* m_continua;
    QPushButton* m_command1;
    QString m_txtCodiceHTML; // never shown

private:
    void listKeyPress(int keyAscii);
};
