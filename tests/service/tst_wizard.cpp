// The download wizard end to end, over loopback, against the real demo service.
#include "app/FrmLetturaGiornali.h"
#include "platform/Screen.h"
#include "platform/SharedState.h"
#include "reader/FrmLeggiGiornale.h"
#include "service/FrmDownload.h"
#include "service/FrmEdizione.h"
#include "service/FrmTestata.h"
#include "service/ServiceAddress.h"
#include "support/DemoService.h"
#include "support/FaultyServer.h"
#include "support/Screens.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>

namespace {
const QString kPassword = "p&ss +=€"; // every character the query must carry faithfully
}

class TestWizard : public QObject {
    Q_OBJECT

    static FrmLetturaGiornali& menu(TestProgramFolder& folder, const QString& password = kPassword) {
        folder.write("accesso.txt", "demo--" + encodeProfile(password));
        QDir(folder.path()).mkpath("Giornali");
        FrmLetturaGiornali& m = Screen<FrmLetturaGiornali>::show();
        if (!QTest::qWaitForWindowActive(&m))
            qWarning("menu not active");
        return m;
    }

    static QByteArray encodeProfile(const QString& password) {
        QByteArray bytes;
        for (const QChar c : password)
            bytes += c == QChar(0x20AC) ? '\x80' : static_cast<char>(c.unicode());
        return bytes + "\r\n";
    }

    static void preleva(FrmLetturaGiornali& m) { child<QPushButton>(&m, "CmdPrelevaGiornale")->click(); }

    template <typename F> static F* shown() {
        F* form = Screen<F>::ifLoaded();
        return form && form->isVisible() ? form : nullptr;
    }

    // The screen once its page has come and it has shown itself.
    template <typename F> static F* arrived() {
        QTest::qWaitFor([] { return shown<F>() != nullptr; }, 5000);
        return shown<F>();
    }

    static QStringList items(QWidget* screen, const char* list) {
        auto* combo = child<QComboBox>(screen, list);
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    // Waits for the list of the screen just shown to have the focus, then presses Enter in it.
    static void enterIn(const char* list) {
        QTRY_COMPARE(focusedName(), QString(list));
        key(Qt::Key_Return);
    }

    // Il Corriere della Valle, its only date: the download screen with the provincial editions.
    static void walkToEditions(FrmLetturaGiornali& m) {
        preleva(m);
        enterIn("CboGiornali");
        enterIn("CboEdizioni");
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void anIssueWithoutEditionsIsDownloadedAtOnceAndRead() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        preleva(m);
        FrmTestata* testata = arrived<FrmTestata>();
        QVERIFY(testata);
        QCOMPARE(testata->windowTitle(), QString("Seleziona Testata"));
        QCOMPARE(items(testata, "CboGiornali"),
                 (QStringList{"Il Corriere della Valle", "L'Eco del Mattino", "La Gazzetta del Borgo"}));
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_End);
        key(Qt::Key_Return);

        FrmEdizione* edizione = arrived<FrmEdizione>();
        QVERIFY(edizione);
        QCOMPARE(SharedState::instance().Testata, QString("La Gazzetta del Borgo"));
        QCOMPARE(items(edizione, "CboEdizioni"), (QStringList{"venerdì 4 dicembre 2026", "sabato 5 dicembre 2026"}));
        QCOMPARE(child<QComboBox>(edizione, "CboEdizioni")->currentIndex(), 1);
        QTRY_COMPARE(focusedName(), QString("CboEdizioni"));

        folder.toolkit.answerProgress();
        folder.toolkit.expectMessage();
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmLeggiGiornale>());
        QCOMPARE(folder.toolkit.shown().at(0).kind, ScriptedToolkit::Kind::Progress);
        QCOMPARE(folder.toolkit.shown().at(0).text,
                 QStringLiteral("Scaricamento di «La Gazzetta del Borgo di sabato 5 dicembre 2026» in corso…"));
        QCOMPARE(folder.toolkit.shown().at(1).text, QStringLiteral("Il giornale è stato scaricato con successo!"));
        QCOMPARE(folder.toolkit.shown().at(1).title, QString("Download Completato"));
        QCOMPARE(folder.toolkit.shown().at(1).icon, Toolkit::Icon::Exclamation);
        QVERIFY(folder.toolkit.progressTotal > 0);
        QCOMPARE(folder.toolkit.progressDone, folder.toolkit.progressTotal);
        QVERIFY(QFile::exists(folder.file("Giornali/La Gazzetta del Borgo20261205.zip")));
        QVERIFY(!shown<FrmTestata>() && !shown<FrmEdizione>() && !shown<FrmDownload>());
        QVERIFY(shown<FrmLeggiGiornale>());
        QCOMPARE(shown<FrmLeggiGiornale>()->windowTitle(),
                 QStringLiteral("La Gazzetta del Borgo di sabato 5 dicembre 2026"));
    }

    void aProvincialEditionIsChosenThenDownloaded() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        walkToEditions(m);
        FrmDownload* download = shown<FrmDownload>();
        QVERIFY(download && !shown<FrmEdizione>());
        QCOMPARE(download->windowTitle(), QString("Scarica testata"));
        QCOMPARE(items(download, "CboGiornali"), (QStringList{"Nord", "Sud"}));
        QCOMPARE(child<QComboBox>(download, "CboGiornali")->currentIndex(), 0);
        QVERIFY(download->UrlRichiesta.query(QUrl::FullyEncoded)
                    .contains("&Testata=Il%20Corriere%20della%20Valle&Data=20261205"));

        key(Qt::Key_Down);
        folder.toolkit.answerProgress();
        folder.toolkit.expectMessage();
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmLeggiGiornale>());
        QVERIFY(QFile::exists(folder.file("Giornali/Il Corriere della Valle20261205Sud.zip")));
        QCOMPARE(SharedState::instance().NomeScaricato,
                 QStringLiteral("Il Corriere della Valle - Sud di sabato 5 dicembre 2026"));
        QVERIFY(shown<FrmLeggiGiornale>());
        QCOMPARE(shown<FrmLeggiGiornale>()->windowTitle(), SharedState::instance().NomeScaricato);
    }

    void wrongCredentialsEndTheWizardWithAMessage() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder, "sbagliata");
        SharedState::instance().NomeGiornale = "vecchio";
        folder.toolkit.expectMessage();
        preleva(m);
        QTRY_COMPARE(folder.toolkit.pending(), 0);
        const auto& box = folder.toolkit.shown().first();
        QCOMPARE(box.text, QString("Elenco giornali non presente o utente non abilitato!"));
        QCOMPARE(box.title, QString("Lettore Giornali Progetto Ondaris"));
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QVERIFY(!shown<FrmTestata>());
        QCOMPARE(SharedState::instance().NomeGiornale, QString());
    }

    void escStepsBackAndAnnullaLeaves() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        preleva(m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Down);
        key(Qt::Key_Return); // L'Eco del Mattino
        QTRY_COMPARE(focusedName(), QString("CboEdizioni"));
        key(Qt::Key_Escape);
        FrmTestata* again = arrived<FrmTestata>();
        QVERIFY(again && !shown<FrmEdizione>());
        QCOMPARE(child<QComboBox>(again, "CboGiornali")->currentIndex(), 0); // a fresh exchange
        QCOMPARE(SharedState::instance().Testata, QString());

        enterIn("CboGiornali");
        enterIn("CboEdizioni");
        QVERIFY(arrived<FrmDownload>());
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Escape);
        QVERIFY(arrived<FrmEdizione>() && !shown<FrmDownload>());
        child<QPushButton>(shown<FrmEdizione>(), "Command1")->click();
        QVERIFY(!shown<FrmEdizione>() && !shown<FrmTestata>());

        preleva(m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!shown<FrmTestata>());
        QCOMPARE(SharedState::instance().Testata, QString());
    }

    void noEditionSelectedIsAsked() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        walkToEditions(m);
        FrmDownload* download = shown<FrmDownload>();
        child<QComboBox>(download, "CboGiornali")->setCurrentIndex(-1);
        folder.toolkit.expectMessage();
        child<QPushButton>(download, "CmdContinua")->click();
        QCOMPARE(folder.toolkit.shown().last().text, QString("Selezionare l'edizione!"));
        QCOMPARE(folder.toolkit.shown().last().title, QString("Seleziona edizione provinciale!"));
        QVERIFY(shown<FrmDownload>());
    }

    void aFailedDownloadSaysWhyKeepsTheStoredArchiveAndOpensNothing() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Ieri-000.txt", "001 x\r\n");
        walkToEditions(m);
        QFile::remove(service.issues() + "/Il Corriere della Valle20261205Nord.zip"); // the service now answers 404
        folder.write("Giornali/Il Corriere della Valle20261205Nord.zip", "archivio di prima");

        folder.toolkit.answerProgress();
        folder.toolkit.expectMessage();
        key(Qt::Key_Return);
        QTRY_COMPARE(folder.toolkit.pending(), 0);
        const auto& box = folder.toolkit.shown().last();
        QCOMPARE(box.text, QString("Il giornale non è stato scaricato!\nErrore 404 del servizio."));
        QCOMPARE(box.title, QString("Download fallito"));
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QCOMPARE(folder.read("Giornali/Il Corriere della Valle20261205Nord.zip"), QByteArray("archivio di prima"));
        QCOMPARE(QDir(folder.file("Giornali")).entryList(QDir::Files).size(), 1); // no partial file
        QVERIFY(!shown<FrmDownload>() && !shown<FrmLeggiGiornale>());
        QVERIFY(QFile::exists(folder.file("Temp/01-Ieri-000.txt")));
    }

    // The masthead screen is in front and the date page never comes: whatever the user does meanwhile, nothing
    // is left half-shown and nothing crashes.
    void closingOrCancellingWhileTheNextPageLoads_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("Annulla") << "annulla";
        QTest::newRow("close box") << "close";
        QTest::newRow("Annulla in the wait") << "wait";
        QTest::newRow("Enter and Esc wait their turn") << "keys";
    }

    void closingOrCancellingWhileTheNextPageLoads() {
        QFETCH(QString, action);
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FaultyServer silent({}, {}, true);
        FrmLetturaGiornali& m = menu(folder);
        preleva(m);
        FrmTestata* testata = arrived<FrmTestata>();
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        ServiceAddress::setBase(silent.base());
        key(Qt::Key_Return);
        QTRY_COMPARE(silent.requests, 1);
        QVERIFY(Screen<FrmEdizione>::isLoaded() && !shown<FrmEdizione>());
        if (action == "annulla") {
            child<QPushButton>(testata, "Command1")->click();
        } else if (action == "close") {
            testata->close();
        } else if (action == "wait") {
            QTRY_VERIFY(folder.toolkit.waitOpen());
            folder.toolkit.cancelWait();
        } else {
            key(Qt::Key_Escape);
            key(Qt::Key_Return);
            QTest::qWait(50);
            QCOMPARE(silent.requests, 1);
            QVERIFY(shown<FrmTestata>() == testata);
            child<QPushButton>(testata, "Command1")->click();
        }
        QTRY_VERIFY(!Screen<FrmEdizione>::isLoaded());
        QVERIFY(!folder.toolkit.waitOpen());
        if (action == "wait") {
            QVERIFY(shown<FrmTestata>() == testata);
            QTRY_COMPARE(focusedName(), QString("CboGiornali"));
            QCOMPARE(SharedState::instance().Testata, QString("Il Corriere della Valle"));
        } else {
            QTRY_VERIFY(!Screen<FrmTestata>::isLoaded());
        }
    }

    void aCancelledDownloadSaysSoWithinASecond() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FaultyServer stalled(FaultyServer::head(200, "application/zip", 100000), "PK\x03\x04zzzz", true);
        FrmLetturaGiornali& m = menu(folder);
        walkToEditions(m);
        folder.write("Giornali/Il Corriere della Valle20261205Nord.zip", "archivio di prima");
        ServiceAddress::setBase(stalled.base());
        folder.toolkit.answerProgress();
        folder.toolkit.expectMessage();
        key(Qt::Key_Return);
        QTRY_VERIFY(folder.toolkit.progressOpen());
        QElapsedTimer clock;
        clock.start();
        folder.toolkit.cancelProgress();
        QTRY_COMPARE(folder.toolkit.pending(), 0);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(folder.toolkit.shown().last().text,
                 QString("Il giornale non è stato scaricato!\nScaricamento annullato."));
        QCOMPARE(folder.read("Giornali/Il Corriere della Valle20261205Nord.zip"), QByteArray("archivio di prima"));
        QCOMPARE(QDir(folder.file("Giornali")).entryList(QDir::Files).size(), 1);
        QTRY_VERIFY(!Screen<FrmDownload>::isLoaded() && !shown<FrmEdizione>());
    }

    // Where the date list would be, words say that there is none, and why; Enter and Esc work as in the list.
    void anEmptyOrFailedDateListSaysSoOnTheScreen_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("notice");
        QTest::newRow("empty") << FaultyServer::head(200, "text/html", 13) + "<pre>\r\n</pre>"
                               << "Nessuna data disponibile per questa testata.";
        QTest::newRow("error") << FaultyServer::head(500, "text/html", 0)
                               << "Nessuna data disponibile.\nErrore 500 del servizio.";
    }

    void anEmptyOrFailedDateListSaysSoOnTheScreen() {
        QFETCH(QByteArray, answer);
        QFETCH(QString, notice);
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FaultyServer server(answer, {}, false);
        FrmLetturaGiornali& m = menu(folder);
        preleva(m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        ServiceAddress::setBase(server.base());
        key(Qt::Key_Return);
        FrmEdizione* edizione = arrived<FrmEdizione>();
        QVERIFY(edizione);
        QTRY_COMPARE(focusedName(), QString("AvvisoElencoVuoto"));
        QCOMPARE(accessibleName(QApplication::focusWidget()), notice);
        QVERIFY(!child(edizione, "CboEdizioni")->isVisible());
        ServiceAddress::setBase(service.base());
        key(Qt::Key_Escape);
        QVERIFY(arrived<FrmTestata>());
    }

    void everyVisibleControlHasAnItalianName() {
        TestProgramFolder folder;
        DemoService service("demo", kPassword);
        FrmLetturaGiornali& m = menu(folder);
        preleva(m);
        QVERIFY(arrived<FrmTestata>());
        QCOMPARE(unnamedControls(shown<FrmTestata>()), QStringList());
        QCOMPARE(accessibleName(child(shown<FrmTestata>(), "CboGiornali")), QString("Testate"));
        QCOMPARE(accessibleName(child(shown<FrmTestata>(), "Command1")), QString("Annulla"));
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmEdizione>());
        QCOMPARE(unnamedControls(shown<FrmEdizione>()), QStringList());
        folder.toolkit.expectMessage();
        key(Qt::Key_F1);
        QCOMPARE(folder.toolkit.shown().last().title, QString("Tasti dello scaricamento"));
        QCOMPARE(accessibleName(child(shown<FrmEdizione>(), "CboEdizioni")), QString("Edizioni"));
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
