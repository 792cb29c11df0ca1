// Opening archives end to end: the main menu's "Leggi giornale", the chooser, the extraction and the reader.
#include "app/FrmLetturaGiornali.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/FrmSelezionaGiornale.h"
#include "reader/IssueOpening.h"
#include "reader/Module1.h"
#include "reader/ReaderTasks.h"
#include "reader/ReaderTitle.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestOpening : public QObject {
    Q_OBJECT

    static ZipBuilder issue(const QString& section = "Cronaca") {
        ZipBuilder zip;
        zip.file("01-" + section + "-000.txt", "001 Primo titolo\r\n002 Secondo titolo\r\n")
            .file(section + "-001.txt", "Primo.\r\n")
            .file(section + "-002.txt", "Secondo.\r\n");
        return zip;
    }

    static FrmLetturaGiornali& menuWithProfile(TestProgramFolder& folder) {
        folder.write("accesso.txt", "demo--demo\r\n");
        QDir(folder.path()).mkpath("Giornali");
        return showActive<FrmLetturaGiornali>();
    }

    static void leggiGiornale(FrmLetturaGiornali& menu) { child<QPushButton>(&menu, "CmdLeggiGiornale")->click(); }

    // Waits until the opening under way has ended, whatever its end, and the reader has scanned the folder.
    static bool opened() {
        return QTest::qWaitFor(
            [] {
                const FrmLeggiGiornale* r = Screen<FrmLeggiGiornale>::ifLoaded();
                return !IssueOpening::isRunning() && !(r && r->isScanning());
            },
            20000);
    }

    static FrmLeggiGiornale* reader() {
        FrmLeggiGiornale* r = Screen<FrmLeggiGiornale>::ifLoaded();
        return r && r->isVisible() ? r : nullptr;
    }

    static QStringList sections() { return itemTexts(reader(), "CboTitolo"); }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // A "Temp" that the program did not make is the user's: left as it is, the issue goes beside it.
    void leggiGiornaleOpensTheChosenIssueTitledByItsDate() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QDir(folder.path()).mkpath("Giornali/dicembre");
        QVERIFY(issue().write(folder.file("Giornali/dicembre/La Gazzetta20261205.zip")));
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Vecchio-000.txt", "001 un file dell'utente\r\n");

        folder.toolkit.answerFile(QDir::toNativeSeparators(folder.file("Giornali/dicembre/La Gazzetta20261205.zip")));
        leggiGiornale(menu);
        QVERIFY(opened());
        const auto& dialog = folder.toolkit.shown().first();
        QCOMPARE(dialog.title, QString("Seleziona il giornale"));
        QCOMPARE(dialog.detail, QDir::toNativeSeparators(folder.file("Giornali")) + "|File Zip |*.zip");
        QVERIFY(reader());
        QCOMPARE(reader()->windowTitle(), QStringLiteral("La Gazzetta di sabato 5 dicembre 2026"));
        QCOMPARE(sections(), QStringList{"Cronaca"});
        QTRY_COMPARE(focusedName(), QString("CboTitolo"));
        QVERIFY(QFile::exists(folder.file("Temp-lettore-giornali/01-Cronaca-000.txt")));
        QCOMPARE(folder.read("Temp/01-Vecchio-000.txt"), QByteArray("001 un file dell'utente\r\n"));
        QVERIFY(!Screen<FrmSelezionaGiornale>::isLoaded() || !Screen<FrmSelezionaGiornale>::ifLoaded()->isVisible());
    }

    void aDamagedArchiveIsReportedAndItsFirstPartRead() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QByteArray filler;
        for (int i = 0; i < 3000; ++i)
            filler += QByteArray::number(i * 7919 % 10007) + ' ';
        QVERIFY(issue().file("Ultima-001.txt", filler).write(folder.file("Giornali/Rotto20261205.zip")));
        const QByteArray whole = folder.read("Giornali/Rotto20261205.zip");
        folder.write("Giornali/Rotto20261205.zip", whole.left(whole.indexOf("Ultima-001.txt") + 300));

        folder.toolkit.answerFile(folder.file("Giornali/Rotto20261205.zip"));
        folder.toolkit.expectMessage();
        leggiGiornale(menu);
        QVERIFY(opened());
        const auto& box = folder.toolkit.shown().at(1);
        QCOMPARE(box.text, QStringLiteral("Problemi con la decompressione, l'archivio potrebbe essere danneggiato!"));
        QCOMPARE(box.title, QString("Ondaris"));
        QCOMPARE(box.icon, Toolkit::Icon::Information);
        QVERIFY(reader());
        QCOMPARE(sections(), QStringList{"Cronaca"});
    }

    // The name need not end in ".zip": its last four characters go all the same.
    void aSecondArchiveReplacesTheOpenIssueAndItsTitle() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue("Cronaca").write(folder.file("Giornali/Primo20261205.zip")));
        QVERIFY(issue("Sport").write(folder.file("Giornali/Secondo20261204Nord.arc")));
        folder.toolkit.answerFile(folder.file("Giornali/Primo20261205.zip"));
        leggiGiornale(menu);
        QVERIFY(opened());
        FrmLeggiGiornale* first = reader();
        QTest::keyClick(first->findChild<QWidget*>("CboTitolo"), Qt::Key_Return); // into the contents
        QVERIFY(first->tasks().busy());                                           // the contents being read

        folder.toolkit.answerFile(folder.file("Giornali/Secondo20261204Nord.arc"));
        leggiGiornale(menu);
        QVERIFY(!first->tasks().busy()); // dropped: the extraction takes its files away
        QVERIFY(opened());
        QCOMPARE(reader(), first);
        QCOMPARE(reader()->windowTitle(), QStringLiteral("Secondo - Nord di venerdì 4 dicembre 2026"));
        QCOMPARE(sections(), QStringList{"Sport"}); // Temp was emptied first: no Cronaca left
    }

    // The download names the issue, whatever the archive's own name.
    void anIssueOpenedByTheDownloadTakesTheTitleGiven() {
        TestProgramFolder folder;
        menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("Giornali/altro20200101.zip")));
        Module1::ApriArchivio(folder.file("Giornali/altro20200101.zip"), ReaderTitle::fromBaseName("Eco20261203Sud"));
        folder.toolkit.expectMessage(); // a second opening meanwhile is said, not started
        Module1::ApriArchivio(folder.file("Giornali/altro20200101.zip"), "Altro");
        QCOMPARE(folder.toolkit.shown().last().text,
                 QString("Un altro giornale è in apertura: «Altro» non è stato aperto."));
        QVERIFY(opened());
        QCOMPARE(reader()->windowTitle(), QStringLiteral("Eco - Sud di giovedì 3 dicembre 2026"));
    }

    // Nothing opens, and besides the dialog only the row's message (by its title and a part of its text) is shown,
    // over the main menu, which stays usable.
    void choicesThatOpenNothing_data() {
        QTest::addColumn<QString>("file"); // in Giornali; empty: the dialog is cancelled
        QTest::addColumn<bool>("newspaper");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("says");
        QTest::newRow("cancelled dialog, no Temp") << QString() << true << QString() << QString();
        QTest::newRow("name too short") << "a.z" << true << "Ondaris"
                                        << "Il giornale non è stato aperto.\nIl nome «a.z» è troppo corto";
        QTest::newRow("no newspaper inside") << "Vuoto20261205.zip" << false << "Nessun giornale trovato"
                                             << "nessuna struttura di giornale";
    }

    void choicesThatOpenNothing() {
        QFETCH(QString, file);
        QFETCH(bool, newspaper);
        QFETCH(QString, message);
        QFETCH(QString, says);
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder); // and no Temp at all: its deletion fails quietly
        const QString path = folder.file("Giornali/" + file);
        if (!file.isEmpty())
            QVERIFY((newspaper ? issue() : ZipBuilder().file("leggimi.txt", "niente")).write(path));
        folder.toolkit.answerFile(file.isEmpty() ? std::nullopt : std::optional(path));
        if (!message.isEmpty())
            folder.toolkit.expectMessage();
        leggiGiornale(menu);
        QVERIFY(opened());
        QVERIFY(!reader());
        QCOMPARE(folder.toolkit.shown().size(), message.isEmpty() ? 1 : 2);
        QCOMPARE(folder.toolkit.shown().last().title, message.isEmpty() ? "Seleziona il giornale" : message);
        QVERIFY(folder.toolkit.shown().last().text.contains(says));
        if (file.size() < 4) // the name is judged before anything is extracted
            QVERIFY(!QFile::exists(folder.file("Temp")));
        QTRY_COMPARE(QApplication::activeWindow(), &menu);
    }

    // The program's own Temp keeps a read-only file of the last issue: nothing of either issue is shown, and the
    // message names the file.
    // An archive on another drive than the program folder and its Temp (on Windows the build's Z: and the user's
    // C:), named with a drive letter and backslashes.
    void anIssueOnAnotherDriveOpens() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QTemporaryDir elsewhere(QCoreApplication::applicationDirPath() + "/altra unità-XXXXXX");
        QVERIFY(issue("Sport").write(elsewhere.filePath("Eco20261203.zip")));
#ifdef Q_OS_WIN
        QVERIFY(QDir(elsewhere.path()).absolutePath().front() != QDir(folder.path()).absolutePath().front());
#endif
        folder.toolkit.answerFile(QDir::toNativeSeparators(elsewhere.filePath("Eco20261203.zip")));
        leggiGiornale(menu);
        QVERIFY(opened());
        QVERIFY(reader());
        QCOMPARE(sections(), QStringList{"Sport"});
        QVERIFY(QFile::exists(folder.file("Temp/01-Sport-000.txt")));
    }

    // A file left in Temp that is read-only, or on Windows held open by another program, is named with the reason.
    void aTempThatCannotBeEmptiedStopsTheOpening_data() {
        QTest::addColumn<bool>("heldOpen");
        QTest::addColumn<QString>("why");
        QTest::newRow("read-only") << false << "non si può eliminare";
#ifdef Q_OS_WIN
        QTest::newRow("held open") << true << "è aperto in un altro programma";
#endif
    }

    void aTempThatCannotBeEmptiedStopsTheOpening() {
        QFETCH(bool, heldOpen);
        QFETCH(QString, why);
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue("Cronaca").write(folder.file("Giornali/Primo20261205.zip")));
        QVERIFY(issue("Sport").write(folder.file("Giornali/Secondo20261205.zip")));
        folder.toolkit.answerFile(folder.file("Giornali/Primo20261205.zip"));
        leggiGiornale(menu);
        QVERIFY(opened());
        reader()->close();
        const QString left = folder.file("Temp/01-Cronaca-000.txt");
#ifdef Q_OS_WIN
        // Held as a program does that opens a file without letting others delete it.
        HANDLE held = heldOpen ? CreateFileW(QDir::toNativeSeparators(left).toStdWString().c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
        QVERIFY(!heldOpen || held != INVALID_HANDLE_VALUE);
        const auto release = qScopeGuard([held] {
            if (held != INVALID_HANDLE_VALUE)
                CloseHandle(held);
        });
#endif
        if (!heldOpen)
            QFile(left).setPermissions(QFile::ReadOwner);

        folder.toolkit.answerFile(folder.file("Giornali/Secondo20261205.zip"));
        folder.toolkit.expectMessage();
        leggiGiornale(menu);
        QVERIFY(opened());
        QVERIFY(!reader());
        QCOMPARE(folder.toolkit.shown().last().text,
                 QStringLiteral("Il giornale non è stato aperto.\nImpossibile svuotare la cartella «%1»: «%2» %3.")
                     .arg(QDir::toNativeSeparators(folder.file("Temp")), QDir::toNativeSeparators(left), why));
    }

    // "Annulla" while the opening waits: the extraction stops before its next entry, what it wrote goes, and the
    // main menu comes back. The password question comes from the worker and is answered on the window thread.
    void anOpeningCanBeCancelled() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue()
                    .encrypt(ZipBuilder::Encryption::Aes256, "segreta")
                    .write(folder.file("Giornali/Chiuso20261205.zip")));
        folder.toolkit.answerFile(folder.file("Giornali/Chiuso20261205.zip"));
        folder.toolkit.answerText("", [&] {
            QTRY_VERIFY(folder.toolkit.waitOpen()); // the progress comes after a while
            folder.toolkit.cancelWait();
            QTest::qWait(20);
        });
        leggiGiornale(menu);
        QVERIFY(opened());
        QVERIFY(!reader());
        QCOMPARE(QDir(folder.file("Temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{".lettore-giornali"});
        QTRY_COMPARE(QApplication::activeWindow(), &menu);
    }

    // A file already extracted that cannot be removed after "Annulla" is named, and the main menu comes back.
    void aCancelThatLeavesFilesBehindIsSaid() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("chiaro.zip")));
        QVERIFY(ZipBuilder()
                    .encrypt(ZipBuilder::Encryption::Aes256, "segreta")
                    .file("Cronaca-003.txt", "Terzo.\r\n")
                    .write(folder.file("chiuso.zip")));
        QVERIFY(joinArchives(folder.file("chiaro.zip"), folder.file("chiuso.zip"),
                             folder.file("Giornali/Misto20261205.zip")));
        const QString left = folder.file("Temp/01-Cronaca-000.txt");
        folder.toolkit.answerFile(folder.file("Giornali/Misto20261205.zip"));
        folder.toolkit.answerText("", [&] {
            QVERIFY(QFile(left).setPermissions(QFile::ReadOwner));
            QTRY_VERIFY(folder.toolkit.waitOpen());
            folder.toolkit.cancelWait();
            QTest::qWait(20);
        });
        folder.toolkit.expectMessage();
        leggiGiornale(menu);
        QVERIFY(opened());
        QVERIFY(!reader());
        QCOMPARE(folder.toolkit.shown().last().text,
                 QStringLiteral("Apertura annullata, ma non tutto ciò che era stato estratto è stato eliminato.\n"
                                "Impossibile svuotare la cartella «%1»: «%2» non si può eliminare.")
                     .arg(QDir::toNativeSeparators(folder.file("Temp")), QDir::toNativeSeparators(left)));
        QTRY_COMPARE(QApplication::activeWindow(), &menu);
    }
};

GIORNALI_TEST_MAIN(TestOpening)
#include "tst_opening.moc"
