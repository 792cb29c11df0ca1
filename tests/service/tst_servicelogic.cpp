#include "service/ArchiveFileName.h"
#include "service/HtmlPage.h"
#include "service/Listing.h"
#include "service/ServiceAddress.h"
#include "support/TestMain.h"

#include <QTest>

class TestServiceLogic : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ServiceAddress::setBase({}); }

    void addressesKeepKeysOrderAndCaseAndEncodeValues() {
        ServiceAddress::setBase("http://servizio.example:8080/");
        const QString encodedPassword = "p%26ss%20%2B%3D%80";
        QCOMPARE(ServiceAddress::mastheads("mario", "p&ss +=€").toString(QUrl::FullyEncoded),
                 "http://servizio.example:8080/ondaris/ondaris2.asp?user=mario&password=" + encodedPassword);
        QCOMPARE(ServiceAddress::dates("u", "p", "La Gazzetta").query(QUrl::FullyEncoded),
                 QString("user=u&password=p&testata=La%20Gazzetta"));
        QCOMPARE(ServiceAddress::editions("u", "p", "Eco", "20261205").query(QUrl::FullyEncoded),
                 QString("user=u&password=p&Testata=Eco&Data=20261205"));
        QCOMPARE(ServiceAddress::editionArchive("u", "p", "L'Eco", "20261205", "Città").query(QUrl::FullyEncoded),
                 QString("user=u&password=p&testata=L%27Eco&data=20261205&edizione=Citt%E0"));
        QCOMPARE(ServiceAddress::shown(ServiceAddress::mastheads("u", "segreta")),
                 QString("http://servizio.example:8080/ondaris/ondaris2.asp"));
    }

    void theListingIsCutAndSplit_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("two lines") << "<BODY><PRE>A\r\nB\r\n</PRE></BODY>" << QStringList{"A", "B"};
        QTest::newRow("no final line end") << "<PRE>A\r\nB</PRE>" << QStringList{"A"};
        QTest::newRow("leading empty line") << "<PRE>\r\nA\r\n</PRE>" << QStringList{"", "A"};
        QTest::newRow("bare line feeds") << "<PRE>AB\nCD\n</PRE>" << QStringList{"A", "C"};
        QTest::newRow("empty PRE") << "<PRE></PRE>" << QStringList();
        QTest::newRow("lower-case markers") << "<pre>A\r\n</pre>" << QStringList();
        QTest::newRow("second PRE ignored") << "x<PRE>A\r\n</PRE>y<PRE>B\r\n</PRE>" << QStringList{"A"};
        QTest::newRow("entries kept as they are") << "<PRE> A &amp; B \r\n\r\n</PRE>" << QStringList{" A &amp; B ", ""};
    }

    void theListingIsCutAndSplit() {
        QFETCH(QString, page);
        QFETCH(QStringList, entries);
        QCOMPARE(Listing::entries(Listing::block(page)), entries);
    }

    void withoutTheEndMarkerTheDownloadSeesNoEntries() {
        QCOMPARE(Listing::block("<PRE>A\r\n", Listing::MissingEnd::EmptyBlock), QString());
        QCOMPARE(Listing::block("PK\x03\x04 binary", Listing::MissingEnd::EmptyBlock), QString());
    }

    void pagesAreRenderedWithUpperCaseTagsAndCrLf() {
        const QByteArray body = "<html><head><title>T</title></head><body><p>x</p>\n<pre>\nCitt\xe0\nL\x92"
                                "Eco & Co\n</pre>"
                                "</body></html>";
        const QString page = HtmlPage::render(body, "text/html").value();
        QVERIFY2(page.contains("<PRE>Città\r\nL’Eco & Co\r\n</PRE>"), qPrintable(page));
        QVERIFY(page.startsWith("<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY><P>x</P>\r\n"));
        QCOMPARE(Listing::entries(Listing::block(page)), (QStringList{"Città", "L’Eco & Co"}));
    }

    void theCharsetComesFromTheHeaderThenTheMetaTag() {
        const QByteArray utf8 = "<pre>Citt\xc3\xa0\r\n</pre>";
        QVERIFY(HtmlPage::render(utf8, "text/html; charset=UTF-8").value().contains("<PRE>Città\r\n"));
        QVERIFY(HtmlPage::render("<meta charset=\"utf-8\">" + utf8, "text/html").value().contains("<PRE>Città\r\n"));
        QVERIFY(HtmlPage::render("<pre>Citt\xe0\r\n</pre>", "text/html").value().contains("<PRE>Città\r\n"));
    }

    // Markup built to exhaust the parser is refused by the limits on elements and tags, long before the clock;
    // a large listing is read whole.
    void hostilePagesAreRefusedAndLargeListingsRead_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        const QByteArray listing = "<pre>\r\n" + QByteArray("Testata\r\n").repeated(500000) + "</pre>";
        QTest::newRow("5 MB listing") << listing << QString();
        QTest::newRow("20,000 nested div") << QByteArray("<div>").repeated(20000) + listing
                                           << "la pagina del servizio è troppo complessa per essere letta";
        QTest::newRow("nested formatting") << QByteArray("<i><b>").repeated(50000) + listing
                                           << "la pagina del servizio è troppo complessa per essere letta";
        QTest::newRow("repeated attributes") << "<a" + QByteArray(" b").repeated(1000000) + ">" + listing
                                             << "la pagina del servizio è troppo complessa per essere letta";
        QTest::newRow("over 8 MB") << QByteArray(9 << 20, 'x') << "la pagina del servizio supera il limite di 8 MB";
    }

    void hostilePagesAreRefusedAndLargeListingsRead() {
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        const Outcome<QString> page = HtmlPage::render(body, "text/html");
        QCOMPARE(page.reason(), reason);
        if (page)
            QCOMPARE(Listing::entries(Listing::block(page.value())).size(), 500000);
    }

    void archiveNamesNeverLeaveTheStore_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        const auto row = [](const char* tag, const QString& name, const QString& file) {
            QTest::newRow(tag) << name << file;
        };
        row("plain", "La Gazzetta20261205Nord", "La Gazzetta20261205Nord.zip");
        row("separators", "../../etc/Eco\\x:20261205", ".._.._etc_Eco_x_20261205.zip");
        row("reserved", "a*b?c\"d<e>f|g\th", "a_b_c_d_e_f_g_h.zip");
        row("dot", ".", "_.zip");
        row("dot dot", "..", "_.zip");
    }

    void archiveNamesNeverLeaveTheStore() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(archiveFileName(name), file);
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestServiceLogic)
#include "tst_servicelogic.moc"
