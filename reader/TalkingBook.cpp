#include "TalkingBook.h"

#include "NewspaperStructure.h"
#include "ReaderTasks.h"
#include "ReadingStore.h"
#include "platform/KeyGuide.h"
#include "platform/SpokenList.h"

#include <QApplication>
#include <QComboBox>
#include <QShortcut>
#include <QStyle>

namespace {

using View = ReaderScreen::View;

const QString kReadingSection = QStringLiteral("Lettura della sezione…");

// The three-character code that names an article's file, at the start of its contents line.
QString articleCode(const QString& contentsLine) {
    return contentsLine.left(3);
}

QString articleTitle(const QString& contentsLine) {
    return contentsLine.mid(3).trimmed();
}

void onKeys(QWidget* window, const QKeySequence& keys, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, action);
}

struct SectionIndex {
    int section;
    QString name;
    QString path;
};

struct SectionRead {
    int section = -1; // -1: none
    QStringList contents;
    QStringList unreadable; // the sections passed over because their index cannot be read
    QString reason;         // why the first of them cannot
};

// The first section of those given, in their order, that lists articles; sections whose index cannot be read are
// passed over, and named. Runs in a worker.
Outcome<SectionRead> firstWithArticles(const QList<SectionIndex>& indexes) {
    SectionRead read;
    for (const SectionIndex& index : indexes) {
        const Outcome<QStringList> contents = NewspaperStructure::CaricaSommario(index.path);
        if (!contents) {
            read.unreadable.append(index.name);
            if (read.reason.isEmpty())
                read.reason = contents.reason();
        } else if (!contents.value().isEmpty()) {
            read.section = index.section;
            read.contents = contents.value();
            return read;
        }
    }
    return read;
}

// "Sezione Sport saltata, non si può leggere. <Reason>. " before what is said of the move, or nothing.
QString passedOver(const SectionRead& read) {
    if (read.unreadable.isEmpty())
        return {};
    const QString sections = read.unreadable.size() == 1
                                 ? QStringLiteral("Sezione %1 saltata").arg(read.unreadable.first())
                                 : QStringLiteral("Sezioni %1 saltate").arg(read.unreadable.join(QStringLiteral(", ")));
    return withReason(sections + QStringLiteral(", non si può leggere."), read.reason)
               .replace(QLatin1Char('\n'), QLatin1Char(' ')) +
           QLatin1Char(' ');
}

} // namespace

TalkingBook::TalkingBook(QWidget* window, ReaderScreen& screen) : QObject(window), m_screen(screen) {
    onKeys(window, QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { step(+1); });
    onKeys(window, QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { step(-1); });
    onKeys(window, QKeySequence(Qt::Key_F2), [this] { m_screen.announce(whereAmI()); });
    onKeys(window, QKeySequence(Qt::CTRL | Qt::Key_R), [this] { resume(); });
    addKeyGuide(window, QStringLiteral("Tasti del lettore"),
                {QStringLiteral("Frecce: scorrono le sezioni e il sommario."),
                 QStringLiteral("Invio: apre la sezione o l'articolo scelto."),
                 QStringLiteral("Esc: torna indietro di un livello; dalle sezioni, al menu principale."),
                 QStringLiteral("Ctrl+Pagina giù, Ctrl+Pagina su: nell'articolo, l'articolo seguente o precedente; "
                                "nel sommario, la sezione seguente o precedente."),
                 QStringLiteral("Ctrl+R: riprende dall'ultimo articolo letto, o dalla frase dove si è fermata la "
                                "voce."),
                 QStringLiteral("F2: dice dove sei."),
                 QStringLiteral("F5: la voce del programma legge dalla sezione, dall'articolo o dal cursore fino alla "
                                "fine del giornale; di nuovo F5 la mette in pausa e la riprende."),
                 QStringLiteral("Mentre la voce legge: Esc la ferma; Ctrl+Pagina giù, Ctrl+Pagina su passano "
                                "all'articolo seguente o precedente; Alt+Freccia destra, Alt+Freccia sinistra alla "
                                "frase seguente o precedente; ogni altro tasto la mette in pausa."),
                 QStringLiteral("F8, F7: voce più veloce o più lenta; F6 dice la velocità."),
                 QStringLiteral("F9: timer di spegnimento della voce. Alt+V: sceglie voce, velocità, tono e volume."),
                 QStringLiteral("I tasti multimediali Play/Pausa, Avanti e Indietro fanno come F5, Ctrl+Pagina giù "
                                "e Ctrl+Pagina su."),
                 QStringLiteral("Ctrl+E: esporta il giornale come libro EPUB o DAISY."),
                 QStringLiteral("F1: questa guida.")});
}

void TalkingBook::step(int direction) {
    if (m_screen.view() == View::Article)
        stepArticle(direction);
    else if (m_screen.view() == View::Contents)
        stepSection(direction);
}

// The next article of the section, else the first of the next section that has any (the last of the previous
// one, going back); sections without articles, or whose index cannot be read, are passed over. At either end of
// the issue nothing moves.
void TalkingBook::stepArticle(int direction) {
    const QComboBox* contents = m_screen.contentsList();
    const int entry = contents->currentIndex() + direction;
    if (entry >= 0 && entry < contents->count()) {
        m_screen.openArticle(entry);
        return;
    }
    QList<SectionIndex> indexes;
    const QComboBox* sections = m_screen.sectionList();
    for (int section = sections->currentIndex() + direction; section >= 0 && section < sections->count();
         section += direction)
        indexes.append({section, sections->itemText(section), m_screen.sectionIndexPath(section)});
    m_screen.tasks().run(
        kReadingSection, [indexes] { return firstWithArticles(indexes); },
        [this, direction](const Outcome<SectionRead>& found) {
            if (!found) {
                m_screen.reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."),
                                          found.reason());
                return;
            }
            const SectionRead& next = found.value();
            if (next.section < 0) {
                m_screen.announce(passedOver(next) + (direction > 0 ? QStringLiteral("Ultimo articolo del giornale")
                                                                    : QStringLiteral("Primo articolo del giornale")));
                return;
            }
            announceSection(next.section, passedOver(next));
            m_screen.showSection(next.section, next.contents, false);
            m_screen.openArticle(direction > 0 ? 0 : static_cast<int>(next.contents.size()) - 1);
        });
}

void TalkingBook::stepSection(int direction) {
    const int section = m_screen.sectionList()->currentIndex() + direction;
    if (section < 0 || section >= m_screen.sectionList()->count()) {
        m_screen.announce(direction > 0 ? QStringLiteral("Ultima sezione del giornale")
                                        : QStringLiteral("Prima sezione del giornale"));
        return;
    }
    m_screen.tasks().run(
        kReadingSection,
        [path = m_screen.sectionIndexPath(section)] { return NewspaperStructure::CaricaSommario(path); },
        [this, section](const Outcome<QStringList>& contents) {
            if (!contents) {
                m_screen.reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."),
                                          contents.reason());
                return;
            }
            announceSection(section); // before the contents speak their first entry
            m_screen.showSection(section, contents.value(), true);
        });
}

// Said before the new section's first words, so the user hears where they have come.
void TalkingBook::announceSection(int section, const QString& before) {
    const QComboBox* sections = m_screen.sectionList();
    m_screen.announce(before + QStringLiteral("Sezione %1, %2 di %3")
                                   .arg(sections->itemText(section))
                                   .arg(section + 1)
                                   .arg(sections->count()));
}

// The section is found by its index file, else by its name; the article by its code, at its stored place when
// the code is still there. Nothing moves unless the article is found.
void TalkingBook::resume() {
    const auto place = ReadingStore::current().lastPlace(m_screen.issueKey());
    if (!place) {
        m_screen.announce(QStringLiteral("Nessuna lettura da riprendere"));
        return;
    }
    const QComboBox* sections = m_screen.sectionList();
    int section = -1;
    for (int i = 0; i < sections->count() && section < 0; ++i) {
        if (!place->sectionIndex.isEmpty() && m_screen.sectionIndexFile(i) == place->sectionIndex)
            section = i;
    }
    if (section < 0)
        section = sections->findText(place->section, Qt::MatchExactly);
    const QString gone = QStringLiteral("L'ultimo articolo letto non è più nel giornale");
    if (section < 0) {
        m_screen.announce(gone);
        return;
    }
    m_screen.tasks().run(
        kReadingSection,
        [path = m_screen.sectionIndexPath(section)] { return NewspaperStructure::CaricaSommario(path); },
        [this, section, place = *place, gone](const Outcome<QStringList>& contents) {
            if (!contents) {
                m_screen.reportUnreadable(QStringLiteral("Il sommario della sezione non si può leggere."),
                                          contents.reason());
                return;
            }
            const QStringList& lines = contents.value();
            int entry = place.position - 1;
            if (entry < 0 || entry >= lines.size() || articleCode(lines.at(entry)) != place.article) {
                entry = -1;
                for (int i = 0; i < lines.size() && entry < 0; ++i) {
                    if (articleCode(lines.at(i)) == place.article)
                        entry = i;
                }
            }
            if (entry < 0) {
                m_screen.announce(gone);
                return;
            }
            // Left by the reading voice: it reads on from the sentence; without a voice the article opens.
            if ((place.spoken >= 0 || place.spoken == ReadingStore::kSpokenTitle) &&
                m_screen.readAloudFrom(section, entry, place.spoken))
                return;
            m_screen.showSection(section, lines, false);
            m_screen.openArticle(entry);
        });
}

QString TalkingBook::whereAmI() const {
    const QComboBox* sections = m_screen.sectionList();
    QStringList parts;
    if (!m_screen.title().isEmpty())
        parts << m_screen.title() + QLatin1Char('.');
    parts << QStringLiteral("Sezione %1.").arg(entryAndPosition(sections));
    const QComboBox* contents = m_screen.contentsList();
    const bool inSection = m_screen.view() != View::Sections;
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
    const auto place = ReadingStore::current().lastPlace(m_screen.issueKey());
    if (!place)
        return {};
    const QComboBox* contents = m_screen.contentsList();
    if (m_screen.view() == View::Article &&
        m_screen.sectionIndexFile(m_screen.sectionList()->currentIndex()) == place->sectionIndex &&
        contents->currentIndex() + 1 == place->position)
        return {};
    return QStringLiteral("Ultima lettura: %1, articolo %2.").arg(place->section).arg(place->position);
}

// Read articles carry the mark in the contents: spoken as "letto", shown with a tick; their text stays as listed.
void TalkingBook::markLoadedContents() {
    QComboBox* contents = m_screen.contentsList();
    const QString section = m_screen.sectionList()->currentText();
    const ReadingStore& store = ReadingStore::current();
    for (int i = 0; i < contents->count(); ++i) {
        if (store.isRead(m_screen.issueKey(), section, articleCode(contents->itemText(i)))) {
            contents->setItemData(i, true, kReadRole);
            contents->setItemIcon(i, QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
        }
    }
}

void TalkingBook::articleOpened(int entry) {
    QComboBox* contents = m_screen.contentsList();
    const QString line = contents->itemText(entry);
    if (!m_screen.issueKey().isEmpty()) {
        const int section = m_screen.sectionList()->currentIndex();
        ReadingStore::current().markRead(m_screen.issueKey(), {m_screen.sectionList()->currentText(), articleCode(line),
                                                               entry + 1, m_screen.sectionIndexFile(section)});
    }
    contents->setItemData(entry, true, kReadRole);
    contents->setItemIcon(entry, QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
}
