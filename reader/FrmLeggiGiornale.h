#pragma once

#include "ArticleParagraphs.h"
#include "ArticleTarget.h"
#include "ReaderScreen.h"
#include "platform/Outcome.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class Announcer;
class ArticleDocument;
class DelayedProgress;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class ReadingVoice;
class TalkingBook;
namespace NewspaperStructure {
struct Section;
}

// The reader: one window whose stacked views are walked with Enter (one level down) and Esc (one level up):
// newspaper list, section list, a section's table of contents, the text of one article. Every file it reads
// (the folder, an index, an article) is read in a worker; the view changes when the reading has come back.
class FrmLeggiGiornale : public QWidget, public ReaderScreen {
    Q_OBJECT

public:
    FrmLeggiGiornale();
    ~FrmLeggiGiornale() override;

    void Form_Load();

    // Shows the issue extracted in the folder: the window takes the title, the folder is scanned and its sections
    // shown, then the target's article opened when there is one. With no newspaper in the folder, or a folder
    // that cannot be read, the reader says so and closes (the main menu comes back).
    void openIssue(const QString& folder, const QString& title, const QString& issueKey,
                   const std::optional<ArticleTarget>& target);

    // Another issue is about to be extracted into this one's folder: what is being read of it is dropped, as its
    // files are going (a late failure to read them would be said over the new issue).
    void leaveIssue();

    // What Ctrl+E does with the issue on show (the export's screen lives above the reader).
    using ExportAction =
        std::function<void(QWidget* reader, const QString& folder, const QString& title, const QString& key)>;
    static void setExportAction(ExportAction action);

    // Enter scans the issue's folder again into the section list.
    void CboElencoGiornali_KeyPress(int keyAscii);

    // The full path of the article most recently loaded, as it was built.
    QString NomeNotepad;

    // ReaderScreen
    View view() const override { return m_view; }
    QComboBox* sectionList() const override { return m_titolo; }
    QComboBox* contentsList() const override { return m_sommario; }
    QComboBox* resultsList() const override { return m_risultati; }
    QPlainTextEdit* articleText() const override { return m_testo; }
    void showView(View view) override;
    QString title() const override { return windowTitle(); }
    QString folder() const override { return m_folder; }
    QString issueKey() const override { return m_issueKey; }
    QString sectionIndexFile(int section) const override { return m_lstNomeFile.value(section); }
    QString sectionIndexPath(int section) const override;
    ReaderTasks& tasks() override { return *m_tasks; }
    void showSection(int section, const QStringList& contents, bool show) override;
    void openArticle(int entry) override;
    void openArticleAt(const ArticleTarget& target, bool fromResults) override;
    void followReading(int section, const QStringList& contents, int entry) override;
    void highlightSpoken(qsizetype start, qsizetype length) override;
    void markArticleRead(int entry) override;
    qsizetype caretInArticle() const override;
    bool readAloudFrom(int section, int entry, qsizetype offset) override;
    void announce(const QString& text) override;
    void reportUnreadable(const QString& message, const QString& reason) override;

    // The folder scan is under way.
    bool isScanning() const { return m_scanWait != nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Selection {
        qsizetype offset = 0;
        qsizetype length = 0;
    };

    void CaricaElencoGiornali();
    void RilevaStruttura(const QString& folder, const QString& issueKey);
    void showSections(const Outcome<QList<NewspaperStructure::Section>>& sections);
    void CboTitolo_KeyPress(int keyAscii);
    void CboSommario_KeyPress(int keyAscii);
    void Testo_KeyPress(int keyAscii);
    void Timer1_Timer();
    void CmdAprifile_Click();
    void openSection(int section);
    void openEntry(int entry, std::optional<Selection> selection, bool fromResults);
    void showArticle(int entry, const QString& path, const ArticleDocument& article, std::optional<Selection> selection,
                     bool fromResults);
    void setArticleDocument(const ArticleDocument& article);
    void showHighlight();

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
    ReaderTasks* m_tasks;
    TalkingBook* m_book;
    ReadingVoice* m_voice;
    ArticleParagraphs m_breaks;        // of the article on show
    bool m_documentComing = false;     // the voice's article is on its way to the text
    bool m_followingVoice = false;     // the article on show is the one the voice reads
    quint64 m_followed = 0;            // of the latest article the voice came to
    std::optional<Selection> m_spoken; // the stretch the voice is saying, in the joined text
    View m_view = View::Newspaper;
    QString m_folder;
    QString m_issueKey;
    std::optional<ArticleTarget> m_target; // opened once the sections are shown
    std::optional<Selection> m_pendingSelection;
    quint64 m_scan = 0; // of the latest scan started
    std::unique_ptr<DelayedProgress> m_scanWait;
};
