#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

class Announcer;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The reader: one window whose stacked views are walked with Enter (one level down) and Esc (one level up):
// newspaper list, section list, a section's table of contents, the text of one article.
class FrmLeggiGiornale : public QWidget {
    Q_OBJECT

public:
    enum class View { Newspaper, Sections, Contents, Article, Results };

    FrmLeggiGiornale();

    void Form_Load();

    // Enter scans the extraction folder into the section list; the archive opener sends it after each extraction.
    void CboElencoGiornali_KeyPress(int keyAscii);

    // The full path of the article most recently loaded, as it was built.
    QString NomeNotepad;

    // The issue on show, by its archive's base name: where its reading is kept.
    void setIssueKey(const QString& key) { m_issueKey = key; }
    QString issueKey() const { return m_issueKey; }

    View view() const { return m_view; }
    QComboBox* sectionList() const { return m_titolo; }
    QComboBox* contentsList() const { return m_sommario; }
    QComboBox* resultsList() const { return m_risultati; }
    QPlainTextEdit* articleText() const { return m_testo; }
    void showView(View view);
    // An article opened from a search's results goes back to them with Esc.
    void setArticleFromResults(bool fromResults) { m_articleFromResults = fromResults; }

    // The lines of a section's index. Throws FileError.
    QStringList sectionContents(int section) const;
    // The section's index file name, which no other section shares.
    QString sectionIndexFile(int section) const { return m_lstNomeFile.value(section); }
    // Selects the section and loads its contents as Enter in the section list does; shown with show, else loaded
    // behind the view on screen. False when they cannot be read (the reader has said so).
    bool openSection(int section, bool show = true);
    // Selects the entry of the loaded contents and opens its article as Enter in the contents does.
    void openArticle(int entry);

    // The next article opened gets this stretch of its text selected, with the caret on it, in place of the whole
    // text (a search's match).
    void selectOnOpening(qsizetype offset, qsizetype length) { m_pendingSelection = {offset, length}; }

    // Opens the article of that code in the section of that index file, with the stretch selected as
    // selectOnOpening() does; false when there is no such article.
    bool openArticleAt(const QString& indexFile, const QString& code, qsizetype offset, qsizetype length);

    // Says something in the reader's status line, which a screen reader speaks without the focus moving.
    void announce(const QString& text);

signals:
    void contentsLoaded();
    void articleOpened(int entry);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CaricaElencoGiornali();
    void RilevaStruttura(const QString& folder);
    void CboTitolo_KeyPress(int keyAscii);
    void CboSommario_KeyPress(int keyAscii);
    void Testo_KeyPress(int keyAscii);
    void Timer1_Timer();
    void CmdAprifile_Click();
    void reportUnreadable(const QString& message);

    QComboBox* m_elencoGiornali;
    QComboBox* m_titolo;
    QComboBox* m_sommario;
    QComboBox* m_risultati;
    bool m_articleFromResults = false;
    QStringList m_lstNomeFile; // index file names, parallel to the section list
    QPlainTextEdit* m_testo;
    QPushButton* m_aprifile;
    QTimer* m_timer1;
    Announcer* m_status;
    View m_view = View::Newspaper;
    QString m_issueKey;
    std::optional<std::pair<qsizetype, qsizetype>> m_pendingSelection;
};
