#include "ArticleDocument.h"
#include "FrmLeggiGiornale.h"
#include "NewspaperStructure.h"
#include "ReaderTasks.h"
#include "ReadingStore.h"
#include "ReadingVoice.h"
#include "TalkingBook.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

// The reader as the reading voice leads it: the article the voice comes to, shown without being read out to a
// screen reader, and the sentence being said, marked and kept in view.

namespace {

constexpr int kQuietFocusMs = 600;

} // namespace

// The voice's article is shown as it comes, the caret left where it is, so a screen reader hears nothing of it
// while the voice reads; only the first article shown from a list takes the focus to the text.
void FrmLeggiGiornale::followReading(int section, const QStringList& contents, int entry) {
    if (m_titolo->currentIndex() != section || m_sommario->count() != contents.size())
        showSection(section, contents, false);
    m_sommario->setCurrentIndex(entry);
    m_spoken.reset();
    m_documentComing = true;
    const QString path = NewspaperStructure::articlePath(m_folder, m_titolo->itemText(section), contents.value(entry));
    m_tasks->run(
        QStringLiteral("Apertura dell'articolo…"),
        [path, windowThread = thread()] { return ArticleDocument::load(path, windowThread); },
        [this, path](const Outcome<ArticleDocument>& article) {
            if (!article) {
                m_documentComing = false;
                reportUnreadable(QStringLiteral("L'articolo non si può mostrare."), article.reason());
                return;
            }
            NomeNotepad = path;
            m_followingVoice = true;
            const quint64 shown = ++m_followed;
            m_documentComing = true;
            const auto show = [this, shown, document = article.value()] {
                if (shown != m_followed || !m_followingVoice)
                    return;
                m_documentComing = false;
                setArticleDocument(document);
                showHighlight();
            };
            if (m_view == View::Article) {
                show();
                return;
            }
            // The text takes the focus empty, so a screen reader names it without reading what the voice reads;
            // its words come once the screen reader has done.
            m_testo->setExtraSelections({});
            m_testo->document()->setPlainText(QString());
            showView(View::Article);
            m_articleFromResults = false;
            QTimer::singleShot(kQuietFocusMs, this, show);
        });
}

void FrmLeggiGiornale::highlightSpoken(qsizetype start, qsizetype length) {
    m_spoken = Selection{start, length};
    showHighlight();
}

// The sentence said is marked, not selected (a selection would be read out by a screen reader), and scrolled into
// view when it is out of it.
void FrmLeggiGiornale::showHighlight() {
    if (m_documentComing)
        return; // the sentence is marked once its article is there
    if (!m_followingVoice || !m_spoken) {
        m_testo->setExtraSelections({});
        return;
    }
    const qsizetype start = m_breaks.shown(m_spoken->offset);
    const qsizetype end = m_breaks.shown(m_spoken->offset + m_spoken->length);
    QTextEdit::ExtraSelection spoken;
    spoken.cursor = QTextCursor(m_testo->document());
    spoken.cursor.setPosition(static_cast<int>(start));
    spoken.cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    spoken.format.setBackground(palette().color(QPalette::Highlight));
    spoken.format.setForeground(palette().color(QPalette::HighlightedText));
    m_testo->setExtraSelections({spoken});
    const QTextBlock block = m_testo->document()->findBlock(static_cast<int>(start));
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0)
        line += layout->lineForTextPosition(static_cast<int>(start) - block.position()).lineNumber();
    QScrollBar* scroll = m_testo->verticalScrollBar();
    const int visibleLines = std::max(1, m_testo->viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    if (line < scroll->value() || line >= scroll->value() + visibleLines - 1)
        scroll->setValue(std::max(0, line - 1));
}

void FrmLeggiGiornale::markArticleRead(int entry) {
    m_book->articleOpened(entry);
}

qsizetype FrmLeggiGiornale::caretInArticle() const {
    return m_breaks.joined(m_testo->textCursor().position());
}

bool FrmLeggiGiornale::readAloudFrom(int section, int entry, qsizetype offset) {
    if (offset == std::numeric_limits<int>::max()) // read to its end: the next article
        return m_voice->readFrom(section, entry + 1, ReadAloud::kTitle, false);
    return m_voice->readFrom(section, entry, offset == ReadingStore::kSpokenTitle ? ReadAloud::kTitle : offset, false);
}
