#include "app/FrmConfigurazione.h"
#include "app/FrmLetturaGiornali.h"
#include "platform/SharedState.h"
#include "platform/Screen.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

class TestMainMenu : public QObject {
    Q_OBJECT

    static FrmLetturaGiornali& showMenu() {
        FrmLetturaGiornali& menu = Screen<FrmLetturaGiornali>::show();
        if (!QTest::qWaitForWindowActive(&menu))
            qWarning("main menu not active");
        return menu;
    }

    static bool actionsEnabled(FrmLetturaGiornali& menu) {
        const bool preleva = child<QPushButton>(&menu, "CmdPrelevaGiornale")->isEnabled();
        const bool leggi = child<QPushButton>(&menu, "CmdLeggiGiornale")->isEnabled();
        if (preleva != leggi)
            qWarning("the two actions disagree");
        return preleva && leggi;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void enablingAndFocusFollowTheLastLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QByteArray>("fileAfter");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("no file") << QByteArray("(manca)") << false << "CmdConfigurazione" << QByteArray() << ""
                                 << "";
        QTest::newRow("empty") << QByteArray() << false << "CmdConfigurazione" << QByteArray() << ""
                               << "";
        QTest::newRow("profile") << QByteArray("mario--pw\r\n") << true << "CmdPrelevaGiornale"
                                 << QByteArray("mario--pw\r\n") << "mario"
                                 << "pw";
        QTest::newRow("separator only") << QByteArray("--\r\n") << true << "CmdPrelevaGiornale" << QByteArray("--\r\n")
                                        << ""
                                        << "";
        QTest::newRow("valid then empty")
            << QByteArray("mario--pw\r\n\r\n") << false << "CmdConfigurazione" << QByteArray("mario--pw\r\n\r\n") << ""
            << "";
        QTest::newRow("malformed is repaired")
            << QByteArray("a--1\r\nmario rossi\r\n") << false << "CmdConfigurazione" << QByteArray("--\r\n") << ""
            << "";
    }

    void enablingAndFocusFollowTheLastLine() {
        QFETCH(QByteArray, content);
        QFETCH(bool, enabled);
        QFETCH(QString, focus);
        QFETCH(QByteArray, fileAfter);
        QFETCH(QString, user);
        QFETCH(QString, password);
        TestProgramFolder folder;
        if (content != "(manca)")
            folder.write("accesso.txt", content);

        FrmLetturaGiornali& menu = showMenu();
        QCOMPARE(actionsEnabled(menu), enabled);
        QTRY_COMPARE(focusedName(), focus);
        QCOMPARE(folder.read("accesso.txt"), fileAfter);
        QCOMPARE(SharedState::instance().NomeUtente, user);
        QCOMPARE(SharedState::instance().PasswordUtente, password);
        QCOMPARE(menu.windowTitle(), QString("Letture giornale Progetto Ondaris"));
        QVERIFY(QFile::exists(folder.file("accesso.txt")));
    }

    void aRepairUsesTheProfileInUseAndLeavesItAlone() {
        TestProgramFolder folder;
        SharedState::instance().NomeUtente = "anna";
        SharedState::instance().PasswordUtente = "pw";
        folder.write("accesso.txt", "rovinato\r\n");
        FrmLetturaGiornali& menu = showMenu();
        QCOMPARE(folder.read("accesso.txt"), QByteArray("anna--pw\r\n"));
        QVERIFY(!actionsEnabled(menu));
        QCOMPARE(menu.lblaccesso(), QString("rovinato"));
        QCOMPARE(SharedState::instance().NomeUtente, QString("anna"));
    }

    void anUnreadableProfileIsReportedAndOffersNothing() {
        TestProgramFolder folder;
        QDir(folder.path()).mkdir("accesso.txt");
        folder.toolkit.expectMessage();
        FrmLetturaGiornali& menu = showMenu();
        QCOMPARE(folder.toolkit.shown().size(), 1);
        const auto box = folder.toolkit.shown().first();
        QCOMPARE(box.icon, Toolkit::Icon::Stop);
        QVERIFY2(box.text.contains("non è stato letto") && box.text.contains("accesso.txt"), qPrintable(box.text));
        QVERIFY(!actionsEnabled(menu));
    }

    void theAccessKeyOpensTheProfileScreen() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--pw\r\n");
        FrmLetturaGiornali& menu = showMenu();
        QTest::keyClick(&menu, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(Screen<FrmConfigurazione>::isLoaded() && Screen<FrmConfigurazione>::ifLoaded()->isVisible());
        QCOMPARE(child<QLineEdit>(Screen<FrmConfigurazione>::ifLoaded(), "TxtUtente")->text(), QString("mario"));
    }

    void leavingKeepsEverythingAndOtherScreensOpen() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--pw\r\n");
        FrmLetturaGiornali& menu = showMenu();
        child<QPushButton>(&menu, "CmdConfigurazione")->click();
        FrmConfigurazione* profile = Screen<FrmConfigurazione>::ifLoaded();
        QVERIFY(profile && profile->isVisible());

        child<QPushButton>(&menu, "CmdEsci")->click();
        QTRY_VERIFY(!Screen<FrmLetturaGiornali>::isLoaded());
        QVERIFY(profile->isVisible());
        QCOMPARE(folder.read("accesso.txt"), QByteArray("mario--pw\r\n"));
    }

    void aScreenLoadedButNeverShownDoesNotKeepTheProgramAlive() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "rovinato\r\n");
        FrmLetturaGiornali& menu = showMenu();
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

    void everyVisibleControlHasAnItalianName() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = showMenu();
        QCOMPARE(unnamedControls(&menu), QStringList());
        QCOMPARE(accessibleName(child(&menu, "CmdConfigurazione")), QString("Configurazione Profilo"));
        QCOMPARE(accessibleName(child(&menu, "CmdPrelevaGiornale")), QString("Preleva giornale"));
    }

    // The credential line (user--password) is kept by the menu but never reaches an accessibility client.
    void theCredentialLineIsInNoAccessibleObject() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--segreto\r\n");
        FrmLetturaGiornali& menu = showMenu();
        QCOMPARE(menu.lblaccesso(), QString("mario--segreto"));
        SpeechRecorder recorder;
        const QStringList texts = SpeechRecorder::everyAccessibleText();
        QVERIFY(texts.contains("Preleva giornale"));
        QCOMPARE(texts.filter("segreto"), QStringList());
    }

    void enterPressesTheFocusedButton() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--pw\r\n");
        FrmLetturaGiornali& menu = showMenu();
        auto* configurazione = child<QPushButton>(&menu, "CmdConfigurazione");
        configurazione->setFocus();
        QTest::keyClick(configurazione, Qt::Key_Return);
        QTRY_VERIFY(Screen<FrmConfigurazione>::isLoaded());
        Screen<FrmConfigurazione>::ifLoaded()->close();
        child<QPushButton>(&menu, "CmdEsci")->setFocus();
        QTest::keyClick(child<QPushButton>(&menu, "CmdEsci"), Qt::Key_Enter);
        QTRY_VERIFY(!Screen<FrmLetturaGiornali>::isLoaded());
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
