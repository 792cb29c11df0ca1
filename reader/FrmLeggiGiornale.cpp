#include "FrmLeggiGiornale.h"

#include "ArticleDocument.h"
#include "NewspaperStructure.h"
#include "ReaderSearch.h"
#include "ReaderTasks.h"
#include "ReadingStore.h"
#include "ReadingVoice.h"
#include "TalkingBook.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/CurrentProfile.h"
#include "platform/DelayedProgress.h"
#include "platform/KeyAscii.h"
#include "platform/MainMenu.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"
#include "platform/TextEditor.h"
#include "platform/Toolkit.h"
#include "platform/Twips.h"
#include "platform/WindowZoom.h"
#include "platform/Worker.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {

const QString kTitle = QStringLiteral("Ondaris");

FrmLeggiGiornale::ExportAction& exportAction() {
    static FrmLeggiGiornale::ExportAction action;
    return action;
}

QComboBox* list(QWidget* parent, const char* name, const QString& accessibleName, const QRect& geometry) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setGeometry(geometry);
    nameList(combo, accessibleName);
    return combo;
}

} // namespace

FrmLeggiGiornale::FrmLeggiGiornale()
    : m_elencoGiornali(
          list(this, "CboElencoGiornali", QStringLiteral("Elenco giornali"), twipsRect(3720, 120, 8295, 315))),
      m_titolo(list(this, "CboTitolo", QStringLiteral("Sezioni"), twipsRect(0, 0, 13335, 315))),
      m_sommario(list(this, "CboSommario", QStringLiteral("Sommario"), twipsRect(0, 0, 13335, 315))),
      m_risultati(list(this, "CboRisultati", QStringLiteral("Risultati della ricerca"), twipsRect(0, 0, 13335, 315))),
      m_testo(new QPlainTextEdit(this)), m_aprifile(new QPushButton(this)), m_timer1(new QTimer(this)),
      m_status(new Announcer(this)), m_tasks(new ReaderTasks(this)), m_book(new TalkingBook(this, *this)),
      m_voice(new ReadingVoice(this, *this, ProgramFolder::join(QStringLiteral("impostazioni.ini")))) {
    setObjectName(QStringLiteral("FrmLeggiGiornale"));
    setFixedSize(twips(13320), twips(7785));

    m_testo->setObjectName(QStringLiteral("Testo"));
    m_testo->setAccessibleName(QStringLiteral("Testo dell'articolo"));
    m_testo->setGeometry(twipsRect(0, 0, 13335, 6015));
    m_testo->setReadOnly(true);
    m_testo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse); // a caret to read by
    m_testo->setTabChangesFocus(true);
    m_testo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_testo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_aprifile->setObjectName(QStringLiteral("CmdAprifile"));
    setCaption(m_aprifile, QStringLiteral("Leggi con Notepad"));
    m_aprifile->setGeometry(twipsRect(10320, 6480, 2655, 375));

    m_status->setGeometry(twipsRect(120, 6960, 13080, 720));
    // Zoomed past the screen, the article's text gives up room: the lists keep their height, the button its width.
    WindowZoom::setElasticBand(this,
                               QRect(twips(120), twips(315), twips(10320) - twips(120), twips(6015) - twips(315)));

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(300);
    m_timer1->setSingleShot(true);

    setTabOrder(m_titolo, m_sommario);
    setTabOrder(m_sommario, m_testo);
    setTabOrder(m_testo, m_aprifile);
    setTabOrder(m_aprifile, m_elencoGiornali);

    m_sommario->hide();
    m_risultati->hide();
    m_testo->hide();
    m_aprifile->hide();

    onKeyPress(m_elencoGiornali, [this](int key) { CboElencoGiornali_KeyPress(key); });
    onKeyPress(m_titolo, [this](int key) { CboTitolo_KeyPress(key); });
    onKeyPress(m_sommario, [this](int key) { CboSommario_KeyPress(key); });
    onKeyPress(m_testo, [this](int key) { Testo_KeyPress(key); });
    connect(m_timer1, &QTimer::timeout, this, &FrmLeggiGiornale::Timer1_Timer);
    connect(m_aprifile, &QPushButton::clicked, this, &FrmLeggiGiornale::CmdAprifile_Click);
    new ReaderSearch(this, *this);
    auto* exportKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
    connect(exportKey, &QShortcut::activated, this, [this] {
        if (m_issueKey.isEmpty() || !exportAction())
            announce(QStringLiteral("Nessun giornale da esportare."));
        else
            exportAction()(this, m_folder, title(), m_issueKey);
    });
    ReadingStore::current(); // read beside the window from now on
}

FrmLeggiGiornale::~FrmLeggiGiornale() = default;

void FrmLeggiGiornale::setExportAction(ExportAction action) {
    exportAction() = std::move(action);
}

void FrmLeggiGiornale::Form_Load() {
    CaricaElencoGiornali();
    m_titolo->setFocus();
}

void FrmLeggiGiornale::CaricaElencoGiornali() {
    m_elencoGiornali->clear();
    m_elencoGiornali->addItem(QStringLiteral("Temp"));
    m_elencoGiornali->setCurrentIndex(0);
}

void FrmLeggiGiornale::leaveIssue() {
    m_voice->leaveIssue();
    m_tasks->supersede();
    ++m_scan;
    m_scanWait.reset();
}

void FrmLeggiGiornale::openIssue(const QString& folder, const QString& title, const QString& issueKey,
                                 const std::optional<ArticleTarget>& target) {
    setWindowTitle(title);
    m_target = target;
    RilevaStruttura(folder, issueKey);
}

void FrmLeggiGiornale::CboElencoGiornali_KeyPress(int keyAscii) {
    if (keyAscii != kKeyEnter)
        return;
    RilevaStruttura(m_folder, m_issueKey);
}

// The sections on show stay usable while the folder is scanned; its result replaces them, and the issue they
// belong to.
void FrmLeggiGiornale::RilevaStruttura(const QString& folder, const QString& issueKey) {
    m_elencoGiornali->hide();
    m_status->clear();
    showView(View::Sections); // a reader already open in another view starts again from its sections
    const quint64 scan = ++m_scan;
    m_scanWait = std::make_unique<DelayedProgress>(QStringLiteral("Lettura del giornale…"), windowTitle(), [this] {
        ++m_scan;
        m_scanWait.release()->deleteLater(); // it is the one calling
        close();
    });
    runInWorker(
        this, [folder] { return NewspaperStructure::RilevaStruttura(folder); },
        [this, scan, folder, issueKey](const Outcome<QList<NewspaperStructure::Section>>& sections) {
            if (scan != m_scan)
                return;
            // The marks of what was read need the reading store, which is read beside the window too.
            ReadingStore::current().whenLoaded(this, [this, scan, folder, issueKey, sections] {
                if (scan != m_scan)
                    return;
                m_folder = folder;
                m_issueKey = issueKey;
                showSections(sections);
            });
        });
}

void FrmLeggiGiornale::showSections(const Outcome<QList<NewspaperStructure::Section>>& sections) {
    m_scanWait.reset();
    m_tasks->supersede();
    m_titolo->clear();
    m_lstNomeFile.clear();
    if (!sections) {
        Toolkit::current().message(this,
                                   withReason(QStringLiteral("Il giornale non si può leggere."), sections.reason()),
                                   kTitle, Toolkit::Icon::Stop, [this] { close(); }); // the main menu comes back
        return;
    }
    if (sections.value().isEmpty()) {
        Toolkit::current().message(
            this, QStringLiteral("Nel file selezionato non è stata rilevata nessuna struttura di giornale!"),
            QStringLiteral("Nessun giornale trovato"), Toolkit::Icon::Information, [this] { close(); });
        return;
    }
    showView(View::Sections);
    for (const NewspaperStructure::Section& section : sections.value()) {
        m_titolo->addItem(section.shownName);
        m_lstNomeFile.append(section.indexFile);
    }
    m_titolo->setCurrentIndex(0);
    if (const std::optional<ArticleTarget> target = std::exchange(m_target, std::nullopt))
        openArticleAt(*target, false);
}

void FrmLeggiGiornale::CboTitolo_KeyPress(int keyAscii) {
    const int position = m_titolo->currentIndex();
    if (keyAscii == kKeyEnter && position >= 0)
        openSection(position);
    else if (keyAscii == kKeyEsc)
        close(); // closing shows the main menu again
}

QString FrmLeggiGiornale::sectionIndexPath(int section) const {
    return NewspaperStructure::sectionIndexPath(m_folder, m_lstNomeFile.value(section));
}

void FrmLeggiGiornale::openSection(int section) {
    m_tasks->run(
        QStringLiteral("Lettura della sezione…"),
        [path = sectionIndexPath(section)] { return NewspaperStructure::CaricaSommario(path); },
        [this, section](const Outcome<QStringList>& contents) {
            if (!contents)
                reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."), contents.reason());
            else
                showSection(section, contents.value(), true);
        });
}

void FrmLeggiGiornale::showSection(int section, const QStringList& contents, bool show) {
    m_titolo->setCurrentIndex(section);
    m_sommario->clear();
    m_sommario->addItems(contents);
    if (show)
        showView(View::Contents);
    m_sommario->setCurrentIndex(0); // nothing to select when the index has no lines
    m_book->markLoadedContents();
}

void FrmLeggiGiornale::openArticle(int entry) {
    openEntry(entry, std::nullopt, false);
}

// From an article to another, the text keeps the focus and is presented anew when the next one arrives, where
// screen readers can be told so; elsewhere the focus goes as Esc, an arrow and Enter would take it: through the
// contents, which speak the entry, to the text, which is named before it is read.
void FrmLeggiGiornale::openEntry(int entry, std::optional<Selection> selection, bool fromResults) {
    if (m_view == View::Article && !replacesAsNewObjects())
        showView(View::Contents);
    m_sommario->setCurrentIndex(entry);
    if (entry < 0 || entry != m_sommario->currentIndex())
        return;
    const QString path = NewspaperStructure::articlePath(m_folder, m_titolo->currentText(), m_sommario->currentText());
    m_tasks->run(
        QStringLiteral("Apertura dell'articolo…"),
        [path, windowThread = thread()] { return ArticleDocument::load(path, windowThread); },
        [this, entry, path, selection, fromResults](const Outcome<ArticleDocument>& article) {
            if (!article)
                reportUnreadable(QStringLiteral("L'articolo non si può leggere."), article.reason());
            else
                showArticle(entry, path, article.value(), selection, fromResults);
        });
}

void FrmLeggiGiornale::showArticle(int entry, const QString& path, const ArticleDocument& article,
                                   std::optional<Selection> selection, bool fromResults) {
    NomeNotepad = path;
    m_sommario->setCurrentIndex(entry);
    // The field takes the focus empty and gets its text after, so a screen reader first names it and then reads
    // the text. The previous article's document goes, and with it the text's selection, unheard: the text is a
    // new object for a screen reader.
    replaceAsNewObject(m_testo, [&] {
        m_testo->setExtraSelections({}); // they are of the document going
        const QPointer<QTextDocument> previous = m_testo->document();
        m_testo->setDocument(nullptr); // deletes the document the box made itself
        if (previous && previous->parent() == m_testo)
            delete previous;
        m_followingVoice = false;
        m_documentComing = false;
        showView(View::Article);
        m_articleFromResults = fromResults;
        m_pendingSelection.reset();
        if (selection) {
            const qsizetype start = article.shown(selection->offset);
            m_pendingSelection = Selection{start, article.shown(selection->offset + selection->length) - start};
        }
        setArticleDocument(article);
    });
    m_followingVoice = false;
    m_book->articleOpened(entry);
}

void FrmLeggiGiornale::setArticleDocument(const ArticleDocument& article) {
    m_testo->setExtraSelections({}); // they are of the document going
    const QPointer<QTextDocument> previous = m_testo->document();
    QTextDocument* document = article.take();
    document->setParent(m_testo);
    document->setDefaultFont(m_testo->font());
    m_testo->setDocument(document);
    if (previous && previous->parent() == m_testo)
        delete previous;
    m_breaks = article.breaks();
}

// The section is read, then the article, with the stretch selected once the text has its focus.
void FrmLeggiGiornale::openArticleAt(const ArticleTarget& target, bool fromResults) {
    const int section = static_cast<int>(m_lstNomeFile.indexOf(target.indexFile));
    if (section < 0)
        return;
    m_tasks->run(
        QStringLiteral("Lettura della sezione…"),
        [path = sectionIndexPath(section)] { return NewspaperStructure::CaricaSommario(path); },
        [this, section, target, fromResults](const Outcome<QStringList>& contents) {
            if (!contents) {
                reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."), contents.reason());
                return;
            }
            for (int line = 0; line < contents.value().size(); ++line) {
                if (contents.value().at(line).left(3) == target.code) {
                    showSection(section, contents.value(), false);
                    openEntry(line, Selection{target.offset, target.length}, fromResults);
                    return;
                }
            }
        });
}

void FrmLeggiGiornale::announce(const QString& text) {
    m_status->say(text);
}

void FrmLeggiGiornale::CboSommario_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter && m_sommario->currentIndex() >= 0)
        openEntry(m_sommario->currentIndex(), std::nullopt, false);
    else if (keyAscii == kKeyEsc)
        showView(View::Sections);
}

void FrmLeggiGiornale::Testo_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEsc)
        showView(m_articleFromResults ? View::Results : View::Contents);
}

void FrmLeggiGiornale::Timer1_Timer() {
    m_timer1->stop();
    m_aprifile->show();
    m_testo->setFocus();
    if (m_followingVoice)
        return; // the caret stays where it is: the voice reads
    if (m_pendingSelection) {
        QTextCursor match(m_testo->document());
        match.setPosition(static_cast<int>(m_pendingSelection->offset));
        match.setPosition(static_cast<int>(m_pendingSelection->offset + m_pendingSelection->length),
                          QTextCursor::KeepAnchor);
        m_pendingSelection.reset();
        m_testo->setTextCursor(match);
        return;
    }
    // The whole text selected, with the caret at its start (the selection anchored at the end), so reading
    // line by line goes on from the first line.
    QTextCursor all(m_testo->document());
    all.movePosition(QTextCursor::End);
    all.movePosition(QTextCursor::Start, QTextCursor::KeepAnchor);
    m_testo->setTextCursor(all);
}

void FrmLeggiGiornale::CmdAprifile_Click() {
    if (!TextEditor::open(NomeNotepad)) {
        Toolkit::current().message(this,
                                   QStringLiteral("Impossibile aprire l'articolo «%1» con l'editor di testo.")
                                       .arg(QDir::toNativeSeparators(NomeNotepad)),
                                   kTitle, Toolkit::Icon::Stop);
    }
}

// One view at a time, with the keyboard focus on its control from the start, so that a key typed at once
// (Esc during the article's delay) reaches the view on screen. The new control is shown before the old ones
// are hidden, so the focus never passes through a control of another view. Leaving the article view before
// its delay has passed stops the timer: the button never appears and the hidden text never takes the focus.
// A reading under way is dropped: the user has moved on.
void FrmLeggiGiornale::showView(View view) {
    m_tasks->supersede();
    m_view = view;
    QWidget* control = view == View::Contents  ? static_cast<QWidget*>(m_sommario)
                       : view == View::Article ? static_cast<QWidget*>(m_testo)
                       : view == View::Results ? static_cast<QWidget*>(m_risultati)
                                               : static_cast<QWidget*>(m_titolo);
    if (view != View::Article)
        m_articleFromResults = view == View::Results && m_articleFromResults;
    control->show();
    control->setFocus();
    for (QWidget* other : {static_cast<QWidget*>(m_titolo), static_cast<QWidget*>(m_sommario),
                           static_cast<QWidget*>(m_risultati), static_cast<QWidget*>(m_testo)}) {
        if (other != control)
            other->hide();
    }
    m_aprifile->hide();
    if (view == View::Article) {
        m_timer1->start();
    } else {
        m_timer1->stop();
        m_pendingSelection.reset();
    }
}

void FrmLeggiGiornale::reportUnreadable(const QString& message, const QString& reason) {
    Toolkit::current().message(this, withReason(message, reason), kTitle, Toolkit::Icon::Stop);
}

// However the reader is closed (Esc in the section list, the window's close box, a scan that found nothing),
// the main menu comes back, so a keyboard user is never left without a window. What was read is written beside
// the window.
void FrmLeggiGiornale::closeEvent(QCloseEvent* event) {
    m_timer1->stop();
    leaveIssue();
    ReadingStore::current().flush();
    MainMenu::show();
    QWidget::closeEvent(event);
}
