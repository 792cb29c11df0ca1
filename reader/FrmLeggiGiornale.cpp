#include "FrmLeggiGiornale.h"

#include "NewspaperStructure.h"
#include "ReaderSearch.h"
#include "ReadingStore.h"
#include "TalkingBook.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/FileError.h"
#include "platform/KeyAscii.h"
#include "platform/MainMenu.h"
#include "platform/Screen.h"
#include "platform/SharedState.h"
#include "platform/TextEditor.h"
#include "platform/Toolkit.h"
#include "platform/Twips.h"
#include "platform/WindowZoom.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

namespace {

const QString kTitle = QStringLiteral("Ondaris");

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
      m_status(new Announcer(this)) {
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
    new TalkingBook(this);
    new ReaderSearch(this);
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

void FrmLeggiGiornale::CboElencoGiornali_KeyPress(int keyAscii) {
    if (keyAscii != kKeyEnter)
        return;
    m_elencoGiornali->hide();
    m_status->clear();
    showView(View::Sections); // a reader already open in another view starts again from its sections
    RilevaStruttura(SharedState::instance().PercorsoTemp);
}

void FrmLeggiGiornale::RilevaStruttura(const QString& folder) {
    using Outcome = NewspaperStructure::Scan::Outcome;
    const NewspaperStructure::Scan scan = NewspaperStructure::RilevaStruttura(folder);
    m_titolo->clear();
    m_lstNomeFile.clear();
    if (scan.outcome == Outcome::Failed) {
        close(); // closing shows the main menu again
        return;
    }
    if (scan.outcome == Outcome::NoNewspaper) {
        Toolkit::current().message(
            QStringLiteral("Nel file selezionato non è stata rilevata nessuna struttura di giornale!"),
            QStringLiteral("Nessun giornale trovato"), Toolkit::Icon::Information);
        close();
        return;
    }
    for (const NewspaperStructure::Section& section : scan.sections) {
        m_titolo->addItem(section.shownName);
        m_lstNomeFile.append(section.indexFile);
    }
    m_titolo->setCurrentIndex(0);
}

void FrmLeggiGiornale::CboTitolo_KeyPress(int keyAscii) {
    const int position = m_titolo->currentIndex();
    if (keyAscii == kKeyEnter && position >= 0)
        openSection(position);
    else if (keyAscii == kKeyEsc)
        close(); // closing shows the main menu again
}

QStringList FrmLeggiGiornale::sectionContents(int section) const {
    return NewspaperStructure::CaricaSommario(
        NewspaperStructure::sectionIndexPath(SharedState::instance().PercorsoTemp, m_lstNomeFile.at(section)));
}

bool FrmLeggiGiornale::openSection(int section, bool show) {
    QStringList contents;
    try {
        contents = sectionContents(section);
    } catch (const FileError& error) {
        reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere.\n") + error.message());
        return false;
    }
    m_titolo->setCurrentIndex(section);
    m_sommario->clear();
    m_sommario->addItems(contents);
    if (show)
        showView(View::Contents);
    m_sommario->setCurrentIndex(0); // nothing to select when the index has no lines
    emit contentsLoaded();
    return true;
}

// As Esc, an arrow and Enter would: through the contents, which speak the entry, to the text, which is named
// before it is read.
void FrmLeggiGiornale::openArticle(int entry) {
    if (m_view == View::Article)
        showView(View::Contents);
    m_sommario->setCurrentIndex(entry);
    CboSommario_KeyPress(kKeyEnter);
}

bool FrmLeggiGiornale::openArticleAt(const QString& indexFile, const QString& code, qsizetype offset,
                                     qsizetype length) {
    for (int section = 0; section < m_titolo->count(); ++section) {
        if (sectionIndexFile(section) != indexFile || !openSection(section, false))
            continue;
        for (int entry = 0; entry < m_sommario->count(); ++entry) {
            if (m_sommario->itemText(entry).left(3) == code) {
                selectOnOpening(offset, length);
                openArticle(entry);
                return true;
            }
        }
    }
    return false;
}

void FrmLeggiGiornale::announce(const QString& text) {
    m_status->say(text);
}

void FrmLeggiGiornale::CboSommario_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEnter && m_sommario->currentIndex() >= 0) {
        const QString path = NewspaperStructure::articlePath(SharedState::instance().PercorsoTemp,
                                                             m_titolo->currentText(), m_sommario->currentText());
        QString text;
        try {
            text = NewspaperStructure::CaricaArticolo(path);
        } catch (const FileError& error) {
            reportUnreadable(QStringLiteral("L'articolo non si può leggere.\n") + error.message());
            return;
        }
        NomeNotepad = path;
        // The field takes the focus empty and gets its text after, so a screen reader first names it and
        // then reads the text.
        m_testo->clear();
        showView(View::Article);
        m_testo->setPlainText(text);
        emit articleOpened(m_sommario->currentIndex());
    } else if (keyAscii == kKeyEsc) {
        showView(View::Sections);
    }
}

void FrmLeggiGiornale::Testo_KeyPress(int keyAscii) {
    if (keyAscii == kKeyEsc)
        showView(m_articleFromResults ? View::Results : View::Contents);
}

void FrmLeggiGiornale::Timer1_Timer() {
    m_timer1->stop();
    m_aprifile->show();
    m_testo->setFocus();
    if (m_pendingSelection) {
        QTextCursor match(m_testo->document());
        match.setPosition(static_cast<int>(m_pendingSelection->first));
        match.setPosition(static_cast<int>(m_pendingSelection->first + m_pendingSelection->second),
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
        Toolkit::current().message(QStringLiteral("Impossibile aprire l'articolo «%1» con l'editor di testo.")
                                       .arg(QDir::toNativeSeparators(NomeNotepad)),
                                   kTitle, Toolkit::Icon::Stop);
    }
}

// One view at a time, with the keyboard focus on its control from the start, so that a key typed at once
// (Esc during the article's delay) reaches the view on screen. The new control is shown before the old ones
// are hidden, so the focus never passes through a control of another view. Leaving the article view before
// its delay has passed stops the timer: the button never appears and the hidden text never takes the focus.
void FrmLeggiGiornale::showView(View view) {
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

void FrmLeggiGiornale::reportUnreadable(const QString& message) {
    Toolkit::current().message(message, kTitle, Toolkit::Icon::Stop);
}

// However the reader is closed (Esc in the section list, the window's close box, a scan that found nothing),
// the main menu comes back, so a keyboard user is never left without a window.
void FrmLeggiGiornale::closeEvent(QCloseEvent* event) {
    m_timer1->stop();
    ReadingStore::current().flush();
    MainMenu::show();
    QWidget::closeEvent(event);
}
