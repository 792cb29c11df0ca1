// The download wizard end to end, over loopback, against the real demo service.
#include "app/FrmLetturaGiornali.h"
#include "platform/Cp1252.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "service/FrmDownload.h"
#include "service/FrmEdizione.h"
#include "service/FrmTestata.h"
#include "service/ServiceAddress.h"
#include "support/DemoService.h"
#include "support/FaultyServer.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <deque>

namespace {

const QString kPassword = "p&ss +=€"; // every character the query must carry faithfully

// Message boxes stay up until the test answers them, as the real ones do; an answer reaches only a context that
// still lives.
class HeldBoxes : public ScriptedToolkit {
public:
    using ScriptedToolkit::message;
    void message(QObject* context, const QString& text, const QString& title, Icon icon,
                 std::function<void()> then) override {
        ScriptedToolkit::message(text, title, icon);
        m_up.push_back({context, std::move(then)});
    }
    bool boxUp() const { return !m_up.empty(); }
    void answer() {
        const auto [context, then] = m_up.front();
        m_up.pop_front();
        if (context && then)
            then();
    }

private:
    std::deque<std::pair<QPointer<QObject>, std::function<void()>>> m_up;
};

} // namespace

class TestWizard : public QObject {
    Q_OBJECT

    static FrmLetturaGiornali& menu(TestProgramFolder& folder, const QString& password) {
        folder.write("accesso.txt", "demo--" + Cp1252::encode(password) + "\r\n"); // as the program writes it
        QDir(folder.path()).mkpath("Giornali");
        return showActive<FrmLetturaGiornali>();
    }

    // A program folder with the profile, the demo service, and the main menu on screen.
    struct Session : TestProgramFolder {
        explicit Session(const QString& password = kPassword) : m(menu(*this, password)) {}
        DemoService service{"demo", kPassword};
        FrmLetturaGiornali& m;
    };

    static void preleva(FrmLetturaGiornali& m) { child<QPushButton>(&m, "CmdPrelevaGiornale")->click(); }

    template <typename F> static F* shown() {
        F* form = Screen<F>::ifLoaded();
        return form && form->isVisible() ? form : nullptr;
    }

    // The screen once its page has come and it has shown itself.
    template <typename F> static F* arrived() {
        [[maybe_unused]] const bool came = QTest::qWaitFor([] { return shown<F>() != nullptr; }, 5000);
        return shown<F>();
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
        Session s;
        preleva(s.m);
        FrmTestata* testata = arrived<FrmTestata>();
        QVERIFY(testata);
        QCOMPARE(testata->windowTitle(), QString("Seleziona Testata"));
        QCOMPARE(itemTexts(testata, "CboGiornali"),
                 (QStringList{"Il Corriere della Valle", "L'Eco del Mattino", "La Gazzetta del Borgo"}));
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_End);
        key(Qt::Key_Return);

        FrmEdizione* edizione = arrived<FrmEdizione>();
        QVERIFY(edizione);
        QCOMPARE(edizione->session().Testata, QString("La Gazzetta del Borgo"));
        QCOMPARE(itemTexts(edizione, "CboEdizioni"),
                 (QStringList{"venerdì 4 dicembre 2026", "sabato 5 dicembre 2026"}));
        QCOMPARE(child<QComboBox>(edizione, "CboEdizioni")->currentIndex(), 1);
        QTRY_COMPARE(focusedName(), QString("CboEdizioni"));

        s.toolkit.answerProgress();
        s.toolkit.expectMessage();
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmLeggiGiornale>());
        QCOMPARE(s.toolkit.shown().at(0).kind, ScriptedToolkit::Kind::Progress);
        QCOMPARE(s.toolkit.shown().at(0).text,
                 QStringLiteral("Scaricamento di «La Gazzetta del Borgo di sabato 5 dicembre 2026» in corso…"));
        QCOMPARE(s.toolkit.shown().at(1).text, QStringLiteral("Il giornale è stato scaricato con successo!"));
        QCOMPARE(s.toolkit.shown().at(1).title, QString("Download Completato"));
        QCOMPARE(s.toolkit.shown().at(1).icon, Toolkit::Icon::Exclamation);
        QVERIFY(s.toolkit.progressTotal > 0);
        QCOMPARE(s.toolkit.progressDone, s.toolkit.progressTotal);
        QVERIFY(QFile::exists(s.file("Giornali/La Gazzetta del Borgo20261205.zip")));
        QVERIFY(!shown<FrmTestata>() && !shown<FrmEdizione>() && !shown<FrmDownload>());
        QVERIFY(shown<FrmLeggiGiornale>());
        QCOMPARE(shown<FrmLeggiGiornale>()->windowTitle(),
                 QStringLiteral("La Gazzetta del Borgo di sabato 5 dicembre 2026"));
    }

    void aProvincialEditionIsChosenThenDownloaded() {
        Session s;
        walkToEditions(s.m);
        FrmDownload* download = shown<FrmDownload>();
        QVERIFY(download && !shown<FrmEdizione>());
        QCOMPARE(download->windowTitle(), QString("Scarica testata"));
        QCOMPARE(itemTexts(download, "CboGiornali"), (QStringList{"Nord", "Sud"}));
        QCOMPARE(child<QComboBox>(download, "CboGiornali")->currentIndex(), 0);
        QVERIFY(download->UrlRichiesta.query(QUrl::FullyEncoded)
                    .contains("&Testata=Il%20Corriere%20della%20Valle&Data=20261205"));

        key(Qt::Key_Down);
        s.toolkit.answerProgress();
        s.toolkit.expectMessage();
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmLeggiGiornale>());
        QVERIFY(QFile::exists(s.file("Giornali/Il Corriere della Valle20261205Sud.zip")));
        QCOMPARE(shown<FrmLeggiGiornale>()->windowTitle(),
                 QStringLiteral("Il Corriere della Valle - Sud di sabato 5 dicembre 2026"));
    }

    void wrongCredentialsEndTheWizardWithAMessage() {
        Session s("sbagliata");
        s.toolkit.expectMessage();
        preleva(s.m);
        QTRY_COMPARE(s.toolkit.pending(), 0);
        const auto& box = s.toolkit.shown().first();
        QCOMPARE(box.text, QString("Elenco giornali non presente o utente non abilitato!"));
        QCOMPARE(box.title, QString("Lettore Giornali Progetto Ondaris"));
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QVERIFY(!shown<FrmTestata>());
    }

    void escStepsBackAndAnnullaLeaves() {
        Session s;
        preleva(s.m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Down);
        key(Qt::Key_Return); // L'Eco del Mattino
        QTRY_COMPARE(focusedName(), QString("CboEdizioni"));
        key(Qt::Key_Escape);
        FrmTestata* again = arrived<FrmTestata>();
        QVERIFY(again && !shown<FrmEdizione>());
        QCOMPARE(child<QComboBox>(again, "CboGiornali")->currentIndex(), 0); // a fresh exchange
        QCOMPARE(again->session().Testata, QString());

        enterIn("CboGiornali");
        enterIn("CboEdizioni");
        QVERIFY(arrived<FrmDownload>());
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Escape);
        QVERIFY(arrived<FrmEdizione>() && !shown<FrmDownload>());
        child<QPushButton>(shown<FrmEdizione>(), "Command1")->click();
        QVERIFY(!shown<FrmEdizione>() && !shown<FrmTestata>());

        preleva(s.m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(!shown<FrmTestata>());
    }

    void noEditionSelectedIsAsked() {
        Session s;
        walkToEditions(s.m);
        FrmDownload* download = shown<FrmDownload>();
        child<QComboBox>(download, "CboGiornali")->setCurrentIndex(-1);
        s.toolkit.expectMessage();
        child<QPushButton>(download, "CmdContinua")->click();
        QCOMPARE(s.toolkit.shown().last().text, QString("Selezionare l'edizione!"));
        QCOMPARE(s.toolkit.shown().last().title, QString("Seleziona edizione provinciale!"));
        QVERIFY(shown<FrmDownload>());
    }

    void aFailedDownloadSaysWhyAndOpensNothing() {
        Session s;
        QDir(s.path()).mkpath("Temp");
        s.write("Temp/01-Ieri-000.txt", "001 x\r\n");
        walkToEditions(s.m);
        QFile::remove(s.service.issues() + "/Il Corriere della Valle20261205Nord.zip"); // the service now answers 404

        s.toolkit.answerProgress();
        s.toolkit.expectMessage();
        key(Qt::Key_Return);
        QTRY_COMPARE(s.toolkit.pending(), 0);
        const auto& box = s.toolkit.shown().last();
        QCOMPARE(box.text, QString("Il giornale non è stato scaricato!\nErrore 404 del servizio."));
        QCOMPARE(box.title, QString("Download fallito"));
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QVERIFY(QDir(s.file("Giornali")).isEmpty()); // the request's own test keeps an archive stored before
        QVERIFY(!shown<FrmDownload>() && !shown<FrmLeggiGiornale>());
        QVERIFY(QFile::exists(s.file("Temp/01-Ieri-000.txt")));
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
        Session s;
        FaultyServer silent({}, {}, true);
        preleva(s.m);
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
            QTRY_VERIFY(s.toolkit.waitOpen());
            s.toolkit.cancelWait();
        } else {
            key(Qt::Key_Escape);
            key(Qt::Key_Return);
            QTest::qWait(50);
            QCOMPARE(silent.requests, 1);
            QVERIFY(shown<FrmTestata>() == testata);
            child<QPushButton>(testata, "Command1")->click();
        }
        QTRY_VERIFY(!Screen<FrmEdizione>::isLoaded());
        QVERIFY(!s.toolkit.waitOpen());
        if (action == "wait") {
            QVERIFY(shown<FrmTestata>() == testata);
            QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        } else {
            QTRY_VERIFY(!Screen<FrmTestata>::isLoaded());
        }
    }

    void aCancelledDownloadSaysSo() {
        Session s;
        FaultyServer stalled(FaultyServer::head(200, "application/zip", 100000), "PK\x03\x04zzzz", true);
        walkToEditions(s.m);
        ServiceAddress::setBase(stalled.base());
        s.toolkit.answerProgress();
        s.toolkit.expectMessage();
        key(Qt::Key_Return);
        QTRY_VERIFY(s.toolkit.progressOpen());
        s.toolkit.cancelProgress(); // the request's own test times the cancel and checks the stored archive
        QTRY_COMPARE(s.toolkit.pending(), 0);
        QCOMPARE(s.toolkit.shown().last().text, QString("Il giornale non è stato scaricato!\nScaricamento annullato."));
        QTRY_VERIFY(!Screen<FrmDownload>::isLoaded() && !shown<FrmEdizione>());
    }

    // A box stays up while the user does something else: the download screen waits under its box, then the
    // reader opens and the screen closes; a screen closed under its box takes the box's sequel with it.
    void aBoxAnswersLaterAndItsScreenMayCloseMeanwhile_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("closedUnderTheBox");
        QTest::newRow("download answered") << "download" << false;
        QTest::newRow("download closed") << "download" << true;
        QTest::newRow("mastheads closed") << "mastheads" << true;
    }

    void aBoxAnswersLaterAndItsScreenMayCloseMeanwhile() {
        QFETCH(QString, screen);
        QFETCH(bool, closedUnderTheBox);
        HeldBoxes boxes;
        Session s(screen == "mastheads" ? "sbagliata" : kPassword);
        Toolkit::install(&boxes);
        if (screen == "download") {
            walkToEditions(s.m);
            boxes.answerProgress();
        }
        boxes.expectMessage();
        if (screen == "download")
            key(Qt::Key_Return);
        else
            preleva(s.m);
        QTRY_VERIFY(boxes.boxUp());
        QPointer<WizardScreen> underTheBox = Screen<FrmDownload>::ifLoaded();
        if (screen == "mastheads")
            underTheBox = Screen<FrmTestata>::ifLoaded();
        QVERIFY(underTheBox && !shown<FrmLeggiGiornale>());
        if (closedUnderTheBox)
            underTheBox->close();
        boxes.answer();
        QTRY_VERIFY(!underTheBox);
        if (closedUnderTheBox) {
            QTest::qWait(100);
            QVERIFY(!shown<FrmLeggiGiornale>());
        } else {
            QVERIFY(arrived<FrmLeggiGiornale>());
        }
        QCOMPARE(boxes.pending(), 0);
        Toolkit::install(&s.toolkit);
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
        Session s;
        FaultyServer server(answer, {}, false);
        preleva(s.m);
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        ServiceAddress::setBase(server.base());
        key(Qt::Key_Return);
        FrmEdizione* edizione = arrived<FrmEdizione>();
        QVERIFY(edizione);
        QTRY_COMPARE(focusedName(), QString("AvvisoElencoVuoto"));
        QCOMPARE(accessibleName(QApplication::focusWidget()), notice);
        QVERIFY(!child(edizione, "CboEdizioni")->isVisible());
        ServiceAddress::setBase(s.service.base());
        key(Qt::Key_Escape);
        QVERIFY(arrived<FrmTestata>());
    }

    void everyVisibleControlHasAnItalianName() {
        Session s;
        preleva(s.m);
        QVERIFY(arrived<FrmTestata>());
        QCOMPARE(unnamedControls(shown<FrmTestata>()), QStringList());
        QCOMPARE(accessibleName(child(shown<FrmTestata>(), "CboGiornali")), QString("Testate"));
        QCOMPARE(accessibleName(child(shown<FrmTestata>(), "Command1")), QString("Annulla"));
        QTRY_COMPARE(focusedName(), QString("CboGiornali"));
        key(Qt::Key_Return);
        QVERIFY(arrived<FrmEdizione>());
        QCOMPARE(unnamedControls(shown<FrmEdizione>()), QStringList());
        s.toolkit.expectMessage();
        key(Qt::Key_F1);
        QCOMPARE(s.toolkit.shown().last().title, QString("Tasti dello scaricamento"));
        QCOMPARE(accessibleName(child(shown<FrmEdizione>(), "CboEdizioni")), QString("Edizioni"));
    }
};

GIORNALI_TEST_MAIN(TestWizard)
#include "tst_wizard.moc"
