// The reader as a talking book: next and previous article, "Dove sono?", resume, read marks, and the store that
// keeps them across restarts.
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/Screen.h"
#include "platform/SpokenList.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/ReaderTasks.h"
#include "reader/ReadingStore.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QThreadPool>

class TestTalkingBook : public QObject {
    Q_OBJECT

    // Cronaca with two articles, an empty section, Sport with one.
    static FrmLeggiGiornale& openIssue(const TestProgramFolder& folder, const QString& key = "Gazzetta20261205") {
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/01-Cronaca-000.txt", "001 Incendio in centro\r\n002 Il sindaco risponde\r\n");
        folder.write("Temp/Cronaca-001.txt", "Primo.\r\n");
        folder.write("Temp/Cronaca-002.txt", "Secondo.\r\n");
        folder.write("Temp/02-Vuota-000.txt", "");
        folder.write("Temp/03-Sport-000.txt", "001 Vittoria in casa\r\n");
        folder.write("Temp/Sport-001.txt", "Tre a zero.\r\n");
        FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
        reader.openIssue(QDir::toNativeSeparators(folder.file("Temp")), "La Gazzetta di sabato 5 dicembre 2026", key,
                         std::nullopt);
        [[maybe_unused]] const bool scanned = QTest::qWaitFor([&] { return reader.sectionList()->count() == 3; });
        return reader;
    }

    // The keys, and whatever reading they started.
    static void press(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
        auto* reader = Screen<FrmLeggiGiornale>::ifLoaded();
        QTRY_VERIFY(!reader || !reader->tasks().busy());
    }

    // "section/entry" of the article on screen, or of the contents without one.
    static QString where(FrmLeggiGiornale& reader) {
        return reader.sectionList()->currentText() + "/" + QString::number(reader.contentsList()->currentIndex() + 1) +
               (reader.view() == FrmLeggiGiornale::View::Article ? " articolo" : " sommario");
    }

    static QString said(FrmLeggiGiornale& reader) { return child<Announcer>(&reader, "Annuncio")->text(); }

    // Presses the keys, then checks where the reader is and, when given, what it said.
    static void step(FrmLeggiGiornale& reader, QKeyCombination keys, const QString& place, const QString& words = {}) {
        press(keys);
        QCOMPARE(where(reader), place);
        if (!words.isEmpty())
            QCOMPARE(said(reader), words);
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void ctrlPageKeysWalkTheIssueAcrossSections() {
        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        SpeechRecorder recorder;
        press(Qt::Key_Return);
        step(reader, Qt::Key_Return, "Cronaca/1 articolo");
        step(reader, Qt::CTRL | Qt::Key_PageUp, "Cronaca/1 articolo", "Primo articolo del giornale");
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Cronaca/2 articolo");
        QVERIFY(reader.NomeNotepad.endsWith("Cronaca-002.txt"));
        QTRY_COMPARE(child<QPlainTextEdit>(&reader, "Testo")->textCursor().selectedText(), QString("Secondo."));
        // the empty section is passed over
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Sport/1 articolo", "Sezione Sport, 3 di 3");
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Sport/1 articolo", "Ultimo articolo del giornale");
        step(reader, Qt::CTRL | Qt::Key_PageUp, "Cronaca/2 articolo");

        press(Qt::Key_Escape); // in the contents the keys move by section
        step(reader, Qt::CTRL | Qt::Key_PageUp, "Cronaca/2 sommario", "Prima sezione del giornale");
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Vuota/0 sommario");
        QCOMPARE(focusedName(), QString("CboSommario"));

        // the status line reaches a screen reader, and a braille display, as a notification that appears
        QVERIFY(recorder.notifications().contains("Ultimo articolo del giornale"));
        // from article to article Orca hears no text losing its selection (through UI Automation the focus passes
        // through the contents meanwhile)
        if (replacesAsNewObjects())
            QCOMPARE(recorder.selectionsHeardRemoved(), 0);
    }

    // A section whose index cannot be read: resuming in it says why not, the keys pass it over and name it.
    void anUnreadableSectionIsSaid() {
        TestProgramFolder folder;
        ReadingStore(folder.file("letture.json")).markRead("Gazzetta20261205", {"Vuota", "001", 1, "02-Vuota-000.txt"});
        FrmLeggiGiornale& reader = openIssue(folder);
        QFile::remove(folder.file("Temp/02-Vuota-000.txt"));
        QDir(folder.path()).mkpath("Temp/02-Vuota-000.txt");
        folder.toolkit.expectMessage();
        press(Qt::CTRL | Qt::Key_R);
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QVERIFY(folder.toolkit.shown().last().text.startsWith("Il sommario della sezione non si può leggere.\n"));
        press(Qt::Key_Return);
        step(reader, Qt::Key_Return, "Cronaca/1 articolo");
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Cronaca/2 articolo");
        step(reader, Qt::CTRL | Qt::Key_PageDown, "Sport/1 articolo");
        QVERIFY2(said(reader).startsWith("Sezione Vuota saltata, non si può leggere. "), qPrintable(said(reader)));
        QVERIFY(said(reader).endsWith(". Sezione Sport, 3 di 3"));
    }

    void f2SaysWhereTheUserIs() {
        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        const QString title = "La Gazzetta di sabato 5 dicembre 2026. Sezione Cronaca, 1 di 3.";
        press(Qt::Key_F2);
        QCOMPARE(said(reader), title);
        press(Qt::Key_Return);
        press(Qt::Key_Down);
        press(Qt::Key_F2);
        QCOMPARE(said(reader), title + " Articolo 2 di 2: Il sindaco risponde.");
        press(Qt::Key_Return);
        press(Qt::Key_F2); // the last reading is the article on screen: not said twice
        QCOMPARE(said(reader), title + " Articolo 2 di 2: Il sindaco risponde.");
        QCOMPARE(focusedName(), QString("Testo"));
        press(Qt::Key_Escape);
        press(Qt::Key_Up);
        press(Qt::Key_F2);
        QCOMPARE(said(reader), title + " Articolo 1 di 2: Incendio in centro. Ultima lettura: Cronaca, articolo 2.");
        folder.toolkit.expectMessage();
        press(Qt::Key_F1);
        QCOMPARE(folder.toolkit.shown().last().title, QString("Tasti del lettore"));
    }

    // Ctrl+F: the results of the open issue in a list of their own; Enter, F3, Esc and Esc again.
    void ctrlFSearchesTheOpenIssue() {
        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        folder.write("Temp/Cronaca-002.txt", "Prima il secondo, poi il SECONDO.\r\n");
        QDir(folder.path()).mkpath("Temp/Sport-002.txt");
        press(Qt::Key_Down); // from the empty section
        folder.toolkit.answerText("secondo");
        press(Qt::CTRL | Qt::Key_F);
        QTRY_COMPARE(said(reader), QString("1 risultato; 1 file non leggibile: «Sport-002.txt»"));
        QTRY_COMPARE(reader.view(), FrmLeggiGiornale::View::Results);
        QCOMPARE(reader.resultsList()->itemText(0),
                 QString("Cronaca - Il sindaco risponde: Prima il secondo, poi il SECONDO."));
        press(Qt::Key_Return);
        QCOMPARE(where(reader), QString("Cronaca/2 articolo"));
        auto* text = child<QPlainTextEdit>(&reader, "Testo");
        QTRY_COMPARE(text->textCursor().position(), 9); // on the first match, nothing selected
        QVERIFY(!text->textCursor().hasSelection());
        press(Qt::Key_F3);
        QCOMPARE(text->textCursor().position(), 25);
        press(Qt::Key_F3);
        QCOMPARE(said(reader), QString("Nessun'altra occorrenza nell'articolo"));
        press(Qt::Key_Escape);
        QCOMPARE(reader.view(), FrmLeggiGiornale::View::Results);
        press(Qt::Key_Escape);
        QCOMPARE(reader.view(), FrmLeggiGiornale::View::Sections);
        QCOMPARE(reader.sectionList()->currentText(), QString("Vuota"));

        press(Qt::Key_Down); // from an article: back to it, and from it Esc goes on to its contents
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        folder.toolkit.answerText("secondo");
        press(Qt::CTRL | Qt::Key_F);
        QTRY_COMPARE(reader.view(), FrmLeggiGiornale::View::Results);
        press(Qt::Key_Return);
        press(Qt::Key_Escape);
        press(Qt::Key_Escape);
        QCOMPARE(where(reader), QString("Sport/1 articolo"));
        press(Qt::Key_Escape);
        QCOMPARE(reader.view(), FrmLeggiGiornale::View::Contents);
    }

    // Closing and opening the program again: a new store reads what the last one wrote.
    void readingIsResumedAndMarkedAfterARestart() {
        TestProgramFolder before;
        {
            FrmLeggiGiornale& reader = openIssue(before);
            press(Qt::CTRL | Qt::Key_R);
            QCOMPARE(said(reader), QString("Nessuna lettura da riprendere"));
            press(Qt::Key_Down);
            press(Qt::Key_Down);
            press(Qt::Key_Return);
            press(Qt::Key_Return); // Sport's article
            reader.close();
            QTRY_VERIFY(before.read("letture.json").contains("Sport"));
        }
        TestProgramFolder after;
        after.write("letture.json", before.read("letture.json"));
        FrmLeggiGiornale& reader = openIssue(after);
        QCOMPARE(where(reader), QString("Cronaca/0 sommario"));
        press(Qt::CTRL | Qt::Key_R);
        QCOMPARE(where(reader), QString("Sport/1 articolo"));
        press(Qt::Key_Escape);
        QCOMPARE(entryAndPosition(reader.contentsList()), QString("001 Vittoria in casa, letto, 1 di 1"));
        QCOMPARE(reader.contentsList()->itemText(0), QString("001 Vittoria in casa"));
        QVERIFY(!reader.contentsList()->itemIcon(0).isNull());
    }

    // The place kept is found by the section's index file and the article's code; what is gone is said, and
    // nothing moves.
    void resumeFindsTheArticleOrSaysItIsGone_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("expected");
        const QString cronaca = "Cronaca", sport = "Sport";
        QTest::newRow("where it was") << cronaca << "002" << 2 << "01-Cronaca-000.txt"
                                      << "Cronaca/2 articolo";
        QTest::newRow("moved in its section") << sport << "001" << 5 << "03-Sport-000.txt"
                                              << "Sport/1 articolo";
        QTest::newRow("no longer there") << cronaca << "009" << 2 << "01-Cronaca-000.txt"
                                         << "Cronaca/0 sommario";
    }

    void resumeFindsTheArticleOrSaysItIsGone() {
        QFETCH(QString, section);
        QFETCH(QString, code);
        QFETCH(int, position);
        QFETCH(QString, index);
        QFETCH(QString, expected);
        TestProgramFolder folder;
        ReadingStore(folder.file("letture.json")).markRead("Gazzetta20261205", {section, code, position, index});
        FrmLeggiGiornale& reader = openIssue(folder);
        press(Qt::CTRL | Qt::Key_R);
        QCOMPARE(where(reader), expected);
        if (code == "009")
            QCOMPARE(said(reader), QString("L'ultimo articolo letto non è più nel giornale"));
    }

    void theStoreKeepsTheLastIssuesAndShrugsOffADamagedFile() {
        TestProgramFolder folder;
        const QString path = folder.file("letture.json");
        folder.write("letture.json", "{ non è JSON");
        {
            ReadingStore store(path, 50);
            store.markRead("Prima", {"Cronaca", "001", 1, "01-Cronaca-000.txt"});
            QTRY_VERIFY(folder.read("letture.json").contains("Prima")); // written a moment later by itself
        }
        {
            ReadingStore store(path);
            QVERIFY(!store.lastPlace("Gazzetta20261205"));
            for (int i = 0; i <= ReadingStore::kMaxIssues; ++i)
                store.markRead(QString("Giornale%1").arg(i), {"Cronaca", "001", 1, {}});
            store.markRead("Giornale5", {"Sport", "002", 2, {}});
        }
        ReadingStore again(path);
        QTRY_VERIFY(again.isLoaded());
        QVERIFY(!again.lastPlace("Giornale0")); // the oldest went
        QVERIFY(again.isRead("Giornale1", "Cronaca", "001"));
        QCOMPARE(again.lastPlace("Giornale5")->section, QString("Sport"));
        QVERIFY(again.isRead("Giornale5", "Cronaca", "001") && again.isRead("Giornale5", "Sport", "002"));
        QVERIFY(!again.isRead("Giornale5", "Sport", "001"));
    }

    // Two searches in a row: the first one's results are never shown, even when they come back last.
    void aSecondSearchTakesThePlaceOfTheFirst() {
        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        SpeechRecorder recorder;
        folder.toolkit.answerText("o"); // in all three articles
        press(Qt::CTRL | Qt::Key_F);
        folder.toolkit.answerText("tre");
        press(Qt::CTRL | Qt::Key_F);
        QTRY_COMPARE(said(reader), QString("1 risultato"));
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(50);
        QCOMPARE(reader.resultsList()->count(), 1);
        QCOMPARE(reader.resultsList()->itemText(0), QString("Sport - Vittoria in casa: Tre a zero."));
        for (const SpeechRecorder::Event& event : recorder.events())
            QVERIFY(event.name != "3 risultati");
    }

    // A store that cannot be written is said once, however much is read after, and written once it can be.
    void aStoreThatCannotBeWrittenIsSaidOnce() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("letture.json"); // a folder where the file goes
        FrmLeggiGiornale& reader = openIssue(folder);
        press(Qt::Key_Return);
        folder.toolkit.expectMessage();
        press(Qt::Key_Return);
        ReadingStore::current().flush();
        QTRY_COMPARE(folder.toolkit.shown().size(), 1);
        QVERIFY(folder.toolkit.shown().last().text.startsWith("Le letture non sono state salvate"));
        QVERIFY(folder.toolkit.shown().last().text.contains("letture.json"));
        press(Qt::CTRL | Qt::Key_PageDown);
        ReadingStore::current().flush();
        QTRY_VERIFY(!ReadingStore::current().isWriting());
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QCOMPARE(where(reader), QString("Cronaca/2 articolo"));

        QVERIFY(QDir(folder.file("letture.json")).removeRecursively());
        ReadingStore::current().flush();
        QTRY_VERIFY(folder.read("letture.json").contains("Cronaca/002"));
    }
};

GIORNALI_TEST_MAIN(TestTalkingBook)
#include "tst_talkingbook.moc"
