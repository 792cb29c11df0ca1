#include "ServiceRequest.h"

#include "ArchiveWriter.h"
#include "HtmlPage.h"
#include "NetworkAccess.h"
#include "ServiceAddress.h"
#include "platform/Worker.h"

#include <QNetworkReply>

namespace {

int g_timeLimitMs = 30000;

constexpr qint64 kReadBuffer = 1 << 20;   // what the reply may hold before it is written out
constexpr qint64 kMaxUnwritten = 4 << 20; // what may wait for the disk before the reply is read again

bool isText(const QByteArray& contentType) {
    const QByteArray type = contentType.toLower();
    return type.isEmpty() || type.startsWith("text/") || type.contains("html") || type.contains("xml");
}

QString reasonForNetworkError(QNetworkReply::NetworkError error, bool anythingReceived, const QString& where) {
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:
        return anythingReceived ? QStringLiteral("il collegamento con il servizio si è interrotto")
                                : QStringLiteral("il servizio ha chiuso il collegamento senza rispondere");
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
        return anythingReceived ? QStringLiteral("il collegamento con il servizio si è interrotto")
                                : QStringLiteral("il servizio non è raggiungibile (%1)").arg(where);
    default:
        return QStringLiteral("il servizio ha dato una risposta non valida");
    }
}

} // namespace

int ServiceRequest::timeLimitMs() {
    return g_timeLimitMs;
}
void ServiceRequest::setTimeLimitMs(int milliseconds) {
    g_timeLimitMs = milliseconds;
}

ServiceRequest::ServiceRequest(const QUrl& address, Expect expect, QObject* parent)
    : QObject(parent), m_address(address), m_expect(expect),
      m_missingEnd(expect == Expect::Page ? Listing::MissingEnd::Undefined : Listing::MissingEnd::EmptyBlock) {
    m_silence.setSingleShot(true);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        const int seconds = (g_timeLimitMs + 999) / 1000;
        fail(seconds == 1 ? QStringLiteral("il servizio non ha risposto entro 1 secondo")
                          : QStringLiteral("il servizio non ha risposto entro %1 secondi").arg(seconds));
    });
}

ServiceRequest::~ServiceRequest() {
    dropWriter();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void ServiceRequest::setArchiveTarget(const QString& path) {
    m_target = path;
}

void ServiceRequest::setListingEnd(Listing::MissingEnd missingEnd) {
    m_missingEnd = missingEnd;
}

void ServiceRequest::start() {
    if (m_started)
        return;
    m_started = true;
    m_reply = NetworkAccess::manager().get(QNetworkRequest(m_address));
    m_reply->setParent(this);
    m_reply->setReadBufferSize(kReadBuffer);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ServiceRequest::headersArrived);
    connect(m_reply, &QNetworkReply::readyRead, this, &ServiceRequest::bodyArrived);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 done, qint64 total) {
        if (m_kind == Kind::Archive)
            emit progress(done, total);
    });
    connect(m_reply, &QNetworkReply::finished, this, &ServiceRequest::transferEnded);
    m_silence.start(g_timeLimitMs);
}

void ServiceRequest::cancel() {
    if (!isRunning() || m_storing)
        return;
    m_cancelled = true;
    fail(isDownload() ? QStringLiteral("scaricamento annullato") : QStringLiteral("richiesta annullata"));
}

void ServiceRequest::headersArrived() {
    m_silence.start(g_timeLimitMs);
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 && status < 400)
        return; // a redirection, followed by the network layer
    if (status != 0 && (status < 200 || status >= 300)) {
        fail(QStringLiteral("errore %1 del servizio").arg(status));
        return;
    }
    const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (m_expect == Expect::Page && length > HtmlPage::kMaxBytes)
        fail(QStringLiteral("la pagina del servizio supera il limite di %1 MB").arg(HtmlPage::kMaxBytes >> 20));
}

void ServiceRequest::bodyArrived() {
    m_silence.start(g_timeLimitMs);
    if (m_kind == Kind::Unknown && m_reply->bytesAvailable() < 2)
        return;
    if (m_kind == Kind::Unknown && !judgeBody())
        return;
    readBody();
}

// An archive is read only as fast as the disk takes it; once the transfer has ended and all of it has been
// handed to the writer, it is stored.
void ServiceRequest::readBody() {
    while (!m_done && m_reply && m_reply->bytesAvailable() > 0) {
        if (m_kind == Kind::Archive && m_writer->pending() >= kMaxUnwritten)
            return; // the writer's written() reads on
        const QByteArray chunk = m_reply->read(kReadBuffer);
        m_received += chunk.size();
        if (m_kind == Kind::Archive) {
            m_writer->write(chunk);
        } else {
            m_body += chunk;
            if (m_body.size() > HtmlPage::kMaxBytes)
                fail(QStringLiteral("la pagina del servizio supera il limite di %1 MB").arg(HtmlPage::kMaxBytes >> 20));
        }
    }
    if (m_kind == Kind::Archive && m_transferEnded && !m_done && !m_storing)
        storeArchive();
}

// Decides from the first bytes what the answer is, and readies the archive's file for an archive; false when
// that ends the request.
bool ServiceRequest::judgeBody() {
    const Outcome<Kind> kind = kindOfBody();
    if (!kind) {
        fail(kind.reason());
        return false;
    }
    m_kind = kind.value();
    if (m_kind == Kind::Archive) {
        if (m_target.isEmpty()) {
            fail(QStringLiteral("manca il percorso in cui salvare l'archivio"));
            return false;
        }
        startWriter();
        emit archiveStarted();
    }
    return !m_done;
}

Outcome<ServiceRequest::Kind> ServiceRequest::kindOfBody() const {
    const bool zip = m_reply->peek(2) == "PK";
    if (zip && m_expect == Expect::Page)
        return Failure{QStringLiteral("il servizio ha inviato un archivio invece dell'elenco")};
    if (!zip && m_expect == Expect::Archive)
        return Failure{QStringLiteral("la risposta non è un archivio")};
    if (!zip && !isText(m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()))
        return Failure{QStringLiteral("la risposta del servizio non è una pagina")};
    return zip ? Kind::Archive : Kind::Page;
}

void ServiceRequest::transferEnded() {
    if (m_done)
        return;
    m_silence.stop();
    const QNetworkReply::NetworkError error = m_reply->error();
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (error == QNetworkReply::NoError && status != 0 && (status < 200 || status >= 300)) {
        fail(QStringLiteral("errore %1 del servizio").arg(status));
        return;
    }
    if (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied) {
        fail(reasonForNetworkError(error, m_received > 0 || m_reply->bytesAvailable() > 0,
                                   ServiceAddress::shown(m_address)));
        return;
    }
    if (error != QNetworkReply::NoError) {
        fail(status ? QStringLiteral("errore %1 del servizio").arg(status)
                    : QStringLiteral("il servizio ha dato una risposta non valida"));
        return;
    }
    if (m_kind == Kind::Unknown && m_reply->bytesAvailable() >= 2 && !judgeBody())
        return;
    if (m_kind == Kind::Unknown) { // an empty or one-byte body
        if (m_expect == Expect::Archive) {
            fail(QStringLiteral("la risposta non è un archivio"));
            return;
        }
        m_kind = Kind::Page;
    }
    m_transferEnded = true;
    bodyArrived();
    if (!m_done && m_kind == Kind::Page)
        renderPage();
}

void ServiceRequest::startWriter() {
    m_writer = ArchiveWriter::create(m_target);
    connect(m_writer, &ArchiveWriter::failed, this, &ServiceRequest::fail);
    connect(m_writer, &ArchiveWriter::written, this, [this] {
        if (!m_done && !m_storing && m_reply && !m_transferEnded)
            m_silence.start(g_timeLimitMs); // the disk's progress is a sign of life too
        readBody();
    });
    connect(m_writer, &ArchiveWriter::stored, this, [this](const Outcome<>& stored) {
        if (m_done)
            return;
        if (stored)
            succeed({true, {}, {}, {}});
        else
            fail(stored.reason());
    });
    m_writer->start(); // once connected: a file that cannot be made is said at once
}

// Committing flushes the whole archive to disk: the writer does it in its own thread, and the archive is stored
// even if this request is deleted meanwhile.
void ServiceRequest::storeArchive() {
    m_storing = true;
    m_silence.stop();
    m_reply->deleteLater();
    m_reply = nullptr;
    emit storing();
    std::exchange(m_writer, nullptr)->store();
}

// Parsing a large page and splitting its listing take a while: they run in a worker, and a request cancelled
// meanwhile drops the result.
void ServiceRequest::renderPage() {
    m_silence.stop(); // all of it has come: the service is silent no more
    const QByteArray contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    m_reply->deleteLater();
    m_reply = nullptr;
    const auto render = [body = std::move(m_body), contentType, missingEnd = m_missingEnd]() -> Outcome<Answer> {
        const Outcome<QString> page = HtmlPage::render(body, contentType);
        if (!page)
            return Failure{page.reason()};
        Answer answer{false, page.value(), Listing::block(page.value(), missingEnd), {}};
        answer.entries = Listing::entries(answer.block);
        if (answer.entries.size() > kMaxEntries)
            return Failure{QStringLiteral("l'elenco del servizio ha più di %1 voci").arg(kMaxEntries)};
        return answer;
    };
    runInWorker(this, render, [this](const Outcome<Answer>& answer) {
        if (m_done)
            return;
        if (answer)
            succeed(answer.value());
        else
            fail(answer.reason());
    });
}

void ServiceRequest::fail(const QString& reason) {
    if (m_done)
        return;
    m_done = true;
    m_silence.stop();
    if (QNetworkReply* reply = std::exchange(m_reply, nullptr)) {
        // Aborted from the event loop: this may run inside one of the reply's own signals.
        reply->disconnect(this);
        QMetaObject::invokeMethod(
            reply,
            [reply] {
                reply->abort();
                reply->deleteLater();
            },
            Qt::QueuedConnection);
    }
    dropWriter();
    sendFinished(Failure{reason});
}

void ServiceRequest::succeed(const Answer& answer) {
    m_done = true;
    if (m_reply) {
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    sendFinished(answer);
}

void ServiceRequest::sendFinished(const Outcome<Answer>& outcome) {
    QMetaObject::invokeMethod(
        this, [this, outcome] { emit finished(outcome); }, Qt::QueuedConnection);
}

// Never stored: the partial file goes, an archive stored before stays.
void ServiceRequest::dropWriter() {
    if (ArchiveWriter* writer = std::exchange(m_writer, nullptr)) {
        writer->disconnect(this);
        writer->discard();
    }
}
