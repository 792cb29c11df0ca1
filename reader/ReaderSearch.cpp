#include "ReaderSearch.h"

#include "FrmLeggiGiornale.h"
#include "platform/KeyAscii.h"
#include "platform/SharedState.h"
#include "platform/Toolkit.h"
#include "platform/Worker.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextCursor>

namespace {

QList<ArticleSearch::Hit> searchFolder(const QString& folder, const QString& word) {
    ArticleSearch::IssueScan scan(word);
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            scan.addFile(name, file.readAll());
    }
    return scan.hits();
}

} // namespace

ReaderSearch::ReaderSearch(FrmLeggiGiornale* reader) : QObject(reader), m_reader(reader) {
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), reader);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, &ReaderSearch::search);
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), reader);
    next->setContext(Qt::WindowShortcut);
    connect(next, &QShortcut::activated, this, &ReaderSearch::nextMatch);
    onKeyPress(reader->resultsList(), [this](int key) {
        if (key == kKeyEnter)
            openResult();
        else if (key == kKeyEsc)
            backToOrigin();
    });
}

void ReaderSearch::search() {
    using View = FrmLeggiGiornale::View;
    if (m_reader->view() == View::Newspaper)
        return;
    const QString word =
        Toolkit::current().askText(QStringLiteral("Parola da cercare:"), QStringLiteral("Cerca nel giornale"));
    if (ArticleSearch::fold(word.trimmed()).isEmpty())
        return;
    if (m_reader->view() != View::Results)
        m_origin = {static_cast<int>(m_reader->view()), m_reader->sectionList()->currentIndex(),
                    m_reader->contentsList()->currentIndex()};
    m_word = word.trimmed();
    runInWorker(
        this, [folder = SharedState::instance().PercorsoTemp, word = m_word] { return searchFolder(folder, word); },
        [this](const QList<ArticleSearch::Hit>& hits) { showResults(hits); });
}

void ReaderSearch::showResults(const QList<ArticleSearch::Hit>& hits) {
    if (hits.isEmpty()) {
        m_reader->announce(QStringLiteral("Nessun risultato per «%1»").arg(m_word));
        return;
    }
    m_hits = hits;
    QComboBox* results = m_reader->resultsList();
    results->clear();
    for (const ArticleSearch::Hit& hit : hits)
        results->addItem(QStringLiteral("%1 - %2: %3").arg(hit.section, hit.title, hit.context));
    m_reader->announce(hits.size() == 1 ? QStringLiteral("1 risultato")
                                        : QStringLiteral("%1 risultati").arg(hits.size()));
    m_reader->showView(FrmLeggiGiornale::View::Results);
    results->setCurrentIndex(0);
}

void ReaderSearch::openResult() {
    const int row = m_reader->resultsList()->currentIndex();
    if (row < 0 || row >= m_hits.size())
        return;
    const ArticleSearch::Hit& hit = m_hits.at(row);
    // The caret on the match, nothing selected: its line is read.
    if (m_reader->openArticleAt(hit.indexFile, hit.code, hit.offset, 0))
        m_reader->setArticleFromResults(true);
}

void ReaderSearch::nextMatch() {
    if (m_reader->view() != FrmLeggiGiornale::View::Article || m_word.isEmpty())
        return;
    QPlainTextEdit* text = m_reader->articleText();
    QList<qsizetype> at;
    const QString folded = ArticleSearch::fold(text->toPlainText(), &at);
    const QString word = ArticleSearch::fold(m_word);
    if (word.isEmpty())
        return;
    const QTextCursor now = text->textCursor();
    const qsizetype after = now.hasSelection() ? now.selectionStart() : now.position(); // past the caret
    for (qsizetype i = folded.indexOf(word); i >= 0; i = folded.indexOf(word, i + 1)) {
        if (at[i] > after) {
            QTextCursor cursor = text->textCursor();
            cursor.setPosition(static_cast<int>(at[i]));
            text->setTextCursor(cursor);
            return;
        }
    }
    m_reader->announce(QStringLiteral("Nessun'altra occorrenza nell'articolo"));
}

void ReaderSearch::backToOrigin() {
    using View = FrmLeggiGiornale::View;
    m_reader->setArticleFromResults(false);
    const auto view = static_cast<View>(m_origin.view);
    if (view == View::Sections || m_origin.section < 0) {
        m_reader->sectionList()->setCurrentIndex(std::max(0, m_origin.section));
        m_reader->showView(View::Sections);
        return;
    }
    if (!m_reader->openSection(m_origin.section, view == View::Contents))
        return;
    if (view == View::Contents)
        m_reader->contentsList()->setCurrentIndex(m_origin.entry);
    else
        m_reader->openArticle(m_origin.entry);
}
