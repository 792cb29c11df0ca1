#pragma once

#include "Listing.h"
#include "platform/Outcome.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <memory>

class ArchiveWriter;
class QNetworkReply;

// One exchange with the newspaper service, driven by the network's signals: nothing here waits. The answer is
// judged by its content: a body that begins with the ZIP signature ("PK") is an archive whatever its
// Content-Type, and is streamed to disk; any other body is a page when it is text, read whole (up to the page
// limit) and rendered in a worker thread. The time limit counts from the start and again from every sign of
// life, so a slow but steady transfer goes on while a silent one is given up.
class ServiceRequest : public QObject {
    Q_OBJECT

public:
    enum class Expect {
        Page,          // a listing
        PageOrArchive, // a listing, or the archive itself when it has no provincial editions
        Archive,       // an issue's archive
    };

    // A rendered page (HtmlPage) with its listing cut and split (Listing), or an archive now stored at the target.
    struct Answer {
        bool archive = false;
        QString page;
        QString block;
        QStringList entries;
    };

    // A listing may hold this many entries; a longer one is refused, so no list fills for long.
    static constexpr qsizetype kMaxEntries = 20000;

    ServiceRequest(const QUrl& address, Expect expect, QObject* parent = nullptr);
    ~ServiceRequest() override;

    // Where an archive answer goes. The body is written beside it and takes its place only once all of it has
    // arrived, so a failure or a cancel leaves an archive stored there as it was, and no partial file.
    void setArchiveTarget(const QString& path);
    // How the listing is cut from a page without its end marker: by default as the wizard's screens cut it, the
    // listing screens (a page expected) by the markers' arithmetic, the download screen as an empty block.
    void setListingEnd(Listing::MissingEnd missingEnd);

    void start();
    // Stops at once, whatever the server does; finished() follows with the reason. Once the whole archive has
    // arrived and is being stored, it is too late: the download ends as it would have.
    void cancel();
    bool isRunning() const { return m_started && !m_done; }
    Expect expect() const { return m_expect; }
    // An archive was asked for, or the answer began as one.
    bool isDownload() const { return m_expect == Expect::Archive || m_kind == Kind::Archive; }
    bool wasCancelled() const { return m_cancelled; }

    // Milliseconds of silence before the service is given up: 30 s unless set (--attesa).
    static int timeLimitMs();
    static void setTimeLimitMs(int milliseconds);

signals:
    void archiveStarted();                    // from now on the body is an archive, streamed to the target
    void storing();                           // all of the archive has come; it is being stored and cannot be cancelled
    void progress(qint64 done, qint64 total); // archive bytes; a total below 1 is unknown
    void finished(const Outcome<ServiceRequest::Answer>& outcome); // once, always from the event loop

private:
    enum class Kind { Unknown, Page, Archive };

    void headersArrived();
    void bodyArrived();
    bool judgeBody();
    Outcome<Kind> kindOfBody() const;
    void transferEnded();
    void renderPage();
    void storeArchive();
    void fail(const QString& reason);
    void succeed(const Answer& answer);
    void sendFinished(const Outcome<Answer>& outcome);
    void readBody();
    void startWriter();
    void dropWriter();

    QUrl m_address;
    Expect m_expect;
    Listing::MissingEnd m_missingEnd;
    QString m_target;
    QNetworkReply* m_reply = nullptr;
    ArchiveWriter* m_writer = nullptr; // lives in its own thread; let go of once stored or dropped
    QByteArray m_body;
    QTimer m_silence;
    Kind m_kind = Kind::Unknown;
    qint64 m_received = 0;
    bool m_started = false;
    bool m_done = false;
    bool m_cancelled = false;
    bool m_transferEnded = false;
    bool m_storing = false; // all of it has arrived: too late to cancel
};
