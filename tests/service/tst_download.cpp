// The service client against servers that misbehave on purpose, on loopback: every failure says why, an archive is
// judged by its content, and a cancel or a silent server ends the request within the second.
#include "service/ArchiveWriter.h"
#include "service/ServiceRequest.h"
#include "support/FaultyServer.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <optional>

namespace {

const auto head = &FaultyServer::head;

const QByteArray kZip = "PK\x03\x04" + QByteArray(5000, 'z');

struct Run {
    Outcome<ServiceRequest::Answer> outcome = Failure{};
    double ms = 0;
};

// Runs the request to its end, pressing "Annulla" (cancel) once the answer turns out to be an archive when asked.
Run run(ServiceRequest& request, bool cancelOnArchive = false) {
    QSignalSpy finished(&request, &ServiceRequest::finished);
    QElapsedTimer clock;
    QObject::connect(&request, &ServiceRequest::archiveStarted, &request, [&] {
        if (cancelOnArchive) {
            clock.start();
            QTimer::singleShot(200, &request, &ServiceRequest::cancel);
        }
    });
    if (!cancelOnArchive)
        clock.start();
    request.start();
    if (!finished.wait(10000))
        return {};
    return {finished.first().first().value<Outcome<ServiceRequest::Answer>>(),
            clock.elapsed() - (cancelOnArchive ? 200.0 : 0.0)};
}

} // namespace

Q_DECLARE_METATYPE(ServiceRequest::Expect)

class TestDownload : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ServiceRequest::setTimeLimitMs(30000); }

    void aFailureSaysWhyAndKeepsTheStoredArchive_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("keepOpen");
        QTest::addColumn<ServiceRequest::Expect>("expect");
        QTest::addColumn<QString>("reason");
        const auto archive = ServiceRequest::Expect::Archive;
        const auto page = ServiceRequest::Expect::Page;
        QTest::newRow("HTTP error") << head(404, "text/html", 9) << QByteArray("not found") << false << archive
                                    << "errore 404 del servizio";
        QTest::newRow("a page for an archive")
            << head(200, "text/html", 22) << QByteArray("<html>accedi</html>\r\n\r\n") << false << archive
            << "la risposta non è un archivio";
        QTest::newRow("dropped halfway") << head(200, "application/zip", 100000) << kZip << false << archive
                                         << "il collegamento con il servizio si è interrotto";
        QTest::newRow("silent after the first bytes") << head(200, "application/zip", 100000) << kZip << true << archive
                                                      << "il servizio non ha risposto entro 1 secondo";
        QTest::newRow("never answers") << QByteArray() << QByteArray() << true << page
                                       << "il servizio non ha risposto entro 1 secondo";
        QTest::newRow("an archive for a listing") << head(200, "application/zip", kZip.size()) << kZip << false << page
                                                  << "il servizio ha inviato un archivio invece dell'elenco";
        QTest::newRow("neither page nor archive") << head(200, "image/png", 4) << QByteArray("\x89PNG") << false << page
                                                  << "la risposta del servizio non è una pagina";
        QTest::newRow("a page over the limit") << head(200, "text/html", 9 << 20) << QByteArray() << true << page
                                               << "la pagina del servizio supera il limite di 8 MB";
        QTest::newRow("unreachable") << QByteArray("chiuso") << QByteArray() << false << page
                                     << "il servizio non è raggiungibile (http://127.0.0.1:";
    }

    void aFailureSaysWhyAndKeepsTheStoredArchive() {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, body);
        QFETCH(bool, keepOpen);
        QFETCH(ServiceRequest::Expect, expect);
        QFETCH(QString, reason);
        if (reason.contains("entro 1 secondo"))
            ServiceRequest::setTimeLimitMs(1000); // elsewhere a loaded machine's pause is no silence of the service
        TestProgramFolder folder;
        FaultyServer server(answer, body, keepOpen);
        QUrl address = server.address();
        if (answer == "chiuso")
            server.close(); // nobody listens on that port any more
        QDir(folder.path()).mkpath("Giornali");
        folder.write("Giornali/Eco20261205.zip", "archivio di prima");
        ServiceRequest request(address, expect);
        request.setArchiveTarget(folder.file("Giornali/Eco20261205.zip"));
        const Run result = run(request);
        QVERIFY(!result.outcome);
        QVERIFY2(result.outcome.reason().startsWith(reason), qPrintable(result.outcome.reason()));
        QVERIFY(!result.outcome.reason().contains("segreta"));
        QVERIFY2(result.ms < 2500, qPrintable(QString::number(result.ms)));
        QCOMPARE(folder.read("Giornali/Eco20261205.zip"), QByteArray("archivio di prima"));
        // The partial file goes in the writer's own thread, which may start only after the answer.
        QVERIFY2(folder.settlesTo("Giornali", {"Eco20261205.zip"}), qPrintable(folder.files("Giornali").join(' ')));
    }

    // The ZIP signature decides, whatever the Content-Type says, and the archive is fetched once.
    void anArchiveIsJudgedByItsContent_data() {
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("application/zip") << QByteArray("application/zip");
        QTest::newRow("text/html") << QByteArray("text/html");
        QTest::newRow("no Content-Type") << QByteArray();
    }

    void anArchiveIsJudgedByItsContent() {
        QFETCH(QByteArray, type);
        TestProgramFolder folder;
        FaultyServer server(head(200, type, kZip.size()), kZip, false);
        ServiceRequest request(server.address(), ServiceRequest::Expect::PageOrArchive);
        request.setArchiveTarget(folder.file("Eco20261205.zip"));
        QSignalSpy progress(&request, &ServiceRequest::progress);
        const Run result = run(request);
        QVERIFY2(result.outcome && result.outcome.value().archive, qPrintable(result.outcome.reason()));
        QCOMPARE(folder.read("Eco20261205.zip"), kZip);
        QCOMPARE(progress.last().first().toLongLong(), kZip.size());
        QCOMPARE(server.requests, 1);
    }

    void aCancelEndsAStalledDownloadAtOnce() {
        TestProgramFolder folder;
        FaultyServer server(head(200, "application/zip", 100000), kZip, true);
        folder.write("Eco20261205.zip", "archivio di prima");
        ServiceRequest request(server.address(), ServiceRequest::Expect::Archive);
        request.setArchiveTarget(folder.file("Eco20261205.zip"));
        const Run result = run(request, true);
        QCOMPARE(result.outcome.reason(), QString("scaricamento annullato"));
        QVERIFY2(result.ms < 1000, qPrintable(QString::number(result.ms)));
        QCOMPARE(folder.read("Eco20261205.zip"), QByteArray("archivio di prima"));
        QVERIFY2(folder.settlesTo({}, {"Eco20261205.zip"}), qPrintable(folder.files().join(' ')));
    }

    void anArchiveStoreThatCannotBeWrittenIsAFailure() {
        TestProgramFolder folder;
        FaultyServer server(head(200, "application/zip", kZip.size()), kZip, false);
        ServiceRequest request(server.address(), ServiceRequest::Expect::Archive);
        request.setArchiveTarget(folder.file("Manca/Eco20261205.zip"));
        const Run result = run(request);
        QVERIFY2(result.outcome.reason().startsWith("impossibile scrivere"), qPrintable(result.outcome.reason()));
        QVERIFY(result.outcome.reason().contains("Manca"));
    }

    // store() ends with stored() even when the file could not be made, and says why, though no one heard failed().
    void aWriterThatCannotMakeItsFileSaysSoWhenStored() {
        TestProgramFolder folder;
        QObject context;
        std::optional<Outcome<>> stored;
        ArchiveWriter* writer = ArchiveWriter::create(folder.file("Manca/Eco20261205.zip"));
        QObject::connect(writer, &ArchiveWriter::stored, &context, [&](const Outcome<>& outcome) { stored = outcome; });
        writer->start();
        writer->write(kZip);
        writer->store();
        QTRY_VERIFY(stored);
        QVERIFY(!*stored);
        QVERIFY2(stored->reason().startsWith("impossibile scrivere") && stored->reason().contains("Manca"),
                 qPrintable(stored->reason()));
    }

    // Once all of it has come, the archive is stored whole even when its request goes meanwhile (its screen was
    // closed), and nothing else is left beside it.
    void anArchiveBeingStoredIsStoredWhenItsRequestGoes() {
        TestProgramFolder folder;
        const QByteArray archive = "PK\x03\x04" + QByteArray(8 << 20, 'z');
        FaultyServer server(head(200, "application/zip", archive.size()), archive, false);
        QPointer<ServiceRequest> request = new ServiceRequest(server.address(), ServiceRequest::Expect::Archive);
        request->setArchiveTarget(folder.file("Eco20261205.zip"));
        QObject::connect(request, &ServiceRequest::storing, request, &QObject::deleteLater);
        request->start();
        QTRY_VERIFY(!request);
        QTRY_COMPARE(folder.files(), QStringList{"Eco20261205.zip"});
        QVERIFY(folder.read("Eco20261205.zip") == archive);
    }

    void aPageIsRenderedAndAnEmptyBodyIsAnEmptyPage() {
        FaultyServer good(head(200, "text/html", 14), "<pre>A\r\n</pre>", false);
        ServiceRequest request(good.address(), ServiceRequest::Expect::Page);
        const Run result = run(request);
        QVERIFY(result.outcome && result.outcome.value().page.contains("<PRE>A\r\n</PRE>"));
        FaultyServer empty(head(200, "text/html", 0), {}, false);
        ServiceRequest none(empty.address(), ServiceRequest::Expect::PageOrArchive);
        const Run nothing = run(none);
        QVERIFY2(nothing.outcome && !nothing.outcome.value().archive, qPrintable(nothing.outcome.reason()));
    }
};

GIORNALI_TEST_MAIN(TestDownload)
#include "tst_download.moc"
