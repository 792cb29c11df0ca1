#include "TalkingBook.h"

#include "FrmLeggiGiornale.h"
#include "ReadingStore.h"
#include "platform/FileError.h"
#include "platform/KeyGuide.h"
#include "platform/SpokenList.h"

#include <QApplication>
#include <QComboBox>
#include <QShortcut>
#include <QStyle>

namespace {

// The three-character code that names an article's file, at the start of its contents line.
QString articleCode(const QString& contentsLine) {
    return contentsLine.left(3);
}

QString articleTitle(const QString& contentsLine) {
    return contentsLine.mid(3).trimmed();
}

void onKeys(QWidget* reader, const QKeySequence& keys, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(keys, reader);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, reader, action);
}

} // namespace

TalkingBook::TalkingBook(FrmLeggiGiornale* reader) : QObject(reader), m_reader(reader) {
    onKeys(reader, QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { step(+1); });
    onKeys(reader, QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { step(-1); });
    onKeys(reader, QKeySequence(Qt::Key_F2), [this] { m_reader->announce(whereAmI()); });
    onKeys(reader, QKeySequence(Qt::CTRL | Qt::Key_R), [this] { resume(); });
    addKeyGuide(reader, QStringLiteral("Tasti del lettore"),
                {QStringLiteral("Frecce: scorrono le sezioni e il sommario."),
                 QStringLiteral("Invio: apre la sezione o l'articolo scelto."),
                 QStringLiteral("Esc: torna indietro di un livello; dalle sezioni, al menu principale."),
                 QStringLiteral("Ctrl+Pagina giù, Ctrl+Pagina su: nell'articolo, l'articolo seguente o precedente; "
                                "nel sommario, la sezione seguente o precedente."),
                 QStringLiteral("Ctrl+R: riprende dall'ultimo articolo letto."), QStringLiteral("F2: dice dove sei."),
                 QStringLiteral("F1: questa guida.")});
    connect(reader, &FrmLeggiGiornale::contentsLoaded, this, &TalkingBook::markLoadedContents);
    connect(reader, &FrmLeggiGiornale::articleOpened, this, &TalkingBook::articleOpened);
}

void TalkingBook::step(int direction) {
    if (m_reader->view() == FrmLeggiGiornale::View::Article)
        stepArticle(direction);
    else if (m_reader->view() == FrmLeggiGiornale::View::Contents)
        stepSection(direction);
}

// The next article of the section, else the first of the next section that has any (the last of the previous
// one, going back); sections without articles, or whose index cannot be read, are passed over. At either end of
// the issue nothing moves.
void TalkingBook::stepArticle(int direction) {
    QComboBox* contents = m_reader->contentsList();
    const int entry = contents->currentIndex() + direction;
    if (entry >= 0 && entry < contents->count()) {
        m_reader->openArticle(entry);
        return;
    }
    const int sections = m_reader->sectionList()->count();
    for (int section = m_reader->sectionList()->currentIndex() + direction; section >= 0 && section < sections;
         section += direction) {
        if (!hasArticles(section))
            continue;
        announceSection(section);
        if (m_reader->openSection(section, false))
            m_reader->openArticle(direction > 0 ? 0 : contents->count() - 1);
        return;
    }
    m_reader->announce(direction > 0 ? QStringLiteral("Ultimo articolo del giornale")
                                     : QStringLiteral("Primo articolo del giornale"));
}

bool TalkingBook::hasArticles(int section) const {
    try {
        return !m_reader->sectionContents(section).isEmpty();
    } catch (const FileError&) {
        return false;
    }
}

void TalkingBook::stepSection(int direction) {
    const int section = m_reader->sectionList()->currentIndex() + direction;
    if (section < 0 || section >= m_reader->sectionList()->count()) {
        m_reader->announce(direction > 0 ? QStringLiteral("Ultima sezione del giornale")
                                         : QStringLiteral("Prima sezione del giornale"));
        return;
    }
    try {
        m_reader->sectionContents(section);
        announceSection(section); // before the contents speak their first entry
    } catch (const FileError&) {
        // opening it says why it cannot be read
    }
    m_reader->openSection(section);
}

// Said before the new section's first words, so the user hears where they have come.
void TalkingBook::announceSection(int section) {
    const QComboBox* sections = m_reader->sectionList();
    m_reader->announce(QStringLiteral("Sezione %1, %2 di %3")
                           .arg(sections->itemText(section))
                           .arg(section + 1)
                           .arg(sections->count()));
}

// The section is found by its index file, else by its name; the article by its code, at its stored place when
// the code is still there. Nothing moves unless the article is found.
void TalkingBook::resume() {
    const auto place = ReadingStore::current().lastPlace(m_reader->issueKey());
    if (!place) {
        m_reader->announce(QStringLiteral("Nessuna lettura da riprendere"));
        return;
    }
    const QComboBox* sections = m_reader->sectionList();
    int section = -1;
    for (int i = 0; i < sections->count() && section < 0; ++i) {
        if (!place->sectionIndex.isEmpty() && m_reader->sectionIndexFile(i) == place->sectionIndex)
            section = i;
    }
    if (section < 0)
        section = sections->findText(place->section, Qt::MatchExactly);
    QStringList lines;
    try {
        lines = section >= 0 ? m_reader->sectionContents(section) : QStringList();
    } catch (const FileError&) {
    }
    int entry = place->position - 1;
    if (entry < 0 || entry >= lines.size() || articleCode(lines.at(entry)) != place->article) {
        entry = -1;
        for (int i = 0; i < lines.size() && entry < 0; ++i) {
            if (articleCode(lines.at(i)) == place->article)
                entry = i;
        }
    }
    if (entry < 0) {
        m_reader->announce(QStringLiteral("L'ultimo articolo letto non è più nel giornale"));
        return;
    }
    if (m_reader->openSection(section, false))
        m_reader->openArticle(entry);
}

QString TalkingBook::whereAmI() const {
    const QComboBox* sections = m_reader->sectionList();
    QStringList parts;
    if (!m_reader->windowTitle().isEmpty())
        parts << m_reader->windowTitle() + QLatin1Char('.');
    parts << QStringLiteral("Sezione %1.").arg(entryAndPosition(sections));
    const QComboBox* contents = m_reader->contentsList();
    const bool inSection = m_reader->view() != FrmLeggiGiornale::View::Sections;
    if (inSection && contents->count() == 0)
        parts << QStringLiteral("Sezione senza articoli.");
    else if (inSection && contents->currentIndex() >= 0)
        parts << QStringLiteral("Articolo %1 di %2: %3.")
                     .arg(contents->currentIndex() + 1)
                     .arg(contents->count())
                     .arg(articleTitle(contents->currentText()));
    const QString last = lastReading();
    if (!last.isEmpty())
        parts << last;
    return parts.join(QLatin1Char(' '));
}

// Said unless the article on screen is the one read last.
QString TalkingBook::lastReading() const {
    const auto place = ReadingStore::current().lastPlace(m_reader->issueKey());
    if (!place)
        return {};
    const QComboBox* contents = m_reader->contentsList();
    if (m_reader->view() == FrmLeggiGiornale::View::Article &&
        m_reader->sectionIndexFile(m_reader->sectionList()->currentIndex()) == place->sectionIndex &&
        contents->currentIndex() + 1 == place->position)
        return {};
    return QStringLiteral("Ultima lettura: %1, articolo %2.").arg(place->section).arg(place->position);
}

// Read articles carry the mark in the contents: spoken as "letto", shown with a tick; their text stays as listed.
void TalkingBook::markLoadedContents() {
    QComboBox* contents = m_reader->contentsList();
    const QString section = m_reader->sectionList()->currentText();
    const ReadingStore& store = ReadingStore::current();
    for (int i = 0; i < contents->count(); ++i) {
        if (store.isRead(m_reader->issueKey(), section, articleCode(contents->itemText(i)))) {
            contents->setItemData(i, true, kReadRole);
            contents->setItemIcon(i, QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
        }
    }
}

void TalkingBook::articleOpened(int entry) {
    QComboBox* contents = m_reader->contentsList();
    const QString line = contents->itemText(entry);
    if (!m_reader->issueKey().isEmpty()) {
        const int section = m_reader->sectionList()->currentIndex();
        ReadingStore::current().markRead(m_reader->issueKey(),
                                         {m_reader->sectionList()->currentText(), articleCode(line), entry + 1,
                                          m_reader->sectionIndexFile(section)});
    }
    contents->setItemData(entry, true, kReadRole);
    contents->setItemIcon(entry, QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
}
