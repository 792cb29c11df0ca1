#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The reader: one window whose stacked views are walked with Enter (one level down) and Esc (one level up):
// newspaper list, section list, a section's table of contents, the text of one article.
class FrmLeggiGiornale : public QWidget {
    Q_OBJECT

public:
    FrmLeggiGiornale();

    void Form_Load();

    // Enter scans the extraction folder into the section list; the archive opener sends it after each extraction.
    void CboElencoGiornali_KeyPress(int keyAscii);

    // The full path of the article most recently loaded, as it was built.
    QString NomeNotepad;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class View { Newspaper, Sections, Contents, Article };

    void CaricaElencoGiornali();
    void RilevaStruttura(const QString& folder);
    void CboTitolo_KeyPress(int keyAscii);
    void CboSommario_KeyPress(int keyAscii);
    void Testo_KeyPress(int keyAscii);
    void Timer1_Timer();
    void CmdAprifile_Click();
    void showView(View view);
    void reportUnreadable(const QString& message);

    QComboBox* m_elencoGiornali;
    QComboBox* m_titolo;
    QComboBox* m_sommario;
    QStringList m_lstNomeFile; // index file names, parallel to the section list
    QPlainTextEdit* m_testo;
    QPushButton* m_aprifile;
    QTimer* m_timer1;
};
