#include "app/FrmConfigurazione.h"
#include "app/FrmLetturaGiornali.h"
#include "platform/CurrentProfile.h"
#include "platform/Screen.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QPushButton>
#include <QTimer>

class TestMainMenu : public QObject {
    Q_OBJECT

    // Whether "Preleva giornale" and "Leggi giornale" are offered.
    static QList<bool> actionsEnabled(FrmLetturaGiornali& menu) {
        return {child(&menu, "CmdPrelevaGiornale")->isEnabled(), child(&menu, "CmdLeggiGiornale")->isEnabled()};
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // With anna--pw in use before: only a profile line replaces it, and a repair writes it back. The focus goes to
    // the first action offered.
    void enablingAndFocusFollowTheLastLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QByteArray>("fileAfter");
        QTest::addColumn<QStringList>("profile"); // user and password in use after
        const QStringList anna{"anna", "pw"};
        QTest::newRow("no file") << QByteArray("(manca)") << false << QByteArray() << anna;
        QTest::newRow("empty") << QByteArray() << false << QByteArray() << anna;
        QTest::newRow("profile") << QByteArray("mario--pw\r\n") << true << QByteArray("mario--pw\r\n")
                                 << QStringList{"mario", "pw"};
        QTest::newRow("separator only") << QByteArray("--\r\n") << true << QByteArray("--\r\n") << QStringList{"", ""};
        QTest::newRow("valid then empty")
            << QByteArray("mario--pw\r\n\r\n") << false << QByteArray("mario--pw\r\n\r\n") << anna;
        QTest::newRow("malformed is repaired")
            << QByteArray("a--1\r\nmario rossi\r\n") << false << QByteArray("anna--pw\r\n") << anna;
    }

    void enablingAndFocusFollowTheLastLine() {
        QFETCH(QByteArray, content);
        QFETCH(bool, enabled);
        QFETCH(QByteArray, fileAfter);
        QFETCH(QStringList, profile);
        TestProgramFolder folder;
        CurrentProfile::instance().NomeUtente = "anna";
        CurrentProfile::instance().PasswordUtente = "pw";
        if (content != "(manca)")
            folder.write("accesso.txt", content);

        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        QCOMPARE(actionsEnabled(menu), QList<bool>({enabled, enabled}));
        QTRY_COMPARE(focusedName(), QString(enabled ? "CmdPrelevaGiornale" : "CmdConfigurazione"));
        QCOMPARE(folder.read("accesso.txt"), fileAfter);
        QCOMPARE((QStringList{CurrentProfile::instance().NomeUtente, CurrentProfile::instance().PasswordUtente}),
                 profile);
        QCOMPARE(menu.windowTitle(), QString("Letture giornale Progetto Ondaris"));
        QVERIFY(QFile::exists(folder.file("accesso.txt")));
    }

    void anUnreadableProfileIsReportedAndOffersNothing() {
        TestProgramFolder folder;
        QDir(folder.path()).mkdir("accesso.txt");
        folder.toolkit.expectMessage();
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        QTRY_COMPARE(folder.toolkit.shown().size(), 1);
        const auto box = folder.toolkit.shown().first();
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QVERIFY2(box.text.contains("non è stato letto") && box.text.contains("accesso.txt"), qPrintable(box.text));
        QCOMPARE(actionsEnabled(menu), QList<bool>({false, false}));
    }

    // Enter presses the focused button; leaving closes the menu alone and keeps the profile as it was.
    void leavingWithEnterKeepsEverythingAndOtherScreensOpen() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--pw\r\n");
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        child<QPushButton>(&menu, "CmdConfigurazione")->click();
        FrmConfigurazione* profile = Screen<FrmConfigurazione>::ifLoaded();
        QVERIFY(profile && profile->isVisible());

        child(&menu, "CmdEsci")->setFocus();
        QTest::keyClick(child(&menu, "CmdEsci"), Qt::Key_Enter);
        QTRY_VERIFY(!Screen<FrmLetturaGiornali>::isLoaded());
        QVERIFY(profile->isVisible());
        QCOMPARE(folder.read("accesso.txt"), QByteArray("mario--pw\r\n"));
    }

    void aScreenLoadedButNeverShownDoesNotKeepTheProgramAlive() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "rovinato\r\n");
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        QVERIFY(Screen<FrmConfigurazione>::isLoaded()); // loaded, hidden, by the repair
        QVERIFY(!Screen<FrmConfigurazione>::ifLoaded()->isVisible());

        // The program's own event loop ends when the menu closes, or the watchdog ends it with a failure.
        QApplication::setQuitOnLastWindowClosed(true);
        QTimer::singleShot(0, &menu, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QApplication::exit(1); });
        const int exitCode = QApplication::exec();
        QApplication::setQuitOnLastWindowClosed(false);
        QCOMPARE(exitCode, 0);
    }

    // The credential line (user--password) is kept by the menu but never reaches an accessibility client.
    void everyVisibleControlHasAnItalianNameButTheCredentialLineHasNone() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--segreto\r\n");
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        QCOMPARE(unnamedControls(&menu), QStringList());
        QCOMPARE(accessibleName(child(&menu, "CmdConfigurazione")), QString("Configurazione Profilo"));
        QCOMPARE(accessibleName(child(&menu, "CmdPrelevaGiornale")), QString("Preleva giornale"));
        QCOMPARE(menu.lblaccesso(), QString("mario--segreto"));
        SpeechRecorder recorder;
        const QStringList texts = SpeechRecorder::everyAccessibleText();
        QVERIFY(texts.contains("Preleva giornale"));
        QCOMPARE(texts.filter("segreto"), QStringList());
        folder.toolkit.expectMessage(); // F1: the keys of the screen
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(folder.toolkit.shown().last().title, QString("Tasti del menu principale"));
        QVERIFY(folder.toolkit.shown().last().text.contains("Alt+L: legge un giornale già scaricato."));
    }
};

GIORNALI_TEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
