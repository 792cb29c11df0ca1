#pragma once

#include "ArchiveLibrary.h"
#include "ArticleSearch.h"
#include "StoreSearchRunner.h"

#include <QWidget>

class Announcer;
class DelayedProgress;
class QComboBox;

// A word searched in every stored issue, newest issue first, the archives read as they are. Results come in as
// each archive is read: "<issue> - <section> - <title>: …words around…". Enter opens the issue at that article
// with the word selected; Esc returns to the main menu. A search that takes a while shows a progress window
// whose "Annulla" stops it, keeping the results found so far. The archives that cannot be read are counted and
// named beside the results.
class FrmCercaGiornali : public QWidget {
    Q_OBJECT

public:
    FrmCercaGiornali();
    void Form_Load(); // asks for the word, then searches

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Result {
        ArchiveLibrary::StoredIssue issue;
        ArticleSearch::Hit hit;
    };

    void search(const QString& word);
    void listed(const Outcome<QList<ArchiveLibrary::StoredIssue>>& issues);
    void addHits(int archive, const QList<ArticleSearch::Hit>& hits);
    void finish();
    void open();

    QComboBox* m_list;
    Announcer* m_status;
    QString m_word;
    QList<ArchiveLibrary::StoredIssue> m_issues;
    QList<Result> m_results;
    QStringList m_unreadable; // why each archive that could not be read
    StoreSearch::Runner* m_runner = nullptr;
    DelayedProgress* m_wait = nullptr;
    bool m_cancelled = false;
    bool m_tooMany = false;
};
