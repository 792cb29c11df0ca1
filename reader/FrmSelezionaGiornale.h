#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// The archive chooser: never shown itself, it asks for a ZIP file with the file-open dialog and opens the archive,
// titled by the file's name. A name too short to be an archive's is said; a cancelled dialog opens nothing.
class FrmSelezionaGiornale : public QWidget {
    Q_OBJECT

public:
    FrmSelezionaGiornale();

    void Form_Load() {}

    // Called by the main menu's "Leggi giornale".
    void Command1_Click();
    void RilevaPercorso();

private:
    void pathChosen(const QString& path);

    QPushButton* m_command1;
    QLineEdit* m_txtPercorso;
    QLineEdit* m_txtGiornale;
    QObject* m_answers; // the dialog's context: not a window, so the dialog goes over the one in front
};
