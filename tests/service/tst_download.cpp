// Downloads and page fetches against servers that misbehave on purpose, on loopback.
#include "service/ArchiveDownload.h"
#include "service/PageReader.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A one-trick HTTP server: after reading a request it sends `head` and `body`, then closes the connection or,
// with keepOpen, leaves it hanging.
class FaultyServer : public QTcpServer {
public:
    FaultyServer(QByteArray head, QByteArray body, bool keepOpen)
        : m_head(std::move(head)), m_body(std::move(body)), m_keepOpen(keepOpen) {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                socket->readAll();
                if (m_head.isEmpty())
                    return; // never answers
                socket->write(m_head + m_body);
                socket->flush();
                if (!m_keepOpen)
                    socket->disconnectFromHost();
            });
        });
    }

    QUrl address() const {
        return QUrl(QString("http://127.0.0.1:%1/ondaris/ondaris2.asp?user=u&password=p").arg(serverPort()));
    }

private:
    QByteArray m_head, m_body;
    bool m_keepOpen;
};

QByteArray head(int status, const QByteArray& type, qint64 length) {
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(length) + "\r\nConnection: close\r\n\r\n";
}

} // namespace

class TestDownload : public QObject {
    Q_OBJECT

    // Downloads into Giornali over an archive already stored there, and checks that a failure left it whole.
    static void expectFailureKeepingTheOldArchive(TestProgramFolder& folder, const QUrl& address,
                                                  qint64 cancelAfter = -1) {
        QDir(folder.path()).mkpath("Giornali");
        folder.write("Giornali/Eco20261205.zip", "archivio di prima");
        folder.toolkit.answerProgress(cancelAfter);
        const auto result = ArchiveDownload::URLDownloadToFile(address, folder.file("Giornali/Eco20261205.zip"), "Eco");
        QVERIFY(!result.ok);
        QVERIFY2(!result.reason.contains("password"), qPrintable(result.reason)); // the query is never shown
        QCOMPARE(folder.read("Giornali/Eco20261205.zip"), QByteArray("archivio di prima"));
        QCOMPARE(QDir(folder.file("Giornali")).entryList(QDir::Files), QStringList{"Eco20261205.zip"});
    }

private slots:
    void init() { PageReader::setTimeoutMs(1000); }
    void cleanup() { PageReader::setTimeoutMs(30000); }

    void aCompleteArchiveReplacesTheOldOne() {
        TestProgramFolder folder;
        const QByteArray zip = "PK\x03\x04" + QByteArray(5000, 'z');
        FaultyServer server(head(200, "application/zip", zip.size()), zip, false);
        QDir(folder.path()).mkpath("Giornali");
        folder.write("Giornali/Eco20261205.zip", "archivio di prima");
        folder.toolkit.answerProgress();
        QVERIFY(
            ArchiveDownload::URLDownloadToFile(server.address(), folder.file("Giornali/Eco20261205.zip"), "Eco").ok);
        QCOMPARE(folder.read("Giornali/Eco20261205.zip"), zip);
        QCOMPARE(folder.toolkit.progressDone, zip.size());
    }

    void anErrorStatusIsAFailure() {
        TestProgramFolder folder;
        FaultyServer server(head(404, "text/html", 9), "not found", false);
        expectFailureKeepingTheOldArchive(folder, server.address());
    }

    void aPageInsteadOfAnArchiveIsAFailure() {
        TestProgramFolder folder;
        FaultyServer server(head(200, "text/html", 22), "<html>accedi</html>\r\n\r\n", false);
        expectFailureKeepingTheOldArchive(folder, server.address());
    }

    void aConnectionDroppedHalfwayIsAFailure() {
        TestProgramFolder folder;
        FaultyServer server(head(200, "application/zip", 100000), "PK\x03\x04" + QByteArray(1000, 'z'), false);
        expectFailureKeepingTheOldArchive(folder, server.address());
    }

    void aServerThatNeverAnswersIsGivenUp() {
        TestProgramFolder folder;
        FaultyServer server({}, {}, true);
        expectFailureKeepingTheOldArchive(folder, server.address());
        QCOMPARE(PageReader::LeggiPagina(server.address()), QString());
    }

    void aCancelledDownloadIsAFailure() {
        TestProgramFolder folder;
        FaultyServer server(head(200, "application/zip", 100000), "PK\x03\x04" + QByteArray(1000, 'z'), true);
        expectFailureKeepingTheOldArchive(folder, server.address(), 1);
    }

    void anArchiveStoreThatCannotBeWrittenIsAFailure() {
        TestProgramFolder folder;
        const QByteArray zip = "PK\x03\x04";
        FaultyServer server(head(200, "application/zip", zip.size()), zip, false);
        const auto result =
            ArchiveDownload::URLDownloadToFile(server.address(), folder.file("Manca/Eco20261205.zip"), "Eco");
        QVERIFY(!result.ok);
        QVERIFY(result.reason.contains("Manca"));
    }

    void pagesThatAreNotTextOrNotThereGiveNoListing() {
        FaultyServer archive(head(200, "application/zip", 6), "PK\x03\x04zz", false);
        QCOMPARE(PageReader::LeggiPagina(archive.address()), QString());
        FaultyServer error(head(500, "text/html", 19), "<pre>A\r\n</pre>\r\n\r\n\r\n", false);
        QCOMPARE(PageReader::LeggiPagina(error.address()), QString());
        FaultyServer good(head(200, "text/html", 14), "<pre>A\r\n</pre>", false);
        QVERIFY(PageReader::LeggiPagina(good.address()).contains("<PRE>A\r\n</PRE>"));
    }
};

QTEST_MAIN(TestDownload)
#include "tst_download.moc"
