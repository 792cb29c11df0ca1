#pragma once

#include "platform/Outcome.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QSaveFile;

// The file of an archive being downloaded, in a thread of its own: the file is made, written and stored there
// alone, so the window thread never waits for the disk. The body is written beside the target and takes its
// place only on store(). After store() or discard() the caller lets go of the writer: the thread ends and
// deletes it by itself, even once the caller has gone.
class ArchiveWriter : public QObject {
    Q_OBJECT

public:
    // Starts the thread, which makes the file.
    static ArchiveWriter* start(const QString& target);

    // These three are called from the caller's thread and only queue the work, in order.
    void write(const QByteArray& chunk);
    void store();   // stored() follows
    void discard(); // the partial file goes; an archive already at the target stays
    // Bytes handed over and not yet written.
    qint64 pending() const { return m_pending; }

signals:
    void written();                       // some of what was pending is on disk
    void failed(const QString& reason);   // the file could not be made or written: the rest goes unwritten
    void stored(const Outcome<>& stored); // the end of store()

private:
    explicit ArchiveWriter(const QString& target);
    ~ArchiveWriter() override;

    void open();
    void writeNow(const QByteArray& chunk);
    void storeNow();
    void finish();
    QString failure(int code) const;

    QString m_target;
    std::unique_ptr<QSaveFile> m_file;
    std::atomic<qint64> m_pending = 0;
    bool m_broken = false;
};
