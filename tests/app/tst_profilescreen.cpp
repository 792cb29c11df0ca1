#include "app/FrmConfigurazione.h"
#include "app/FrmLetturaGiornali.h"
#include "platform/AccessibleLineEdit.h"
#include "platform/CurrentProfile.h"
#include "platform/Screen.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>

class TestProfileScreen : public QObject {
    Q_OBJECT

    // Starts the program's way: the main menu, then "Configurazione Profilo" with its access key, which clicks its
    // button a moment later. A line given is written to the file first.
    static FrmConfigurazione& openProfile(const TestProgramFolder& folder, const QByteArray& line = {}) {
        if (!line.isEmpty())
            folder.write("accesso.txt", line);
        QTest::keyClick(&showActive<FrmLetturaGiornali>(), Qt::Key_C, Qt::AltModifier);
        (void)QTest::qWaitFor(
            [] { return Screen<FrmConfigurazione>::isLoaded() && Screen<FrmConfigurazione>::ifLoaded()->isVisible(); });
        FrmConfigurazione* profile = Screen<FrmConfigurazione>::ifLoaded();
        if (!profile || !QTest::qWaitForWindowActive(profile))
            qFatal("profile screen not shown");
        return *profile;
    }

    static void fill(FrmConfigurazione& profile, const QString& user, const QString& password) {
        child<QLineEdit>(&profile, "TxtUtente")->setText(user);
        child<QLineEdit>(&profile, "TxtPassword")->setText(password);
    }

    static bool menuActionsEnabled() {
        return child<QPushButton>(Screen<FrmLetturaGiornali>::ifLoaded(), "CmdPrelevaGiornale")->isEnabled();
    }

private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        installAccessibleLineEdit();
    }

    // On a screen with every visible control named, and the password shown as typed.
    void theKeyboardFillsAndSavesAFirstProfile() {
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder);
        QCOMPARE(profile.windowTitle(), QString("Configurazione Profilo"));
        QCOMPARE(unnamedControls(&profile), QStringList());
        QCOMPARE(accessibleName(child(&profile, "TxtUtente")), QString("Nome Utente"));
        QCOMPARE(accessibleName(child(&profile, "TxtPassword")), QString("Password"));
        QCOMPARE(child<QLineEdit>(&profile, "TxtPassword")->echoMode(), QLineEdit::Normal);
        QCOMPARE(focusedName(), QString("TxtUtente"));
        QTest::keyClicks(QApplication::focusWidget(), "mario");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), QString("TxtPassword"));
        QTest::keyClicks(QApplication::focusWidget(), "se--greta");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), QString("CmdSalvaCredenziali"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), QString("CmdAnnulla"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

        QTRY_VERIFY(!Screen<FrmConfigurazione>::isLoaded());
        QCOMPARE(folder.read("accesso.txt"), QByteArray("mario--se--greta\r\n"));
        QCOMPARE(CurrentProfile::instance().NomeUtente, QString("mario"));
        QCOMPARE(CurrentProfile::instance().PasswordUtente, QString("se--greta"));
        QVERIFY(menuActionsEnabled());
        QTRY_COMPARE(focusedName(), QString("CmdPrelevaGiornale"));
    }

    void aLaterSaveReplacesTheFileAndShowsTheSavedValues() {
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "vecchio--1\r\n");
        QCOMPARE(child<QLineEdit>(&profile, "TxtUtente")->text(), QString("vecchio"));
        QCOMPARE(child<QLineEdit>(&profile, "TxtPassword")->text(), QString("1"));
        fill(profile, " nuovo ", "2 ");
        child<QPushButton>(&profile, "CmdSalvaCredenziali")->click();
        QTRY_VERIFY(!Screen<FrmConfigurazione>::isLoaded());
        QCOMPARE(folder.read("accesso.txt"), QByteArray(" nuovo --2 \r\n"));

        FrmConfigurazione& again = openProfile(folder);
        QCOMPARE(child<QLineEdit>(&again, "TxtUtente")->text(), QString(" nuovo "));
        QCOMPARE(child<QLineEdit>(&again, "TxtPassword")->text(), QString("2 "));
    }

    // Braille input, dictation and on-screen keyboards edit a field through its accessibility interface.
    void assistiveToolsEditTheFields() {
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "maro--1\r\n");
        QAccessibleEditableTextInterface* user =
            QAccessible::queryAccessibleInterface(child(&profile, "TxtUtente"))->editableTextInterface();
        QAccessibleEditableTextInterface* password =
            QAccessible::queryAccessibleInterface(child(&profile, "TxtPassword"))->editableTextInterface();
        QVERIFY(user && password);
        user->insertText(3, "i");
        user->deleteText(0, 1);
        user->replaceText(0, 1, "Ma");
        password->replaceText(0, 1, "se--greta");
        child<QPushButton>(&profile, "CmdSalvaCredenziali")->click();
        QTRY_VERIFY(!Screen<FrmConfigurazione>::isLoaded());
        QCOMPARE(folder.read("accesso.txt"), QByteArray("Mario--se--greta\r\n"));
    }

    void afterAnEmptyLastLineTheSaveAppends() {
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "vecchio--1\r\n\r\n");
        QVERIFY(!menuActionsEnabled());
        fill(profile, "nuovo", "2");
        profile.close();
        QCOMPARE(folder.read("accesso.txt"), QByteArray("vecchio--1\r\n\r\nnuovo--2\r\n"));
        QVERIFY(menuActionsEnabled());
    }

    // Annulla and Esc close without a word; Salva and the close box warn about an incomplete profile.
    void closingSavesOnlyACompleteProfile_data() {
        QTest::addColumn<QString>("closeWith");
        QTest::addColumn<QStringList>("fields"); // user, password
        QTest::addColumn<bool>("warned");
        QTest::newRow("Salva, no password") << "CmdSalvaCredenziali" << QStringList{"mario", ""} << true;
        QTest::newRow("Salva, no user") << "CmdSalvaCredenziali" << QStringList{"", "pw"} << true;
        QTest::newRow("close box, both empty") << "close box" << QStringList{"", ""} << true;
        QTest::newRow("Annulla, no password") << "CmdAnnulla" << QStringList{"mario", ""} << false;
        QTest::newRow("Annulla, both empty") << "CmdAnnulla" << QStringList{"", ""} << false;
        QTest::newRow("Esc in a field, no user") << "Esc" << QStringList{"", "pw"} << false;
        QTest::newRow("Enter on Salva, no user") << "Return on CmdSalvaCredenziali" << QStringList{"", "pw"} << true;
        QTest::newRow("Space on Annulla, complete") << "Space on CmdAnnulla" << QStringList{"anna", "pw"} << false;
        QTest::newRow("Esc, complete") << "Esc" << QStringList{"anna", "pw"} << false;
        QTest::newRow("close box, complete") << "close box" << QStringList{"anna", "pw"} << false;
    }

    void closingSavesOnlyACompleteProfile() {
        QFETCH(QString, closeWith);
        QFETCH(QStringList, fields);
        QFETCH(bool, warned);
        const bool complete = !fields[0].isEmpty() && !fields[1].isEmpty();
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "vecchio--1\r\n");
        fill(profile, fields[0], fields[1]);
        if (warned)
            folder.toolkit.expectMessage();
        if (closeWith == "close box") {
            profile.close();
        } else if (closeWith == "Esc") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        } else if (closeWith.contains(" on ")) {
            QWidget* button = child(&profile, qPrintable(closeWith.section(" on ", 1)));
            button->setFocus();
            QTest::keyClick(button, closeWith.startsWith("Space") ? Qt::Key_Space : Qt::Key_Return);
        } else {
            child<QPushButton>(&profile, qPrintable(closeWith))->click();
        }

        QTRY_VERIFY(!Screen<FrmConfigurazione>::isLoaded()); // closed even after the warning
        QCOMPARE(folder.toolkit.shown().size(), warned ? 1 : 0);
        if (warned) {
            const auto& box = folder.toolkit.shown().first();
            QCOMPARE(box.text, QString("Inserire Nome utente e password!"));
            QCOMPARE(box.title, QString("Credenziali d'accesso!"));
            QCOMPARE(box.icon, Toolkit::Icon::Information);
        }
        QCOMPARE(folder.read("accesso.txt"), QByteArray(complete ? "anna--pw\r\n" : "vecchio--1\r\n"));
        QCOMPARE(CurrentProfile::instance().NomeUtente, QString(complete ? "anna" : "vecchio"));
    }

    // A screen already loaded is shown as it is: as the repair loaded it, then with the edits under way.
    void aLoadedScreenIsShownAsItWas() {
        TestProgramFolder folder;
        CurrentProfile::instance().NomeUtente = "anna";
        folder.write("accesso.txt", "rovinato\r\n");
        Screen<FrmLetturaGiornali>::show();
        CurrentProfile::instance().NomeUtente = "bruno";
        FrmConfigurazione& profile = openProfile(folder);
        QCOMPARE(child<QLineEdit>(&profile, "TxtUtente")->text(), QString("anna"));
        fill(profile, "in corso", "");
        child<QPushButton>(Screen<FrmLetturaGiornali>::ifLoaded(), "CmdConfigurazione")->click();
        QCOMPARE(Screen<FrmConfigurazione>::ifLoaded(), &profile);
        QCOMPARE(child<QLineEdit>(&profile, "TxtUtente")->text(), QString("in corso"));
    }

    void savingWithTheMainMenuClosedOnlyWritesTheFile() {
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "vecchio--1\r\n");
        Screen<FrmLetturaGiornali>::ifLoaded()->close();
        QTRY_VERIFY(!Screen<FrmLetturaGiornali>::isLoaded());
        fill(profile, "nuovo", "2");
        profile.close();
        QCOMPARE(folder.read("accesso.txt"), QByteArray("nuovo--2\r\n"));
        QVERIFY(!Screen<FrmLetturaGiornali>::isLoaded());
    }

    void aFailedSaveIsReportedAndKeepsTheOldProfile() {
        if (!FileSizeLimit::available())
            QSKIP("Un disco pieno si simula solo con il limite di dimensione dei file di Linux.");
        TestProgramFolder folder;
        FrmConfigurazione& profile = openProfile(folder, "vecchio--1\r\n");
        fill(profile, "nuovo", "2");
        folder.toolkit.expectMessage();
        {
            FileSizeLimit diskFull(2);
            profile.close();
        }
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QCOMPARE(folder.toolkit.shown().first().icon, Toolkit::Icon::Stop);
        QVERIFY(folder.toolkit.shown().first().text.contains("non è stato salvato"));
        QCOMPARE(folder.read("accesso.txt"), QByteArray("vecchio--1\r\n"));
        QCOMPARE(CurrentProfile::instance().NomeUtente, QString("vecchio"));
    }
};

GIORNALI_TEST_MAIN(TestProfileScreen)
#include "tst_profilescreen.moc"
