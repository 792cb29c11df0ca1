#include "app/FrmLetturaGiornali.h"
#include "platform/SharedState.h"
#include "platform/Screen.h"
#include "platform/TextEditor.h"
#include "reader/FrmLeggiGiornale.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

class TestReader : public QObject {
    Q_OBJECT

    // Two sections: Cronaca with two articles, Sport with one.
    static void writeIssue(const TestProgramFolder& folder, const QString& sub = "Temp") {
        QDir(folder.path()).mkpath(sub);
        folder.write(sub + "/01-Cronaca-000.txt", "001 Incendio in centro\r\n002 Il sindaco risponde\r\n");
        folder.write(sub + "/Cronaca-001.txt", "Primo\r\nSecondo\r\nTerzo\r\n");
        folder.write(sub + "/Cronaca-002.txt", "Il sindaco \x93risponde\x94: costa 5 \x80, \xe8 cos\xec.\r\n");
        folder.write(sub + "/02-Sport_000.txt", "001 Vittoria in casa\r\n");
        folder.write(sub + "/Sport-001.txt", "Tre a zero.\r\n");
    }

    // Opens the reader the way the archive opener does.
    static FrmLeggiGiornale& openReader(const QString& folder) {
        SharedState::instance().PercorsoTemp = QDir::toNativeSeparators(folder);
        FrmLeggiGiornale& reader = Screen<FrmLeggiGiornale>::show();
        if (!QTest::qWaitForWindowActive(&reader))
            qWarning("reader not active");
        reader.CboElencoGiornali_KeyPress(13);
        return reader;
    }

    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }

    static QComboBox* combo(FrmLeggiGiornale& reader, const char* name) { return child<QComboBox>(&reader, name); }

    static QStringList items(QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }

    // The controls visible now, by name, and the one with the focus.
    static QString view(FrmLeggiGiornale& reader) {
        QStringList visible;
        for (const char* name : {"CboElencoGiornali", "CboTitolo", "CboSommario", "Testo", "CmdAprifile"}) {
            if (child(&reader, name)->isVisible())
                visible << name;
        }
        return visible.join('+') + " @" + focusedName();
    }

    static void waitForArticle(FrmLeggiGiornale& reader) {
        QTRY_COMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));
    }

    static bool readerClosedAndMenuShown() {
        return !Screen<FrmLeggiGiornale>::isLoaded() && Screen<FrmLetturaGiornali>::isLoaded() &&
               Screen<FrmLetturaGiornali>::ifLoaded()->isVisible();
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void theWholeIssueIsWalkedWithEnterAndEsc() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QCOMPARE(items(combo(reader, "CboTitolo")), (QStringList{"Cronaca", "Sport"}));
        QCOMPARE(combo(reader, "CboTitolo")->currentIndex(), 0);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));

        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(items(combo(reader, "CboSommario")), QStringList{"001 Vittoria in casa"});
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QCOMPARE(combo(reader, "CboTitolo")->currentText(), QString("Sport"));

        key(Qt::Key_Up);
        key(Qt::Key_Return);
        QCOMPARE(items(combo(reader, "CboSommario")),
                 (QStringList{"001 Incendio in centro", "002 Il sindaco risponde"}));
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 0);
        key(Qt::Key_Down);
        key(Qt::Key_Enter);
        QCOMPARE(view(reader).section(" @", 0, 0), QString("Testo")); // the button waits for the delay
        waitForArticle(reader);
        auto* testo = child<QPlainTextEdit>(&reader, "Testo");
        QCOMPARE(testo->toPlainText(), QStringLiteral("Il sindaco “risponde”: costa 5 €, è così."));
        QCOMPARE(testo->textCursor().selectedText(), testo->toPlainText());
        QCOMPARE(reader.NomeNotepad, QDir::toNativeSeparators(folder.file("Temp/Cronaca-002.txt")));

        key(Qt::Key_Tab);
        QCOMPARE(focusedName(), QString("CmdAprifile"));
        key(Qt::Key_Escape); // only the text leaves the article
        QCOMPARE(view(reader), QString("Testo+CmdAprifile @CmdAprifile"));
        key(Qt::Key_Backtab);
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 1);
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QCOMPARE(combo(reader, "CboTitolo")->currentText(), QString("Cronaca"));
        key(Qt::Key_Escape);
        QTRY_VERIFY(readerClosedAndMenuShown());
        QCOMPARE(folder.toolkit.shown().size(), 0);
    }

    // The field is named while still empty, then filled; after the delay the whole text is selected with the
    // caret at its start, so reading line by line goes on from the first line.
    void theOpenedArticleIsNamedThenReadFromItsStart() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        key(Qt::Key_Return);
        auto* testo = child<QPlainTextEdit>(&reader, "Testo");
        SpeechRecorder recorder;
        key(Qt::Key_Return);
        QStringList heard; // from the focus on: what the field is called and holds at each event
        for (const SpeechRecorder::Event& event : recorder.events()) {
            if (event.object == testo && (event.type == QAccessible::Focus || !heard.isEmpty()))
                heard << event.name + ": " + event.value;
        }
        QCOMPARE(heard.value(0), QString("Testo dell'articolo: "));
        QCOMPARE(heard.last(), QString("Testo dell'articolo: PrimoSecondoTerzo"));
        waitForArticle(reader);
        QCOMPARE(testo->textCursor().selectedText(), QString("PrimoSecondoTerzo"));
        QCOMPARE(testo->textCursor().position(), 0);
        QCOMPARE(testo->textCursor().anchor(), 17);
    }

    void enteringASectionAlwaysStartsFromItsFirstLine() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        key(Qt::Key_Return);
        key(Qt::Key_Down);
        key(Qt::Key_Escape);
        key(Qt::Key_Return);
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 0);
    }

    void otherKeysOnlyMoveTheSelection() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QTest::keyClicks(QApplication::focusWidget(), "S");
        QCOMPARE(combo(reader, "CboTitolo")->currentText(), QString("Sport"));
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
    }

    void escBeforeTheDelayStopsTheTimer() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        QVERIFY(child<QTimer>(&reader, "Timer1")->isActive());
        key(Qt::Key_Escape);
        QVERIFY(!child<QTimer>(&reader, "Timer1")->isActive());
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
    }

    void anEmptyContentsListOpensAndLeavesAsUsual() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Vuota-000.txt", "");
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(combo(reader, "CboSommario")->count(), 0);
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
    }

    void scansThatFindNoNewspaperReturnToTheMenu_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("message");
        QTest::newRow("empty folder") << QStringList() << true;
        QTest::newRow("only articles") << QStringList{"Cronaca-001.txt"} << true;
        QTest::newRow("issue inside a subfolder") << QStringList{"Giornale/01-Cronaca-000.txt"} << true;
        QTest::newRow("name that cannot be cut") << QStringList{"01-Cronaca-000.txt", "Sport-000.txt"} << false;
        QTest::newRow("missing folder") << QStringList{"(nessuna cartella)"} << false;
    }

    void scansThatFindNoNewspaperReturnToTheMenu() {
        QFETCH(QStringList, files);
        QFETCH(bool, message);
        TestProgramFolder folder;
        if (files != QStringList{"(nessuna cartella)"}) {
            QDir(folder.path()).mkpath("Temp/Giornale");
            for (const QString& name : files)
                folder.write("Temp/" + name, "");
        }
        if (message)
            folder.toolkit.expectMessage();
        openReader(folder.file("Temp"));
        QTRY_VERIFY(readerClosedAndMenuShown());
        QCOMPARE(folder.toolkit.shown().size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(folder.toolkit.shown().first().text,
                     QStringLiteral("Nel file selezionato non è stata rilevata nessuna struttura di giornale!"));
            QCOMPARE(folder.toolkit.shown().first().title, QString("Nessun giornale trovato"));
            QCOMPARE(folder.toolkit.shown().first().icon, Toolkit::Icon::Information);
        }
    }

    void missingFilesAreReportedAndTheViewStays() {
        TestProgramFolder folder;
        writeIssue(folder);
        folder.write("Temp/01-Cronaca-000.txt", "001 Incendio in centro\r\n9\r\n");
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QFile::remove(folder.file("Temp/02-Sport_000.txt"));

        folder.toolkit.expectMessage();
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QVERIFY(folder.toolkit.shown().last().text.contains("02-Sport_000.txt"));

        folder.toolkit.expectMessage();
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(folder.toolkit.shown().last().icon, Toolkit::Icon::Stop);
        QVERIFY(folder.toolkit.shown().last().text.contains("Cronaca-9.txt"));
        QVERIFY(reader.NomeNotepad.isEmpty());
    }

    void theButtonHandsTheArticleToTheEditor() {
        TestProgramFolder folder;
        writeIssue(folder, "Con spazi/Temp");
        FrmLeggiGiornale& reader = openReader(folder.file("Con spazi/Temp"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        waitForArticle(reader);
        auto* button = child<QPushButton>(&reader, "CmdAprifile");
        const QString article = QDir::toNativeSeparators(folder.file("Con spazi/Temp/Cronaca-001.txt"));

#ifndef Q_OS_WIN
        folder.toolkit.answerDesktop(true);
        button->click();
        qputenv(TextEditor::kEditorVariable, "mio-editor");
        folder.toolkit.answerLaunch(true);
        button->click();
        qunsetenv(TextEditor::kEditorVariable);
        QCOMPARE(folder.toolkit.shown().at(0).text, article);
        QCOMPARE(folder.toolkit.shown().at(1).text, QString("mio-editor"));
        QCOMPARE(folder.toolkit.shown().at(1).arguments, QStringList{article});
        folder.toolkit.answerDesktop(false);
#else
        folder.toolkit.answerLaunch(true);
        button->click();
        QCOMPARE(folder.toolkit.shown().at(0).arguments, QStringList{article});
        folder.toolkit.answerLaunch(false);
#endif
        folder.toolkit.expectMessage();
        button->click();
        QCOMPARE(folder.toolkit.shown().last().icon, Toolkit::Icon::Stop);
        QVERIFY(folder.toolkit.shown().last().text.contains("Cronaca-001.txt"));
        QCOMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));
    }

    void anotherIssueOpenedIntoTheArticleViewLandsInItsSections() {
        TestProgramFolder folder;
        writeIssue(folder);
        QDir(folder.path()).mkpath("Altro");
        folder.write("Altro/01-Economia-000.txt", "001 Borsa\r\n");
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        waitForArticle(reader);

        SharedState::instance().PercorsoTemp = folder.file("Altro");
        reader.CboElencoGiornali_KeyPress(13);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QCOMPARE(items(combo(reader, "CboTitolo")), QStringList{"Economia"});
        QVERIFY(!child<QTimer>(&reader, "Timer1")->isActive());

        key(Qt::Key_Return); // before the delay, then again over an open reader
        reader.CboElencoGiornali_KeyPress(13);
        QVERIFY(!child<QTimer>(&reader, "Timer1")->isActive());
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
    }

    void theCloseBoxReturnsToTheMenu() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        reader.close();
        QTRY_VERIFY(readerClosedAndMenuShown());
    }

    void everyVisibleControlHasAnItalianName() {
        TestProgramFolder folder;
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QCOMPARE(unnamedControls(&reader), QStringList());
        key(Qt::Key_Return);
        QCOMPARE(accessibleName(child(&reader, "CboSommario")), QString("Sommario"));
        key(Qt::Key_Return);
        waitForArticle(reader);
        QCOMPARE(unnamedControls(&reader), QStringList());
        QCOMPARE(accessibleName(child(&reader, "Testo")), QString("Testo dell'articolo"));
    }
};

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
