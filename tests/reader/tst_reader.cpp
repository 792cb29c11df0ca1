#include "app/FrmLetturaGiornali.h"
#include "platform/Screen.h"
#include "platform/TextEditor.h"
#include "reader/FrmLeggiGiornale.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

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

    // Opens the reader the way the archive opener does; its sections come once the folder has been scanned.
    static FrmLeggiGiornale& openReader(const QString& folder) {
        FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
        reader.openIssue(QDir::toNativeSeparators(folder), "Giornale", "Giornale20261205", std::nullopt);
        return reader;
    }

    static FrmLeggiGiornale& openIssue(const TestProgramFolder& folder) {
        writeIssue(folder);
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        [[maybe_unused]] const bool scanned = QTest::qWaitFor([&] { return combo(reader, "CboTitolo")->count() == 2; });
        return reader;
    }

    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    static QComboBox* combo(FrmLeggiGiornale& reader, const char* name) { return child<QComboBox>(&reader, name); }

    // The controls visible now, by name, and the one with the focus.
    static QString view(FrmLeggiGiornale& reader) {
        QStringList visible;
        for (const char* name : {"CboElencoGiornali", "CboTitolo", "CboSommario", "Testo", "CmdAprifile"}) {
            if (child(&reader, name)->isVisible())
                visible << name;
        }
        return visible.join('+') + " @" + focusedName();
    }

    static bool readerClosedAndMenuShown() {
        return !Screen<FrmLeggiGiornale>::isLoaded() && Screen<FrmLetturaGiornali>::isLoaded() &&
               Screen<FrmLetturaGiornali>::ifLoaded()->isVisible();
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // Along the way every control is named and an opened article is read from its start.
    void theWholeIssueIsWalkedWithEnterAndEsc() {
        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        QCOMPARE(itemTexts(&reader, "CboTitolo"), (QStringList{"Cronaca", "Sport"}));
        QCOMPARE(combo(reader, "CboTitolo")->currentIndex(), 0);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QCOMPARE(unnamedControls(&reader), QStringList());

        QTest::keyClicks(QApplication::focusWidget(), "S"); // other keys only move the selection
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(itemTexts(&reader, "CboSommario"), QStringList{"001 Vittoria in casa"});
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QCOMPARE(combo(reader, "CboTitolo")->currentText(), QString("Sport"));

        key(Qt::Key_Up);
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(itemTexts(&reader, "CboSommario"), (QStringList{"001 Incendio in centro", "002 Il sindaco risponde"}));
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 0);
        QCOMPARE(accessibleName(child(&reader, "CboSommario")), QString("Sommario"));
        key(Qt::Key_Down);
        auto* testo = child<QPlainTextEdit>(&reader, "Testo");
        SpeechRecorder recorder;
        key(Qt::Key_Enter);
        QTRY_COMPARE(view(reader).section(" @", 0, 0), QString("Testo")); // the button waits for the delay
        // The field is named while still empty, then filled: from the focus on, what it is called and holds.
        QStringList heard;
        for (const SpeechRecorder::Event& event : recorder.events()) {
            if (event.object == testo && (event.type == QAccessible::Focus || !heard.isEmpty()))
                heard << event.name + ": " + event.value;
        }
        const QString article = QStringLiteral("Il sindaco “risponde”: costa 5 €, è così.");
        QCOMPARE(heard.value(0), QString("Testo dell'articolo: "));
        QCOMPARE(heard.last(), "Testo dell'articolo: " + article);
        QTRY_COMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));
        QCOMPARE(unnamedControls(&reader), QStringList());
        // The whole text is selected with the caret at its start, so reading line by line starts at the top.
        QCOMPARE(testo->toPlainText(), article);
        QCOMPARE(testo->textCursor().selectedText(), article);
        QCOMPARE(testo->textCursor().position(), 0);
        QCOMPARE(testo->textCursor().anchor(), article.size());
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
        key(Qt::Key_Return); // a section is always entered at its first line
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 0);
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("Testo @Testo"));
        key(Qt::Key_Escape); // before the delay: the button never comes, the text never takes the focus back
        QTest::qWait(400);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Escape);
        key(Qt::Key_Escape);
        QTRY_VERIFY(readerClosedAndMenuShown());
        QCOMPARE(folder.toolkit.shown().size(), 0);
    }

    void anEmptyContentsListOpensAndLeavesAsUsual() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Vuota-000.txt", "");
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QTRY_COMPARE(combo(reader, "CboTitolo")->count(), 1);
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        QCOMPARE(combo(reader, "CboSommario")->count(), 0);
        key(Qt::Key_Return);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Escape);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        reader.close(); // the close box, too, returns to the menu
        QTRY_VERIFY(readerClosedAndMenuShown());
    }

    // With nothing to show the reader closes once it has said why: no newspaper, or the reason of a folder that
    // cannot be read.
    void scansThatFindNoNewspaperReturnToTheMenu_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("said");
        const QString none = "Nel file selezionato non è stata rilevata nessuna struttura di giornale!";
        QTest::newRow("empty folder") << QStringList() << none;
        QTest::newRow("only articles") << QStringList{"Cronaca-001.txt"} << none;
        QTest::newRow("issue inside a subfolder") << QStringList{"Giornale/01-Cronaca-000.txt"} << none;
        QTest::newRow("name that cannot be cut")
            << QStringList{"01-Cronaca-000.txt", "Sport-000.txt"}
            << "Il giornale non si può leggere.\nIl nome «Sport-000.txt» non indica una sezione.";
        QTest::newRow("missing folder") << QStringList{"(nessuna cartella)"}
                                        << "Il giornale non si può leggere.\nLa cartella «%1» non esiste.";
    }

    void scansThatFindNoNewspaperReturnToTheMenu() {
        QFETCH(QStringList, files);
        QFETCH(QString, said);
        TestProgramFolder folder;
        if (files != QStringList{"(nessuna cartella)"}) {
            QDir(folder.path()).mkpath("Temp/Giornale");
            for (const QString& name : files)
                folder.write("Temp/" + name, "");
        }
        folder.toolkit.expectMessage();
        openReader(folder.file("Temp"));
        QTRY_VERIFY(readerClosedAndMenuShown());
        QCOMPARE(folder.toolkit.shown().size(), 1);
        const auto& box = folder.toolkit.shown().first();
        QCOMPARE(box.text, said.arg(QDir::toNativeSeparators(folder.file("Temp"))));
        const bool none = said.startsWith("Nel file");
        QCOMPARE(box.title, none ? QString("Nessun giornale trovato") : QString("Ondaris"));
        QCOMPARE(box.icon, none ? Toolkit::Icon::Information : Toolkit::Icon::Stop);
    }

    void missingFilesAreReportedAndTheViewStays() {
        TestProgramFolder folder;
        writeIssue(folder);
        folder.write("Temp/01-Cronaca-000.txt", "001 Incendio in centro\r\n9\r\n");
        FrmLeggiGiornale& reader = openReader(folder.file("Temp"));
        QTRY_COMPARE(combo(reader, "CboTitolo")->count(), 2);
        QFile::remove(folder.file("Temp/02-Sport_000.txt"));

        folder.toolkit.expectMessage();
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_COMPARE(folder.toolkit.shown().size(), 1);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QVERIFY(folder.toolkit.shown().last().text.contains("02-Sport_000.txt"));

        folder.toolkit.expectMessage();
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_COMPARE(folder.toolkit.shown().size(), 2);
        QCOMPARE(view(reader), QString("CboSommario @CboSommario"));
        QVERIFY(folder.toolkit.shown().last().text.startsWith("L'articolo non si può leggere.\n"));
        QCOMPARE(folder.toolkit.shown().last().icon, Toolkit::Icon::Stop);
        QVERIFY(folder.toolkit.shown().last().text.contains("Cronaca-9.txt"));
        QVERIFY(reader.NomeNotepad.isEmpty());
    }

    void theButtonHandsTheArticleToTheEditor() {
        TestProgramFolder folder;
        writeIssue(folder, "Con spazi/Temp");
        FrmLeggiGiornale& reader = openReader(folder.file("Con spazi/Temp"));
        QTRY_COMPARE(combo(reader, "CboTitolo")->count(), 2);
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));
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
        QCOMPARE(folder.toolkit.shown().at(0).text, TextEditor::notepad());
        QVERIFY(QFileInfo(TextEditor::notepad()).isAbsolute() && QFileInfo::exists(TextEditor::notepad()));
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
        FrmLeggiGiornale& reader = openIssue(folder);
        QDir(folder.path()).mkpath("Altro");
        folder.write("Altro/01-Economia-000.txt", "001 Borsa\r\n");
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("CboSommario @CboSommario"));
        key(Qt::Key_Return);
        QTRY_COMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));

        reader.openIssue(folder.file("Altro"), "Altro", "Altro20261205", std::nullopt);
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
        QTRY_COMPARE(itemTexts(&reader, "CboTitolo"), QStringList{"Economia"});
        QCOMPARE(reader.windowTitle(), QString("Altro"));

        key(Qt::Key_Return); // over a reading under way, the issue opened again
        reader.CboElencoGiornali_KeyPress(13);
        QTRY_COMPARE(itemTexts(&reader, "CboTitolo"), QStringList{"Economia"});
        QTest::qWait(400); // nothing of the article comes back
        QCOMPARE(view(reader), QString("CboTitolo @CboTitolo"));
    }

    // An issue opened at an article: the sections, then that article with the stretch selected, also where a
    // long text has been cut into paragraphs before it.
    void anIssueOpensAtItsTarget_data() {
        QTest::addColumn<QByteArray>("article");
        QTest::addColumn<qsizetype>("offset");
        QTest::newRow("short") << QByteArray() << qsizetype(11);
        QTest::newRow("after breaks") << QByteArray(20000, 'x') + ' ' << qsizetype(20012);
    }

    void anIssueOpensAtItsTarget() {
        QFETCH(QByteArray, article);
        QFETCH(qsizetype, offset);
        TestProgramFolder folder;
        writeIssue(folder);
        folder.write("Temp/Cronaca-002.txt", article + "Il sindaco \x93risponde\x94.\r\n");
        FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
        reader.openIssue(folder.file("Temp"), "Giornale", "Giornale20261205",
                         ArticleTarget{"01-Cronaca-000.txt", "002", offset, 10});
        QTRY_COMPARE(view(reader), QString("Testo+CmdAprifile @Testo"));
        QCOMPARE(combo(reader, "CboSommario")->currentIndex(), 1);
        QCOMPARE(child<QPlainTextEdit>(&reader, "Testo")->textCursor().selectedText(), QStringLiteral("“risponde”"));
    }
};

GIORNALI_TEST_MAIN(TestReader)
#include "tst_reader.moc"
