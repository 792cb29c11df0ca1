// The reader's own voice: F5 reads on across articles and sections to the end of the issue, the keys while it
// reads, the sleep timer, the exact resume after a restart, no voice installed, and a real speech-dispatcher.
#include "platform/Announcer.h"
#include "platform/Screen.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/ReaderTasks.h"
#include "reader/ReadingStore.h"
#include "reader/ReadingVoice.h"
#include "support/FakeVoice.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kIssue = "Gazzetta20261205";

// Cronaca with two articles, an empty section, Sport with one.
FrmLeggiGiornale& openIssue(const TestProgramFolder& folder) {
    QDir(folder.path()).mkpath("Temp");
    folder.write("Temp/01-Cronaca-000.txt", "001 Incendio in centro\r\n002 Il sindaco risponde\r\n");
    folder.write("Temp/Cronaca-001.txt", "Primo fatto.\r\nDopo il sig. Rossi. Ancora.\r\n");
    folder.write("Temp/Cronaca-002.txt", "Secondo.\r\n");
    folder.write("Temp/02-Vuota-000.txt", "");
    folder.write("Temp/03-Sport-000.txt", "001 Vittoria in casa\r\n");
    folder.write("Temp/Sport-001.txt", "Tre a zero.\r\n");
    FrmLeggiGiornale& reader = showActive<FrmLeggiGiornale>();
    reader.openIssue(QDir::toNativeSeparators(folder.file("Temp")), "La Gazzetta di sabato 5 dicembre 2026", kIssue,
                     std::nullopt);
    [[maybe_unused]] const bool scanned = QTest::qWaitFor([&] {
        return !reader.isScanning() && reader.sectionList()->count() == 3 && ReadingStore::current().isLoaded() &&
               QApplication::focusWidget() && QApplication::focusWidget()->window() == &reader;
    });
    return reader;
}

const QStringList kWholeIssue{"Sezione Cronaca.",  "Incendio in centro.",  "Primo fatto.",      "Dopo il sig. Rossi.",
                              "Ancora.",           "Il sindaco risponde.", "Secondo.",          "Sezione Sport.",
                              "Vittoria in casa.", "Tre a zero.",          "Fine del giornale."};

void press(QKeyCombination keys) {
    QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
}

QString status(FrmLeggiGiornale& reader) {
    return child<Announcer>(&reader, "Annuncio")->text();
}

const ReadAloud& reading(FrmLeggiGiornale& reader) {
    return reader.findChild<ReadingVoice*>()->reading();
}

QString highlighted(FrmLeggiGiornale& reader) {
    const auto marks = child<QPlainTextEdit>(&reader, "Testo")->extraSelections();
    return marks.isEmpty() ? QString() : marks.first().cursor.selectedText();
}

// The sleep timer's list, answered with the choice's row.
void chooseSleep(QWidget& reader, int row) {
    press(Qt::Key_F9);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
    QCOMPARE(menu->actions().size(), 6);
    menu->actions().at(row)->trigger();
    menu->close();
    reader.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&reader));
    QTRY_VERIFY(QApplication::focusWidget());
}

} // namespace

class TestReadingVoice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup() { Voice::install(nullptr); }

    // F5 in the sections reads every article in order without another key, each marked read as it ends.
    void readsOnToTheEndOfTheIssue() {
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        FrmLeggiGiornale& reader = openIssue(folder);
        press(Qt::Key_F5);
        QTRY_COMPARE(speech->said, kWholeIssue);
        QCOMPARE(status(reader), QString("Fine del giornale."));
        QTRY_COMPARE(reader.view(), ReaderScreen::View::Article);
        QCOMPARE(reader.sectionList()->currentText(), QString("Sport"));
        QTRY_COMPARE(highlighted(reader), QString("Tre a zero."));
        for (const auto& [section, code] : {std::pair{"Cronaca", "001"}, {"Cronaca", "002"}, {"Sport", "001"}})
            QVERIFY2(ReadingStore::current().isRead(kIssue, section, code), code);
        QCOMPARE(focusedName(), QString("Testo"));
    }

    // An article that cannot be read is passed over and named; the voice reads on.
    void anUnreadableArticleIsPassedOver() {
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        FrmLeggiGiornale& reader = openIssue(folder);
        QFile::remove(folder.file("Temp/Cronaca-002.txt"));
        press(Qt::Key_F5);
        QTRY_VERIFY(speech->said.endsWith("Fine del giornale."));
        const qsizetype skipped = speech->said.indexOf("Sezione Sport.") - 1;
        QVERIFY2(speech->said.at(skipped).startsWith(
                     "Saltato perché non si può leggere: l'articolo «Il sindaco risponde» di Cronaca."),
                 qPrintable(speech->said.join(" | ")));
        QCOMPARE(speech->said.at(skipped - 1), QString("Ancora."));
        QCOMPARE(reading(reader).state(), ReadAloud::State::Stopped);
    }

    // Each key while the voice reads, in the article; a second Esc goes up as before.
    void keysWhileReading() {
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        speech->automatic = false;
        FrmLeggiGiornale& reader = openIssue(folder);
        press(Qt::Key_Return);
        QTRY_COMPARE(reader.view(), ReaderScreen::View::Contents);
        press(Qt::Key_F5);
        QTRY_COMPARE(speech->said, QStringList{"Incendio in centro."});
        const auto step = [&](QKeyCombination keys, const QString& next) {
            const qsizetype before = speech->said.size();
            press(keys);
            QTRY_VERIFY(speech->said.size() > before);
            QCOMPARE(speech->said.last(), next);
        };
        speech->finish();
        QTRY_COMPARE(speech->said.last(), QString("Primo fatto."));
        QTRY_COMPARE(highlighted(reader), QString("Primo fatto."));
        step(Qt::ALT | Qt::Key_Right, "Dopo il sig. Rossi.");
        step(Qt::ALT | Qt::Key_Left, "Primo fatto.");
        step(Qt::Key_F8, "Velocità 1,25"); // without a screen reader the voice says it, then reads on
        QCOMPARE(speech->settings.speed, 1.25);
        QCOMPARE(status(reader), QString("Velocità 1,25"));
        speech->finish();
        QTRY_COMPARE(speech->said.last(), QString("Primo fatto."));
        press(Qt::Key_F5);
        QCOMPARE(reading(reader).state(), ReadAloud::State::Paused);
        step(Qt::Key_F5, "Primo fatto.");
        step(Qt::CTRL | Qt::Key_PageDown, "Il sindaco risponde.");
        step(Qt::CTRL | Qt::Key_PageUp, "Incendio in centro.");
        press(Qt::ALT | Qt::Key_V); // the voice waits while its settings are open, then reads on
        QTRY_VERIFY(QApplication::activeWindow() && QApplication::activeWindow()->objectName() == "FrmVoce");
        QCOMPARE(reading(reader).state(), ReadAloud::State::Paused);
        press(Qt::Key_Escape);
        QTRY_COMPARE(reading(reader).state(), ReadAloud::State::Reading);
        reader.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&reader));
        press(Qt::Key_Down); // any other key pauses
        QCOMPARE(reading(reader).state(), ReadAloud::State::Paused);
        press(Qt::Key_F2); // a shortcut of the reader's too
        step(Qt::Key_F5, "Incendio in centro.");
        press(Qt::Key_Escape);
        QCOMPARE(reading(reader).state(), ReadAloud::State::Stopped);
        QCOMPARE(status(reader), QString("Lettura fermata."));
        QCOMPARE(reader.view(), ReaderScreen::View::Article);
        press(Qt::Key_Escape);
        QCOMPARE(reader.view(), ReaderScreen::View::Contents);
        QCOMPARE(VoiceSettings::read(folder.file("impostazioni.ini")).speed, 1.25); // kept for the next time
    }

    void sleepTimer_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("lastSaid");
        QTest::addColumn<QString>("told");
        QTest::newRow("alla fine dell'articolo") << 0 << "Ancora."
                                                 << "Lettura fermata alla fine dell'articolo.";
        QTest::newRow("alla fine della sezione") << 1 << "Secondo."
                                                 << "Lettura fermata alla fine della sezione.";
        QTest::newRow("tra 15 minuti") << 2 << "Incendio in centro."
                                       << "Lettura fermata dal timer di spegnimento.";
        QTest::newRow("mai") << 5 << "Tre a zero."
                             << "Fine del giornale.";
    }

    // The voice stops where the timer says, and the place is kept for F5 or Ctrl+R.
    void sleepTimer() {
        QFETCH(int, row);
        QFETCH(QString, lastSaid);
        QFETCH(QString, told);
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        speech->automatic = row != 2;
        FrmLeggiGiornale& reader = openIssue(folder);
        chooseSleep(reader, row);
        press(Qt::Key_Return);
        QTRY_COMPARE(reader.view(), ReaderScreen::View::Contents);
        press(Qt::Key_F5);
        if (row == 2) {
            auto* timer = child<QTimer>(&reader, "TimerSpegnimento");
            QCOMPARE(timer->interval(), 15 * 60 * 1000);
            QTRY_COMPARE(speech->said.size(), 1);
            timer->start(0);
        }
        QTRY_COMPARE(status(reader), told);
        QCOMPARE(reading(reader).state(), ReadAloud::State::Stopped);
        QTRY_COMPARE(speech->said.mid(speech->said.size() - 2), (QStringList{lastSaid, told}));
    }

    // Stopped at a sentence, the reader closed and the store read afresh: Ctrl+R reads on from that sentence.
    void resumesAtTheSentenceAfterARestart() {
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        speech->automatic = false;
        {
            FrmLeggiGiornale& reader = openIssue(folder);
            press(Qt::Key_Return);
            QTRY_COMPARE(reader.view(), ReaderScreen::View::Contents);
            press(Qt::Key_F5);
            QTRY_COMPARE(speech->said.size(), 1);
            speech->finish();
            speech->finish();
            QTRY_COMPARE(speech->said.last(), QString("Dopo il sig. Rossi."));
            press(Qt::Key_Escape);
            reader.close();
            ReadingStore::release(); // written, as when the program ends
            QTRY_VERIFY(folder.read("letture.json").contains("\"voce\":12"));
        }
        FrmLeggiGiornale& reader = openIssue(folder);
        speech->said.clear();
        press(Qt::CTRL | Qt::Key_R);
        QTRY_COMPARE(speech->said, QStringList{"Dopo il sig. Rossi."});
        QTRY_COMPARE(reader.view(), ReaderScreen::View::Article);
        QTRY_COMPARE(highlighted(reader), QString("Dopo il sig. Rossi."));
    }

    // No voice: F5 says what to install, and the reader keeps working.
    void withoutAVoiceF5SaysWhatToInstall() {
        TestProgramFolder folder;
        const auto speech = FakeSpeech::install();
        speech->available = false;
        FrmLeggiGiornale& reader = openIssue(folder);
        folder.toolkit.expectMessage();
        press(Qt::Key_F5);
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QCOMPARE(folder.toolkit.shown().last().text, "La lettura ad alta voce non è disponibile.\n" + noVoiceReason());
        press(Qt::Key_Return);
        QTRY_COMPARE(reader.view(), ReaderScreen::View::Contents);
    }

    // A real speech-dispatcher whose only voice writes each message to a file: the titles and sentences come in
    // order, a pause stops them and F5 goes on from the sentence.
    void aRealSpeechDispatcherSaysTheIssue() {
#ifdef Q_OS_WIN
        QSKIP("speech-dispatcher is Linux's");
#else
        const QString server = QStandardPaths::findExecutable("speech-dispatcher");
        if (server.isEmpty())
            QSKIP("speech-dispatcher is not installed");
        QTemporaryDir work;
        QDir(work.path()).mkpath("conf/modules");
        const QString spoken = work.filePath("detto.txt");
        const auto write = [](const QString& path, const QByteArray& text) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        write(work.filePath("conf/speechd.conf"), "AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n"
                                                  "AddModule \"file\" \"sd_generic\" \"file.conf\"\n"
                                                  "DefaultModule file\nDefaultLanguage \"it\"\n");
        write(work.filePath("conf/modules/file.conf"),
              "GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> " + spoken.toUtf8() +
                  "; sleep 0.2\"\nAddVoice \"it\" \"female1\" \"it\"\nDefaultVoice \"female1\"\n"
                  "GenericLanguage \"it\" \"it\" \"utf-8\"\nGenericDelimiters \"~\"\n");
        const QString socket = work.filePath("speechd.sock");
        QProcess speechd;
        speechd.start(server, {"--run-single", "--timeout", "0", "--config-dir", work.filePath("conf"), "--socket-path",
                               socket, "--pid-file", work.filePath("pid"), "--log-dir", work.path(),
                               "--communication-method", "unix_socket"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 15000);
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + socket.toUtf8());
        qputenv("SPEECHD_CMD", "/bin/false");
        const auto lines = [&] {
            QFile file(spoken);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                                                  : QStringList();
        };

        TestProgramFolder folder;
        FrmLeggiGiornale& reader = openIssue(folder);
        press(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(lines().size() >= 4, 10000);
        press(Qt::Key_F5); // pause
        QCOMPARE(reading(reader).state(), ReadAloud::State::Paused);
        QTest::qWait(600);
        const qsizetype paused = lines().size();
        QTest::qWait(600);
        QCOMPARE(lines().size(), paused); // nothing more once paused
        press(Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(lines().endsWith("Fine del giornale."), 20000);
        QStringList heard = lines();
        heard.removeDuplicates(); // the sentence cut by the pause is said again
        QCOMPARE(heard, kWholeIssue);
        press(Qt::Key_Escape);
        reader.close();
        speechd.terminate();
        speechd.waitForFinished();
        qunsetenv("SPEECHD_ADDRESS");
#endif
    }
};

GIORNALI_TEST_MAIN(TestReadingVoice)
#include "tst_readingvoice.moc"
