#include "ReadingVoice.h"

#include "FrmVoce.h"
#include "ReadingStore.h"
#include "platform/MediaKeys.h"
#include "platform/Toolkit.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {

using View = ReaderScreen::View;

const QString kTitle = QStringLiteral("Voce");

struct SleepChoice {
    QString label;
    ReadAloud::Sleep sleep;
    int minutes;
};

const QList<SleepChoice>& sleepChoices() {
    static const QList<SleepChoice> choices{
        {QStringLiteral("alla fine dell'articolo"), ReadAloud::Sleep::AtArticleEnd, 0},
        {QStringLiteral("alla fine della sezione"), ReadAloud::Sleep::AtSectionEnd, 0},
        {QStringLiteral("tra 15 minuti"), ReadAloud::Sleep::Never, 15},
        {QStringLiteral("tra 30 minuti"), ReadAloud::Sleep::Never, 30},
        {QStringLiteral("tra 60 minuti"), ReadAloud::Sleep::Never, 60},
        {QStringLiteral("mai"), ReadAloud::Sleep::Never, 0},
    };
    return choices;
}

bool isModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

bool isMediaKey(int key) {
    return key == Qt::Key_MediaTogglePlayPause || key == Qt::Key_MediaPlay || key == Qt::Key_MediaPause ||
           key == Qt::Key_MediaStop || key == Qt::Key_MediaNext || key == Qt::Key_MediaPrevious;
}

} // namespace

ReadingVoice::ReadingVoice(QWidget* window, ReaderScreen& screen, const QString& settingsFile)
    : QObject(window), m_window(window), m_screen(screen), m_settingsFile(settingsFile), m_sleepTimer(this),
      m_mediaKeys(new MediaKeys(this)) {
    m_reading.apply(VoiceSettings::read(settingsFile));
    m_sleepTimer.setObjectName(QStringLiteral("TimerSpegnimento"));
    m_sleepTimer.setSingleShot(true);
    connect(&m_sleepTimer, &QTimer::timeout, this, [this] {
        if (m_reading.state() == ReadAloud::State::Stopped)
            return;
        m_reading.stop();
        say(QStringLiteral("Lettura fermata dal timer di spegnimento."));
    });
    connect(&m_reading, &ReadAloud::articleStarted, this, [this](int section, int entry, const QStringList& contents) {
        m_screen.followReading(section, contents, entry);
        m_mediaKeys->setTitle(contents.value(entry).mid(3).trimmed());
    });
    connect(&m_reading, &ReadAloud::sentenceStarted, this, [this](int, int, Sentences::Span sentence) {
        m_screen.highlightSpoken(sentence.start, sentence.length);
        keepPlace();
    });
    connect(&m_reading, &ReadAloud::articleRead, this, [this](int section, int entry) {
        if (m_screen.sectionList()->currentIndex() == section)
            m_screen.markArticleRead(entry);
        keepPlace();
    });
    connect(&m_reading, &ReadAloud::stateChanged, this, [this](ReadAloud::State state) {
        m_mediaKeys->setStatus(state == ReadAloud::State::Reading  ? MediaKeys::Status::Playing
                               : state == ReadAloud::State::Paused ? MediaKeys::Status::Paused
                                                                   : MediaKeys::Status::Stopped);
    });
    connect(&m_reading, &ReadAloud::told, this, &ReadingVoice::say);
    connect(&m_reading, &ReadAloud::failed, this, [this](const QString& reason) {
        Toolkit::current().message(m_window,
                                   withReason(QStringLiteral("La lettura ad alta voce si è interrotta."), reason),
                                   kTitle, Toolkit::Icon::Exclamation);
    });
    connect(m_mediaKeys, &MediaKeys::playPause, this, &ReadingVoice::toggle);
    connect(m_mediaKeys, &MediaKeys::play, this, [this] {
        if (m_reading.state() != ReadAloud::State::Reading)
            toggle();
    });
    connect(m_mediaKeys, &MediaKeys::pause, &m_reading, &ReadAloud::pause);
    connect(m_mediaKeys, &MediaKeys::stop, this, &ReadingVoice::stop);
    connect(m_mediaKeys, &MediaKeys::next, this, [this] { skipArticle(+1); });
    connect(m_mediaKeys, &MediaKeys::previous, this, [this] { skipArticle(-1); });
    qApp->installEventFilter(this);
}

ReadingVoice::~ReadingVoice() {
    qApp->removeEventFilter(this);
}

bool ReadingVoice::readFrom(int section, int entry, qsizetype offset, bool sayingSection) {
    QList<ReadAloud::Section> sections;
    const QComboBox* list = m_screen.sectionList();
    for (int i = 0; i < list->count(); ++i)
        sections.append({list->itemText(i), m_screen.sectionIndexPath(i)});
    m_reading.setIssue(m_screen.folder(), sections);
    const Outcome<> started = m_reading.start({section, entry, offset}, sayingSection);
    if (!started)
        Toolkit::current().message(
            m_window, withReason(QStringLiteral("La lettura ad alta voce non è disponibile."), started.reason()),
            kTitle, Toolkit::Icon::Exclamation);
    return started.ok();
}

void ReadingVoice::stop() {
    if (m_reading.state() == ReadAloud::State::Stopped)
        return;
    m_reading.stop();
    keepPlace();
}

void ReadingVoice::leaveIssue() {
    stop();
    m_reading.setIssue({}, {}); // nothing of this issue is read in the next
}

// The media keys: another article while the voice reads or waits, else the reading starts as F5 starts it.
void ReadingVoice::skipArticle(int direction) {
    if (m_reading.state() == ReadAloud::State::Stopped)
        toggle();
    else
        m_reading.skipArticle(direction);
}

// The reading keys reach the voice before the reader's own keys and shortcuts; any other key pauses it.
bool ReadingVoice::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (isReadingKey(*key)) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            handle(*key);
        return true;
    }
    if (!isModifier(key->key())) // a shortcut of the reader's never reaches KeyPress
        m_reading.pause();
    return false;
}

bool ReadingVoice::isReadingKey(const QKeyEvent& key) const {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const int code = key.key();
    if (modifiers == Qt::NoModifier && (code == Qt::Key_F5 || code == Qt::Key_F6 || code == Qt::Key_F7 ||
                                        code == Qt::Key_F8 || code == Qt::Key_F9 || isMediaKey(code)))
        return true;
    if (modifiers == Qt::AltModifier && code == Qt::Key_V)
        return true;
    if (m_reading.state() != ReadAloud::State::Reading) // paused, these keys do the reader's own work
        return false;
    return (modifiers == Qt::NoModifier && code == Qt::Key_Escape) ||
           (modifiers == Qt::ControlModifier && (code == Qt::Key_PageDown || code == Qt::Key_PageUp)) ||
           (modifiers == Qt::AltModifier && (code == Qt::Key_Right || code == Qt::Key_Left));
}

void ReadingVoice::handle(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_F5:
    case Qt::Key_MediaTogglePlayPause:
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaPause:
        toggle();
        break;
    case Qt::Key_Escape:
    case Qt::Key_MediaStop:
        stop();
        m_sleepTimer.stop(); // the user stopped it: no sleep timer is left for another reading
        m_reading.sleepAt(ReadAloud::Sleep::Never);
        say(QStringLiteral("Lettura fermata."));
        break;
    case Qt::Key_PageDown:
    case Qt::Key_MediaNext:
        skipArticle(+1);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_MediaPrevious:
        skipArticle(-1);
        break;
    case Qt::Key_Right:
        m_reading.skipSentence(+1);
        break;
    case Qt::Key_Left:
        m_reading.skipSentence(-1);
        break;
    case Qt::Key_F8:
        changeSpeed(+VoiceSettings::kSpeedStep);
        break;
    case Qt::Key_F7:
        changeSpeed(-VoiceSettings::kSpeedStep);
        break;
    case Qt::Key_F6:
        say(QStringLiteral("Velocità %1").arg(m_reading.settings().spokenSpeed()));
        break;
    case Qt::Key_F9:
        chooseSleep();
        break;
    case Qt::Key_V:
        openSettings();
        break;
    default:
        break;
    }
}

// From the article's caret, the selected contents entry or the selected section.
void ReadingVoice::toggle() {
    switch (m_reading.state()) {
    case ReadAloud::State::Reading:
        m_reading.pause();
        keepPlace();
        return;
    case ReadAloud::State::Paused:
        if (!movedAway()) {
            m_reading.resume();
            return;
        }
        stop(); // the user went elsewhere meanwhile: the reading starts there
        break;
    case ReadAloud::State::Stopped:
        break;
    }
    const int section = m_screen.sectionList()->currentIndex();
    const int entry = std::max(0, m_screen.contentsList()->currentIndex());
    switch (m_screen.view()) {
    case View::Sections:
        if (section >= 0)
            readFrom(section, 0, ReadAloud::kTitle, true);
        break;
    case View::Contents:
        readFrom(section, entry, ReadAloud::kTitle, false);
        break;
    case View::Article:
        readFrom(section, entry, m_screen.caretInArticle(), false);
        break;
    case View::Newspaper:
    case View::Results:
        say(QStringLiteral("Scegliere una sezione o un articolo da leggere."));
        break;
    }
}

// The selection on screen is no longer the article the voice paused in.
bool ReadingVoice::movedAway() const {
    const ReadAloud::Place place = m_reading.place();
    const int section = m_screen.sectionList()->currentIndex();
    if (m_screen.view() == View::Sections)
        return section != place.section;
    return section != place.section || m_screen.contentsList()->currentIndex() != place.entry;
}

void ReadingVoice::changeSpeed(double step) {
    VoiceSettings settings = m_reading.settings();
    settings.speed = std::clamp(settings.speed + step, VoiceSettings::kSlowest, VoiceSettings::kFastest);
    m_reading.apply(settings);
    const Outcome<> written = settings.write(m_settingsFile);
    say(QStringLiteral("Velocità %1").arg(settings.spokenSpeed()) +
        (written ? QString() : QStringLiteral(". ") + written.reason()));
}

void ReadingVoice::chooseSleep() {
    auto* menu = new QMenu(m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setTitle(QStringLiteral("Spegnimento"));
    menu->setAccessibleName(QStringLiteral("Spegnimento della voce"));
    for (int choice = 0; choice < sleepChoices().size(); ++choice)
        menu->addAction(sleepChoices().at(choice).label, this, [this, choice] { setSleep(choice); });
    const bool wasReading = m_reading.state() == ReadAloud::State::Reading;
    m_reading.pause(); // the list is said alone, then the voice reads on
    connect(menu, &QMenu::aboutToHide, this, [this, wasReading] {
        if (wasReading)
            QTimer::singleShot(0, &m_reading, &ReadAloud::resume); // after what was chosen is said
    });
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
    menu->popup(focus->mapToGlobal(QPoint(0, 0)), menu->actions().constFirst());
    menu->setActiveAction(menu->actions().constFirst());
}

void ReadingVoice::setSleep(int choice) {
    const SleepChoice& chosen = sleepChoices().at(choice);
    m_reading.sleepAt(chosen.sleep);
    if (chosen.minutes > 0)
        m_sleepTimer.start(chosen.minutes * 60 * 1000);
    else
        m_sleepTimer.stop();
    say(chosen.label == QLatin1String("mai") ? QStringLiteral("Spegnimento della voce: mai.")
                                             : QStringLiteral("La voce si fermerà %1.").arg(chosen.label));
}

void ReadingVoice::openSettings() {
    const bool wasReading = m_reading.state() == ReadAloud::State::Reading;
    m_reading.pause();
    FrmVoce* settings =
        FrmVoce::choose(m_window, m_reading.voices(), m_reading.settings(), [this](const VoiceSettings& chosen) {
            m_reading.apply(chosen);
            const Outcome<> written = chosen.write(m_settingsFile);
            if (!written)
                m_screen.reportUnreadable(QStringLiteral("Le impostazioni della voce non sono state salvate."),
                                          written.reason());
        });
    // Chosen or not, the voice reads on.
    connect(settings, &QDialog::finished, this, [this, wasReading] {
        if (wasReading)
            m_reading.resume();
    });
}

// In the status line, which a screen reader says and a braille display shows; without a screen reader the
// voice says it too.
void ReadingVoice::say(const QString& text) {
    m_screen.announce(text);
    if (!QAccessible::isActive())
        m_reading.sayAside(text);
}

void ReadingVoice::keepPlace() {
    if (m_screen.issueKey().isEmpty() || m_reading.contents().isEmpty())
        return;
    const ReadAloud::Place place = m_reading.place();
    const QStringList& contents = m_reading.contents();
    const bool past = place.entry >= contents.size(); // the article was read to its end: the section's last
    const int entry = past ? static_cast<int>(contents.size()) - 1 : place.entry;
    ReadingStore::current().leftAt(m_screen.issueKey(),
                                   {m_screen.sectionList()->itemText(place.section), contents.at(entry).left(3),
                                    entry + 1, m_screen.sectionIndexFile(place.section),
                                    past                                ? std::numeric_limits<int>::max()
                                    : place.offset == ReadAloud::kTitle ? ReadingStore::kSpokenTitle
                                                                        : place.offset});
    emit placeKept();
}
