#pragma once

#include "platform/Outcome.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QSaveFile;
class QThread;

// The file of an archive being downloaded, in a thread of its own: the file is made, written and stored there
// alone, so the window thread never waits for the disk. The body is written beside the target and takes its
// place only on store(). After store() or discard() the caller lets go of the writer: once the file is closed the
// thread ends by itself, even once the caller has gone, and the writer is deleted in the caller's thread, where
// the objects connected to its signals live (so they never tear down their connections in two threads at once).
class ArchiveWriter : public QObject {
    Q_OBJECT

public:
    // A writer whose thread has not started yet: its signals are connected first, then start() is called.
    static ArchiveWriter* create(const QString& target);
    // Starts the thread, which makes the file (a failure then is said at once, to whoever is connected by now).
    void start();

    // These three are called from the caller's thread and only queue the work, in order.
    void write(const QByteArray& chunk);
    void store();   // stored() follows
    void discard(); // the partial file goes; an archive already at the target stays
    // Bytes handed over and not yet written.
    qint64 pending() const { return m_pending; }

signals:
    void written();                       // some of what was pending is on disk
    void failed(const QString& reason);   // the file could not be made or written: the rest goes unwritten
    void stored(const Outcome<>& stored); // the end of store(): failed too when the file failed before

private:
    ArchiveWriter(const QString& target, QThread* home);
    ~ArchiveWriter() override;

    void open();
    void writeNow(const QByteArray& chunk);
    void storeNow();
    void finish();
    void breakDown(int code);
    QString failure(int code) const;

    QString m_target;
    QThread* m_home; // the caller's thread, where the writer is deleted
    std::unique_ptr<QSaveFile> m_file;
    std::atomic<qint64> m_pending = 0;
    bool m_broken = false;
    QString m_failure; // why it broke
};
