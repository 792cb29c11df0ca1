#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <optional>

// Where the reader stopped in each issue and which articles were read, kept in "letture.json" in the program
// folder for the 200 issues read last (the oldest is dropped, and so are older issues while the read articles
// of all number more than 100,000). Issues are known by their archive's base name, articles by their section's
// name and their three-character code. A damaged, unreadable or oversized file is ignored without a word and
// written whole again at the next change. Changes are written a moment later, together, and at once by flush().
class ReadingStore : public QObject {
public:
    static constexpr int kMaxIssues = 200;
    static constexpr int kMaxReadArticles = 100000;
    static constexpr qint64 kMaxFileBytes = 16 << 20;

    struct Place {
        QString section;
        QString article;      // the three-character code
        int position = 0;     // the article's place in its section, from 1
        QString sectionIndex; // the section's index file, which tells apart sections of the same name
    };

    explicit ReadingStore(const QString& path, int writeDelayMs = 2000);
    ~ReadingStore() override;

    // The store of the current program folder.
    static ReadingStore& current();
    // Writes and lets go of the current store (a program folder that goes away).
    static void release();

    std::optional<Place> lastPlace(const QString& issue) const;
    bool isRead(const QString& issue, const QString& section, const QString& article) const;
    // The article is read and is where the issue was left.
    void markRead(const QString& issue, const Place& place);

    void flush();

private:
    struct Issue {
        QString name;
        Place last;
        QSet<QString> read; // "section/code"
    };

    void load();
    void keepWithinBounds();
    const Issue* find(const QString& issue) const;

    QString m_path;
    QList<Issue> m_issues; // the one read last first
    QTimer m_write;
    bool m_changed = false;
};
