// The library of stored issues: order and titles from the file names, opening, deleting.
#include "app/FrmLetturaGiornali.h"
#include "platform/Announcer.h"
#include "platform/Screen.h"
#include "reader/ArticleSearch.h"
#include "reader/FrmCercaGiornali.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/IssueOpening.h"
#include "reader/StoreSearchRunner.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

class TestLibrary : public QObject {
    Q_OBJECT

    static QString stored(const QDate& date, const QString& masthead = "Eco", const QString& edition = {}) {
        return masthead + date.toString("yyyyMMdd") + edition + ".zip";
    }

    static FrmGiornaliScaricati& library(TestProgramFolder& folder, const QStringList& files) {
        folder.write("accesso.txt", "demo--demo\r\n");
        QDir(folder.path()).mkpath("Giornali");
        for (const QString& file : files) {
            if (!ZipBuilder()
                     .file("01-Cronaca-000.txt", "001 Unico\r\n")
                     .file("Cronaca-001.txt", file.toUtf8() + "\r\n")
                     .write(folder.file("Giornali/" + file)))
                qWarning("cannot write %s", qPrintable(file));
        }
        FrmLetturaGiornali& menu = Screen<FrmLetturaGiornali>::show();
        child<QPushButton>(&menu, "CmdGiornaliScaricati")->click();
        FrmGiornaliScaricati* screen = Screen<FrmGiornaliScaricati>::ifLoaded();
        if (!QTest::qWaitFor([screen] { return screen->isVisible(); }) || !QTest::qWaitForWindowActive(screen))
            qWarning("library not active");
        return *screen;
    }

    static QStringList titles(FrmGiornaliScaricati& screen) { return itemTexts(&screen, "CboGiornaliScaricati"); }

    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // Case and accents do not count, and a word split by a line end is found as the reader joins the lines.
    void searchMatchesAsTheReaderShowsTheText_data() {
        QTest::addColumn<QByteArray>("article");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("context"); // empty: no match
        QTest::newRow("accent") << QByteArray("La citt\xe0 di notte.\r\n") << "CITTA"
                                << "La città di notte.";
        QTest::newRow("accent typed") << QByteArray("Ecco perch\xe9.\r\n") << "perché"
                                      << "Ecco perché.";
        QTest::newRow("split line") << QByteArray("Il mer\r\ncato apre.\r\n") << "mercato"
                                    << "Il mercato apre.";
        QTest::newRow("no match") << QByteArray("Le case.\r\n") << "casa" << QString();
    }

    void searchMatchesAsTheReaderShowsTheText() {
        QFETCH(QByteArray, article);
        QFETCH(QString, word);
        QFETCH(QString, context);
        ArticleSearch::IssueScan scan(word);
        scan.addFile("Cronaca-002.txt", article); // the article before its index, as an archive may hold them
        scan.addFile("01-Cronaca-000.txt", "001 Altro\r\n002 Il titolo\r\n");
        const QList<ArticleSearch::Hit> hits = scan.hits();
        QCOMPARE(hits.size(), context.isEmpty() ? 0 : 1);
        if (hits.isEmpty())
            return;
        QCOMPARE(hits[0].context, context);
        QCOMPARE(hits[0].title, QString("Il titolo"));
        QCOMPARE(ArticleSearch::fold(context.mid(hits[0].offset, hits[0].length)), ArticleSearch::fold(word));
    }

    // Stopped after the first archive's results, the search reports nothing more and ends.
    void aStoreSearchCanBeStopped() {
        TestProgramFolder folder;
        QStringList archives;
        for (int i = 0; i < 12; ++i) {
            archives << folder.file(QString("Eco202612%1.zip").arg(10 + i));
            QVERIFY(ZipBuilder()
                        .file("01-Cronaca-000.txt", "001 Unico\r\n")
                        .file("Cronaca-001.txt", "parola\r\n")
                        .write(archives.last()));
        }
        StoreSearch::Runner runner(archives, "parola");
        int reported = 0;
        bool finished = false;
        connect(&runner, &StoreSearch::Runner::found, [&](int archive, const QList<ArticleSearch::Hit>& hits) {
            QCOMPARE(archive, reported++); // in the order of the list
            QCOMPARE(hits.size(), 1);
            runner.stop();
        });
        connect(&runner, &StoreSearch::Runner::finished, [&] { finished = true; });
        runner.start();
        QTRY_VERIFY(finished);
        QCOMPARE(reported, 1);
    }

    // Every stored archive is read as it is, newest first, and those that cannot be read are counted and named;
    // Enter opens the issue at the article, the word selected.
    void aWordIsFoundInEveryStoredIssue() {
        TestProgramFolder folder;
        library(folder, {"Eco20261130.zip", "La Gazzetta20261205.zip"});
        Screen<FrmGiornaliScaricati>::ifLoaded()->close();
        folder.write("Giornali/Rotto20261201.zip", "non un archivio");
        folder.write("Giornali/Rotto20261202.zip", "nemmeno questo");
        bool shownUnderTheBox = true; // the box keeps the focus: the screen shows only once the word is given
        folder.toolkit.answerText("eco20261130",
                                  [&] { shownUnderTheBox = Screen<FrmCercaGiornali>::ifLoaded()->isVisible(); });
        child<QPushButton>(Screen<FrmLetturaGiornali>::ifLoaded(), "CmdCercaGiornali")->click();
        QVERIFY(!shownUnderTheBox);
        FrmCercaGiornali* search = Screen<FrmCercaGiornali>::ifLoaded();
        QVERIFY(search);
        QTRY_COMPARE(child<Announcer>(search, "Annuncio")->text(),
                     QString("1 risultato; 2 giornali non leggibili: «Rotto20261202.zip» non si può leggere; "
                             "«Rotto20261201.zip» non si può leggere"));
        auto* results = child<QComboBox>(search, "CboRisultati");
        QCOMPARE(results->itemText(0), QString("Eco di lunedì 30 novembre 2026 - Cronaca - Unico: Eco20261130.zip"));
        QVERIFY(!QFile::exists(folder.file("Temp"))); // nothing extracted to search
        QTest::keyClick(results, Qt::Key_Return);
        QTRY_VERIFY(!IssueOpening::isRunning() && Screen<FrmLeggiGiornale>::ifLoaded());
        auto* text = child<QPlainTextEdit>(Screen<FrmLeggiGiornale>::ifLoaded(), "Testo");
        QTRY_COMPARE(text->textCursor().selectedText(), QString("Eco20261130"));
    }

    void newestFirstAndEnterOpensTheChosenIssue() {
        TestProgramFolder folder;
        FrmGiornaliScaricati& screen = library(
            folder, {"La Gazzetta20261204.zip", "La Gazzetta20261205Nord.zip", "Eco20261130.zip", "mio archivio.zip"});
        QCOMPARE(titles(screen),
                 (QStringList{"La Gazzetta - Nord di sabato 5 dicembre 2026", "La Gazzetta di venerdì 4 dicembre 2026",
                              "Eco di lunedì 30 novembre 2026", "mio archivio"}));
        QCOMPARE(focusedName(), QString("CboGiornaliScaricati"));
        QCOMPARE(accessibleName(child(&screen, "CboGiornaliScaricati")), QString("Giornali scaricati"));
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_VERIFY(!IssueOpening::isRunning() && Screen<FrmLeggiGiornale>::ifLoaded());
        QCOMPARE(Screen<FrmLeggiGiornale>::ifLoaded()->windowTitle(),
                 QString("La Gazzetta di venerdì 4 dicembre 2026"));
        QVERIFY(!Screen<FrmGiornaliScaricati>::isLoaded());
    }

    // Only names the program recognises are deleted, and only after a question whose default is No.
    void deletingAsksAndTouchesOnlyRecognisedNames() {
        TestProgramFolder folder;
        const QDate today = QDate::currentDate();
        FrmGiornaliScaricati& screen =
            library(folder, {stored(today.addDays(-40)), stored(today.addDays(-10)), "mio archivio.zip",
                             "ricevute 20190301.zip"}); // a user's file with a date: not a name of ours
        folder.toolkit.answerConfirm(false);
        key(Qt::Key_Delete);
        QCOMPARE(folder.toolkit.shown().last().text, "Eliminare " + titles(screen).first() + "?");
        QCOMPARE(titles(screen).size(), 4);

        const QString oldest = titles(screen).at(1); // newest first
        folder.toolkit.answerNumber(30);
        folder.toolkit.answerConfirm(true);
        child<QPushButton>(&screen, "CmdEliminaVecchi")->click();
        QCOMPARE(folder.toolkit.shown().last().text,
                 "Eliminare 1 giornale più vecchio di 30 giorni?\n" + oldest); // named
        QTRY_COMPARE(titles(screen).size(), 3);
        QCOMPARE(folder.files("Giornali"),
                 (QStringList{stored(today.addDays(-10)), "mio archivio.zip", "ricevute 20190301.zip"}));

        key(Qt::Key_End); // "ricevute 20190301": not a name of ours
        folder.toolkit.answerConfirm(true);
        folder.toolkit.expectMessage();
        key(Qt::Key_Delete);
        QTRY_VERIFY(folder.toolkit.shown().last().text.contains(
            "«ricevute 20190301» non è un giornale scaricato dal programma"));
        QVERIFY(QFile::exists(folder.file("Giornali/ricevute 20190301.zip")));

        key(Qt::Key_Home);
        folder.toolkit.answerConfirm(true);
        key(Qt::Key_Delete);
        key(Qt::Key_Return); // the issue being deleted is not opened
        QTRY_COMPARE(titles(screen), (QStringList{"mio archivio", "ricevute 20190301"}));
        QVERIFY(!Screen<FrmLeggiGiornale>::ifLoaded());
        key(Qt::Key_Escape);
        QTRY_VERIFY(!Screen<FrmGiornaliScaricati>::isLoaded());
    }
};

GIORNALI_TEST_MAIN(TestLibrary)
#include "tst_library.moc"
