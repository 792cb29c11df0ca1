#pragma once

#include "platform/Outcome.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

// Where the reader stopped in each issue and which articles were read, kept in "letture.json" in the program
// folder for the 200 issues read last (the oldest is dropped, and so are older issues while the read articles
// of all number more than 100,000). Issues are known by their archive's base name, articles by their section's
// name and their three-character code. A damaged, unreadable or oversized file is ignored without a word and
// written whole again at the next change. The file is read and written in a worker: changes are written a
// moment later, together, or at once by flush(); a file that cannot be written is said once (in the window in
// front) and tried again at the next write. Destroying the store writes what is left before it goes.
class ReadingStore : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxIssues = 200;
    static constexpr int kMaxReadArticles = 100000;
    static constexpr qint64 kMaxFileBytes = 16 << 20;
    static constexpr qsizetype kSpokenTitle = -2; // the reading voice stopped at the article's title

    struct Place {
        QString section;
        QString article;       // the three-character code
        int position = 0;      // the article's place in its section, from 1
        QString sectionIndex;  // the section's index file, which tells apart sections of the same name
        qsizetype spoken = -1; // where the reading voice stopped in the article's text, -1 when it did not
    };

    explicit ReadingStore(const QString& path, int writeDelayMs = 2000);
    ~ReadingStore() override;

    // The store of the current program folder, made on first use as a child of the application and written and
    // let go when the application quits.
    static ReadingStore& current();
    // Writes and lets go of the current store (a program folder that goes away).
    static void release();

    // The file has been read; then() runs at once or once it has.
    bool isLoaded() const { return m_loaded; }
    void whenLoaded(QObject* context, std::function<void()> then);
    bool isWriting() const { return m_writing; }

    std::optional<Place> lastPlace(const QString& issue) const;
    bool isRead(const QString& issue, const QString& section, const QString& article) const;
    // The article is read and is where the issue was left.
    void markRead(const QString& issue, const Place& place);
    // The issue was left there, the article not yet read to its end.
    void leftAt(const QString& issue, const Place& place);

    // Writes the changes in a worker (after the file has been read, and after a write under way).
    void flush();

signals:
    void loaded();
    void written();

private:
    struct Issue {
        QString name;
        Place last;
        QSet<QString> read; // "section/code"
    };
    using Issues = QList<Issue>;
    struct WriteOrder;

    static Outcome<Issues> read(const QString& path);
    static Outcome<> write(const QString& path, const Issues& issues, quint64 sequence,
                           const std::shared_ptr<WriteOrder>& order);
    void merge(const Issues& stored);
    void take(const Issues& stored);
    void wrote(const Outcome<>& outcome);
    Issue& touch(const QString& issue);
    void changed();
    void keepWithinBounds();
    const Issue* find(const QString& issue) const;

    QString m_path;
    Issues m_issues; // the one read last first
    QTimer m_write;
    bool m_loaded = false;
    bool m_changed = false;
    bool m_writing = false;
    bool m_writeAgain = false;
    bool m_failureSaid = false;
    quint64 m_sequence = 0;
    std::shared_ptr<WriteOrder> m_order;
};
