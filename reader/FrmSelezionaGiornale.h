#pragma once

#include <QWidget>
#include <optional>

class QLineEdit;
class QPushButton;

// The archive chooser: never shown itself, it asks for a ZIP file with the file-open dialog, takes the file's
// base name as the newspaper's name and opens the archive. Every failure ends it silently, with nothing opened.
class FrmSelezionaGiornale : public QWidget {
    Q_OBJECT

public:
    FrmSelezionaGiornale();

    void Form_Load() {}

    // Called by the main menu's "Leggi giornale".
    void Command1_Click();
    void RilevaPercorso();

    // The file name after the last folder separator, without its last four characters; nothing when the name is
    // shorter than four characters.
    static std::optional<QString> nomeGiornale(const QString& path);

private:
    QPushButton* m_command1;
    QLineEdit* m_txtPercorso;
    QLineEdit* m_txtGiornale;
};
