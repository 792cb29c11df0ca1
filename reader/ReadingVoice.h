#pragma once

#include "ReadAloud.h"
#include "ReaderScreen.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class MediaKeys;
class QKeyEvent;
class QWidget;

// The reader's own voice at the keys: F5 reads from the selected section, contents entry or the article's caret
// on to the end of the issue, and pauses and resumes; while it reads, Esc stops it, Ctrl+PageDown / Ctrl+PageUp
// and Alt+Right / Alt+Left skip articles and sentences, F8 / F7 change the speed and F6 says it; F9 sets the
// sleep timer, Alt+V the voice. Any other key pauses the voice, so a screen reader speaks alone. The place read
// is kept in the reading store at every sentence, and the media keys of the desktop do what F5 and
// Ctrl+PageDown / Ctrl+PageUp do.
class ReadingVoice : public QObject {
    Q_OBJECT

public:
    ReadingVoice(QWidget* window, ReaderScreen& screen, const QString& settingsFile);
    ~ReadingVoice() override;

    // Reads from the section's entry on, at a place in its joined text (ReadAloud::kTitle: from its title).
    // False when there is no voice, which the user has been told.
    bool readFrom(int section, int entry, qsizetype offset, bool sayingSection);
    void stop();
    // The issue changes or the reader closes: the voice stops and forgets the issue.
    void leaveIssue();

    const ReadAloud& reading() const { return m_reading; }

signals:
    // A piece of the reading has been said and written to the store (for tests).
    void placeKept();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isReadingKey(const QKeyEvent& key) const;
    void handle(const QKeyEvent& key);
    void toggle();
    void skipArticle(int direction);
    bool movedAway() const;
    void changeSpeed(double step);
    void chooseSleep();
    void setSleep(int choice);
    void openSettings();
    void say(const QString& text);
    void keepPlace();
    void sectionsToReader();

    QWidget* m_window;
    ReaderScreen& m_screen;
    QString m_settingsFile;
    ReadAloud m_reading;
    QTimer m_sleepTimer;
    MediaKeys* m_mediaKeys;
};
