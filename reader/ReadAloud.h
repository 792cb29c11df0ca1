#pragma once

#include "Sentences.h"
#include "platform/Outcome.h"
#include "platform/Voice.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

// Reads an issue aloud with the program's voice, from a place on: sentence after sentence, article after article
// and section after section to the end of the issue. Each article starts with its title, each section entered
// with "Sezione <nome>". Sections and articles are read in a worker, the next article while the one before is
// still being said. The sentence being said is the place: pausing, stopping or skipping keeps it exact.
class ReadAloud : public QObject {
    Q_OBJECT

public:
    struct Section {
        QString name;
        QString indexPath;
    };
    static constexpr qsizetype kTitle = -1;
    // An article of a section (entries from 0) and a place in its text: a sentence's start, or kTitle.
    struct Place {
        int section = 0;
        int entry = 0;
        qsizetype offset = kTitle;
        bool operator==(const Place&) const = default;
    };
    enum class State { Stopped, Reading, Paused };
    enum class Sleep { Never, AtArticleEnd, AtSectionEnd };

    explicit ReadAloud(QObject* parent = nullptr);
    ~ReadAloud() override;

    void setIssue(const QString& folder, const QList<Section>& sections);

    // Reads from the place on; the first start opens the voice, and a voice that cannot be had says why. With
    // sayingSection the section's name comes first.
    Outcome<> start(const Place& from, bool sayingSection);
    void pause();
    void resume();
    void stop();
    // The next (+1) or previous (-1) article, read from its title; at either end of the issue nothing moves.
    void skipArticle(int direction);
    // The next or previous sentence of the article.
    void skipSentence(int direction);
    void sleepAt(Sleep sleep) { m_sleep = sleep; }
    Sleep sleep() const { return m_sleep; }

    // The voice's settings, taken at once: the sentence being said starts again with them.
    void apply(const VoiceSettings& settings);
    const VoiceSettings& settings() const { return m_settings; }
    // The Italian voices; an empty list when there is no voice.
    QStringList voices();
    // Says a short text in the voice, between the reading's sentences (the reading starts again after it).
    void sayAside(const QString& text);

    State state() const { return m_state; }
    Place place() const;
    // The contents lines of the article's section and its text, while it is being read.
    const QStringList& contents() const { return m_article.contents; }

signals:
    void articleStarted(int section, int entry, const QStringList& contents);
    void sentenceStarted(int section, int entry, Sentences::Span span);
    void articleRead(int section, int entry);
    void stateChanged(ReadAloud::State state);
    // The reading stopped by itself: the issue's end, the sleep timer, a section passed over; said in words.
    void told(const QString& text);
    void failed(const QString& reason);

private:
    struct Article {
        int section = -1; // -1: past either end of the issue
        int entry = 0;
        QStringList contents;
        QString text;
        QList<Sentences::Span> sentences;
        QStringList passedOver; // sections and articles that cannot be read
        QString reason;
    };
    struct Item {
        QString text;
        qsizetype offset = kTitle; // a sentence's start, or kTitle for the title and the section's name
        bool sectionName = false;
    };

    Outcome<> openVoice();
    static Outcome<Article> load(const QString& folder, const QList<Section>& sections, int section, int entry,
                                 int direction);
    void loadThen(int section, int entry, int direction, std::function<void(const Article&)> then);
    void begin(const Article& article, qsizetype from, bool sayingSection);
    void sendFrom(int item);
    void sendNext();
    void cancelSpeech();
    void onBegun(quint64 id);
    void onEnded(quint64 id);
    void articleDone();
    void prefetch();
    void readFollowing();
    void setState(State state);
    void fail(const QString& reason);

    std::unique_ptr<Voice> m_voice;
    VoiceSettings m_settings;
    QString m_folder;
    QList<Section> m_sections;
    State m_state = State::Stopped;
    Sleep m_sleep = Sleep::Never;
    Article m_article;
    QList<Item> m_items;
    int m_current = 0; // the item being said, or to say on resuming
    int m_sent = -1;   // the last item given to the voice
    quint64 m_nextId = 1;
    QHash<quint64, int> m_waiting; // ids given to the voice, to their items
    quint64 m_load = 0;            // of the latest load started
    quint64 m_prefetch = 0;        // of the latest load of the following article
    bool m_prefetching = false;
    std::optional<Article> m_following;
    std::optional<QString> m_aside;
};
