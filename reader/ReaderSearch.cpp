#include "ReaderSearch.h"

#include "NewspaperStructure.h"
#include "ReaderTasks.h"
#include "platform/KeyAscii.h"
#include "platform/Toolkit.h"
#include "platform/Worker.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextCursor>
#include <QWidget>

namespace {

using View = ReaderScreen::View;

constexpr qsizetype kNamedUnreadable = 3;

// Runs in a worker. Files that cannot be read, and folders in the place of a text file, are passed over, and named.
Outcome<FolderHits> searchFolder(const QString& folder, const QString& word) {
    ArticleSearch::IssueScan scan(word);
    const QDir dir(folder);
    if (!dir.exists())
        return Failure{QStringLiteral("la cartella «%1» non esiste").arg(QDir::toNativeSeparators(folder))};
    FolderHits found;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
                found.unreadable.append(name);
            continue;
        }
        QFile file(entry.filePath());
        if (file.open(QIODevice::ReadOnly))
            scan.addFile(name, file.readAll());
        else
            found.unreadable.append(name);
    }
    found.hits = scan.hits();
    return found;
}

// "; 2 file non leggibili: «a.txt», «b.txt»", the first few named, or nothing.
QString unreadableText(const QStringList& files) {
    if (files.isEmpty())
        return {};
    QStringList named;
    for (const QString& file : files.mid(0, kNamedUnreadable))
        named << QStringLiteral("«%1»").arg(file);
    if (files.size() > kNamedUnreadable)
        named << QStringLiteral("e altri %1").arg(files.size() - kNamedUnreadable);
    return (files.size() == 1 ? QStringLiteral("; 1 file non leggibile: ")
                              : QStringLiteral("; %1 file non leggibili: ").arg(files.size())) +
           named.join(QStringLiteral(", "));
}

} // namespace

ReaderSearch::ReaderSearch(QWidget* window, ReaderScreen& screen)
    : QObject(window), m_window(window), m_screen(screen) {
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), window);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, &ReaderSearch::search);
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), window);
    next->setContext(Qt::WindowShortcut);
    connect(next, &QShortcut::activated, this, &ReaderSearch::nextMatch);
    onKeyPress(screen.resultsList(), [this](int key) {
        if (key == kKeyEnter)
            openResult();
        else if (key == kKeyEsc)
            backToOrigin();
    });
}

void ReaderSearch::search() {
    if (m_screen.view() == View::Newspaper)
        return;
    Toolkit::current().askText(m_window, QStringLiteral("Parola da cercare:"), QStringLiteral("Cerca nel giornale"),
                               [this](const QString& word) { searchFor(word); });
}

void ReaderSearch::searchFor(const QString& typed) {
    const QString word = typed.trimmed();
    if (ArticleSearch::fold(word).isEmpty())
        return;
    if (m_screen.view() != View::Results)
        m_origin = {m_screen.view(), m_screen.sectionList()->currentIndex(), m_screen.contentsList()->currentIndex()};
    const quint64 generation = ++m_generation;
    const QString folder = m_screen.folder();
    runInWorker(
        this, [folder, word] { return searchFolder(folder, word); },
        [this, generation, folder, word](const Outcome<FolderHits>& hits) {
            // A later search has taken its place, or another issue has been opened meanwhile.
            if (generation == m_generation && folder == m_screen.folder())
                showResults(word, hits);
        });
}

void ReaderSearch::showResults(const QString& word, const Outcome<FolderHits>& found) {
    if (!found) {
        m_screen.reportUnreadable(QStringLiteral("Il giornale non si può cercare."), found.reason());
        return;
    }
    m_word = word;
    const QString unreadable = unreadableText(found.value().unreadable);
    if (found.value().hits.isEmpty()) {
        m_screen.announce(QStringLiteral("Nessun risultato per «%1»").arg(word) + unreadable);
        return;
    }
    m_hits = found.value().hits;
    QComboBox* results = m_screen.resultsList();
    results->clear();
    for (const ArticleSearch::Hit& hit : std::as_const(m_hits))
        results->addItem(QStringLiteral("%1 - %2: %3").arg(hit.section, hit.title, hit.context));
    m_screen.announce(
        (m_hits.size() == 1 ? QStringLiteral("1 risultato") : QStringLiteral("%1 risultati").arg(m_hits.size())) +
        unreadable);
    m_screen.showView(View::Results);
    results->setCurrentIndex(0);
}

void ReaderSearch::openResult() {
    const int row = m_screen.resultsList()->currentIndex();
    if (row < 0 || row >= m_hits.size())
        return;
    const ArticleSearch::Hit& hit = m_hits.at(row);
    // The caret on the match, nothing selected: its line is read.
    m_screen.openArticleAt({hit.indexFile, hit.code, hit.offset, 0}, true);
}

void ReaderSearch::nextMatch() {
    if (m_screen.view() != View::Article || m_word.isEmpty())
        return;
    QPlainTextEdit* text = m_screen.articleText();
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
    m_screen.announce(QStringLiteral("Nessun'altra occorrenza nell'articolo"));
}

// The section view at once; the contents or the article once the section's index has been read again.
void ReaderSearch::backToOrigin() {
    const Origin origin = m_origin;
    if (origin.view == View::Sections || origin.section < 0) {
        m_screen.sectionList()->setCurrentIndex(std::max(0, origin.section));
        m_screen.showView(View::Sections);
        return;
    }
    m_screen.tasks().run(
        QStringLiteral("Lettura della sezione…"),
        [path = m_screen.sectionIndexPath(origin.section)] { return NewspaperStructure::CaricaSommario(path); },
        [this, origin](const Outcome<QStringList>& contents) {
            if (!contents) {
                m_screen.reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."),
                                          contents.reason());
                return;
            }
            const bool toContents = origin.view == View::Contents;
            m_screen.showSection(origin.section, contents.value(), toContents);
            if (toContents)
                m_screen.contentsList()->setCurrentIndex(origin.entry);
            else
                m_screen.openArticle(origin.entry);
        });
}
