#include "reader/ArticleParagraphs.h"
#include "reader/NewspaperStructure.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace NewspaperStructure;

class TestNewspaperStructure : public QObject {
    Q_OBJECT

private slots:
    void indexNamesAreCutIntoShownNames_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QStringList>("sections"); // shown name=index file
        QTest::newRow("sections and articles")
            << QStringList{"01-Cronaca-000.txt", "Cronaca-001.txt", "Cronaca-002.txt", "02-Sport_000.txt"} << true
            << QStringList{"Cronaca=01-Cronaca-000.txt", "Sport=02-Sport_000.txt"};
        QTest::newRow("dash inside the name")
            << QStringList{"03-Prima-pagina-000.txt"} << true << QStringList{"Prima-pagina=03-Prima-pagina-000.txt"};
        QTest::newRow("no prefix") << QStringList{"Esteri_000.txt"} << true << QStringList{"Esteri=Esteri_000.txt"};
        QTest::newRow("empty shown name") << QStringList{"X000.txt"} << true << QStringList{"=X000.txt"};
        QTest::newRow("extension not examined") << QStringList{"01-Cronaca-000.doc", "02-Sport-000abcd"} << true
                                                << QStringList{"Cronaca=01-Cronaca-000.doc", "Sport=02-Sport-000abcd"};
        QTest::newRow("equal names kept twice") << QStringList{"01-Sport-000.txt", "02-Sport-000.txt"} << true
                                                << QStringList{"Sport=01-Sport-000.txt", "Sport=02-Sport-000.txt"};
        QTest::newRow("listing order kept") << QStringList{"b-Zeta-000.txt", "a-Alfa-000.txt"} << true
                                            << QStringList{"Zeta=b-Zeta-000.txt", "Alfa=a-Alfa-000.txt"};
        QTest::newRow("only articles") << QStringList{"Cronaca-001.txt", "leggimi.txt", "00", ""} << true
                                       << QStringList();
        QTest::newRow("empty folder") << QStringList() << true << QStringList();
        QTest::newRow("article 000 of a name without dash")
            << QStringList{"01-Cronaca-000.txt", "Sport-000.txt"} << false << QStringList();
        QTest::newRow("empty base") << QStringList{"000.txt"} << false << QStringList();
        QTest::newRow("short name") << QStringList{"000ab"} << false << QStringList();
    }

    void indexNamesAreCutIntoShownNames() {
        QFETCH(QStringList, files);
        QFETCH(bool, cut);
        QFETCH(QStringList, sections);
        const auto scan = scanFileNames(files);
        QCOMPARE(scan.ok(), cut);
        QStringList got;
        for (const Section& section : scan ? scan.value() : QList<Section>())
            got << section.shownName + "=" + section.indexFile;
        QCOMPARE(got, sections);
        if (!cut)
            QVERIFY(scan.reason().contains(files.last()));
    }

    void pathsAreJoinedAsTheyStand() {
        const QString sep = QDir::separator();
        QCOMPARE(sectionIndexPath("/p/Temp", "01-Cronaca-000.txt"), "/p/Temp" + sep + "01-Cronaca-000.txt");
        QCOMPARE(articlePath("/p/Temp", "Cronaca", "001 Incendio"), "/p/Temp" + sep + "Cronaca-001.txt");
        QCOMPARE(articlePath("/p/Temp", "Prima-pagina", "7"), "/p/Temp" + sep + "Prima-pagina-7.txt");
    }

    // "|" stands for the paragraph break.
    void longArticlesAreCutIntoParagraphs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("longest");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<qsizetype>>("inserted");
        QTest::newRow("short") << "Uno due." << qsizetype(8) << "Uno due." << QList<qsizetype>{};
        QTest::newRow("after a sentence, else between words")
            << "Aaa bb. cc dd ee ff gg" << qsizetype(12) << "Aaa bb.|cc dd ee ff|gg" << QList<qsizetype>{};
        QTest::newRow("no space") << "abcdefghij" << qsizetype(4) << "abcd|efgh|ij" << QList<qsizetype>{4, 8};
        QTest::newRow("surrogate pair kept whole")
            << QStringLiteral("abc😀def") << qsizetype(4) << QStringLiteral("abc|😀de|f") << QList<qsizetype>{3, 7};
    }

    void longArticlesAreCutIntoParagraphs() {
        QFETCH(QString, text);
        QFETCH(qsizetype, longest);
        QFETCH(QString, expected);
        QFETCH(QList<qsizetype>, inserted);
        const ArticleParagraphs cut = ArticleParagraphs::cut(text, longest);
        QCOMPARE(QString(cut.text).replace(QChar::ParagraphSeparator, QLatin1Char('|')), expected);
        QCOMPARE(cut.inserted, inserted);
        for (qsizetype at = 0; at < text.size(); ++at) // every character keeps its place, or moves past the breaks
            QCOMPARE(cut.text.at(cut.shown(at)) == QChar::ParagraphSeparator ? QChar(' ') : cut.text.at(cut.shown(at)),
                     text.at(at));
    }

    void contentsAndArticlesAreReadAsWindowsText() {
        TestProgramFolder folder;
        folder.write("indice.txt", "001 Citt\xe0 in festa\r\n002 \x93Il caff\xe8\x94 a 2 \x80\r\n");
        QCOMPARE(CaricaSommario(folder.file("indice.txt")).value(),
                 (QStringList{QStringLiteral("001 Città in festa"), QStringLiteral("002 “Il caffè” a 2 €")}));
        folder.write("vuoto.txt", "");
        QCOMPARE(CaricaSommario(folder.file("vuoto.txt")).value(), QStringList());

        folder.write("a.txt", "Primo\r\nSecondo\nTerzo\r\n");
        QCOMPARE(CaricaArticolo(folder.file("a.txt")).value(), QString("PrimoSecondoTerzo"));
        folder.write("b.txt", "L\x92"
                              "agenzia \x96 pi\xf9 \x80\r\n\r\nfine\rqui");
        QCOMPARE(CaricaArticolo(folder.file("b.txt")).value(), QStringLiteral("L’agenzia – più €fine\rqui"));
        folder.write("c.txt", "a\r\r\n\n");
        QCOMPARE(CaricaArticolo(folder.file("c.txt")).value(), QString("a\r"));
        QVERIFY(CaricaArticolo(folder.file("manca.txt")).reason().contains("manca.txt"));
        QVERIFY(RilevaStruttura(folder.file("manca")).reason().contains("manca"));
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestNewspaperStructure)
#include "tst_newspaperstructure.moc"
