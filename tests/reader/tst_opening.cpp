// Opening archives end to end: the main menu's "Leggi giornale", the chooser, the extraction and the reader.
#include "app/FrmLetturaGiornali.h"
#include "platform/SharedState.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/FrmSelezionaGiornale.h"
#include "reader/Module1.h"
#include "support/Screens.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"
#include "unzip/CodeModule.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>

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
        FrmLetturaGiornali& menu = Screen<FrmLetturaGiornali>::show();
        if (!QTest::qWaitForWindowActive(&menu))
            qWarning("menu not active");
        return menu;
    }

    static void leggiGiornale(FrmLetturaGiornali& menu) { child<QPushButton>(&menu, "CmdLeggiGiornale")->click(); }

    static FrmLeggiGiornale* reader() {
        FrmLeggiGiornale* r = Screen<FrmLeggiGiornale>::ifLoaded();
        return r && r->isVisible() ? r : nullptr;
    }

    static QStringList sections() {
        QStringList names;
        auto* list = child<QComboBox>(reader(), "CboTitolo");
        for (int i = 0; i < list->count(); ++i)
            names << list->itemText(i);
        return names;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void leggiGiornaleOpensTheChosenIssueTitledByItsDate() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QDir(folder.path()).mkpath("Giornali/dicembre");
        QVERIFY(issue().write(folder.file("Giornali/dicembre/La Gazzetta20261205.zip")));
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Vecchio-000.txt", "001 del giornale di ieri\r\n"); // deleted before extracting
        SharedState::instance().NomeScaricato = "Scaricato20200101";

        folder.toolkit.answerFile(QDir::toNativeSeparators(folder.file("Giornali/dicembre/La Gazzetta20261205.zip")));
        leggiGiornale(menu);
        const auto& dialog = folder.toolkit.shown().first();
        QCOMPARE(dialog.title, QString("Seleziona il giornale"));
        QCOMPARE(dialog.detail, QDir::toNativeSeparators(folder.file("Giornali")) + "|File Zip |*.zip");
        QVERIFY(reader());
        QCOMPARE(reader()->windowTitle(), QStringLiteral("La Gazzetta di sabato 5 dicembre 2026"));
        QCOMPARE(sections(), QStringList{"Cronaca"});
        QTRY_COMPARE(focusedName(), QString("CboTitolo"));
        QCOMPARE(SharedState::instance().NomeScaricato, QString());
        QCOMPARE(SharedState::instance().NomeGiornale, reader()->windowTitle());
        QCOMPARE(SharedState::instance().PercorsoTemp, QDir::toNativeSeparators(folder.file("Temp")));
        QVERIFY(!Screen<FrmSelezionaGiornale>::isLoaded() || !Screen<FrmSelezionaGiornale>::ifLoaded()->isVisible());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // the issue is read as usual
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(focusedName(), QString("Testo"));
    }

    void aCancelledDialogOpensNothing() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder); // and no Temp at all: its deletion fails quietly
        folder.toolkit.answerFile(std::nullopt);
        leggiGiornale(menu);
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QVERIFY(!reader());
    }

    void aShortFileNameOpensNothing() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("Giornali/a.z")));
        folder.toolkit.answerFile(folder.file("Giornali/a.z"));
        leggiGiornale(menu);
        QVERIFY(!reader());
        QVERIFY(!QFile::exists(folder.file("Temp")));
    }

    void aFileNotEndingInZipLosesFourCharactersAllTheSame() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("Giornali/Borgo20261204.arc")));
        folder.toolkit.answerFile(folder.file("Giornali/Borgo20261204.arc"));
        leggiGiornale(menu);
        QVERIFY(reader());
        QCOMPARE(reader()->windowTitle(), QStringLiteral("Borgo di venerdì 4 dicembre 2026"));
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
        const auto& box = folder.toolkit.shown().at(1);
        QCOMPARE(box.text, QStringLiteral("Problemi con la decompressione, l'archivio potrebbe essere danneggiato!"));
        QCOMPARE(box.title, QString("Ondaris"));
        QCOMPARE(box.icon, Toolkit::Icon::Information);
        QVERIFY(reader());
        QCOMPARE(sections(), QStringList{"Cronaca"});
    }

    void aSecondArchiveReplacesTheOpenIssueAndItsTitle() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue("Cronaca").write(folder.file("Giornali/Primo20261205.zip")));
        QVERIFY(issue("Sport").write(folder.file("Giornali/Secondo20261204Nord.zip")));
        folder.toolkit.answerFile(folder.file("Giornali/Primo20261205.zip"));
        leggiGiornale(menu);
        FrmLeggiGiornale* first = reader();
        QTest::keyClick(first->findChild<QWidget*>("CboTitolo"), Qt::Key_Return); // into the contents

        folder.toolkit.answerFile(folder.file("Giornali/Secondo20261204Nord.zip"));
        leggiGiornale(menu);
        QCOMPARE(reader(), first);
        QCOMPARE(reader()->windowTitle(), QStringLiteral("Secondo - Nord di venerdì 4 dicembre 2026"));
        QCOMPARE(sections(), QStringList{"Sport"}); // Temp was emptied first: no Cronaca left
    }

    void aDownloadedIssueIsTitledFromItsDownloadName() {
        TestProgramFolder folder;
        menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("Giornali/Eco20261203Sud.zip")));
        SharedState::instance().NomeScaricato = "Eco20261203Sud";
        SharedState::instance().NomeGiornale = "altro20200101";
        Module1::ApriArchivio(folder.file("Giornali/Eco20261203Sud.zip"));
        QCOMPARE(reader()->windowTitle(), QStringLiteral("Eco - Sud di giovedì 3 dicembre 2026"));
        QCOMPARE(SharedState::instance().NomeScaricato, reader()->windowTitle());
        QCOMPARE(SharedState::instance().NomeGiornale, QString("altro20200101"));
    }

    void anArchiveWithoutANewspaperLeavesTheReaderClosed() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(ZipBuilder().file("leggimi.txt", "niente").write(folder.file("Giornali/Vuoto20261205.zip")));
        folder.toolkit.answerFile(folder.file("Giornali/Vuoto20261205.zip"));
        folder.toolkit.expectMessage(); // "Nessun giornale trovato"
        leggiGiornale(menu);
        QVERIFY(!reader());
        QCOMPARE(folder.toolkit.shown().at(1).title, QString("Nessun giornale trovato"));
    }

    void aMissingExtractionLibraryOpensNothingSilently() {
        TestProgramFolder folder;
        FrmLetturaGiornali& menu = menuWithProfile(folder);
        QVERIFY(issue().write(folder.file("Giornali/Gazzetta20261205.zip")));
        CodeModule::setLibraryPath(folder.file("manca/unzip32"));
        folder.toolkit.answerFile(folder.file("Giornali/Gazzetta20261205.zip"));
        leggiGiornale(menu);
        CodeModule::setLibraryPath({});
        QCOMPARE(folder.toolkit.shown().size(), 1); // the dialog, and no message after it
        QVERIFY(!reader());
    }
};

QTEST_MAIN(TestOpening)
#include "tst_opening.moc"
