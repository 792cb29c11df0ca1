// "Voce": the lists start at the current settings, the keys pick new ones, Enter hands them over, Esc leaves them.
#include "platform/Appearance.h"
#include "platform/SpokenList.h"
#include "platform/WindowZoom.h"
#include "reader/FrmVoce.h"
#include "support/Cramped.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <optional>

namespace {

const QStringList kVoices{"Paola", "Luca"};

VoiceSettings settings(const QString& name, double speed, int pitch, int volume) {
    VoiceSettings made;
    made.name = name;
    made.speed = speed;
    made.pitch = pitch;
    made.volume = volume;
    return made;
}

QString described(const std::optional<VoiceSettings>& chosen) {
    if (!chosen)
        return QStringLiteral("(nulla)");
    return QStringLiteral("%1|%2|%3|%4").arg(chosen->name).arg(chosen->speed).arg(chosen->pitch).arg(chosen->volume);
}

// The window over a reader's stand-in, active, and what it hands over.
struct Opened {
    QPointer<FrmVoce> window;
    std::shared_ptr<std::optional<VoiceSettings>> chosen = std::make_shared<std::optional<VoiceSettings>>();
};

Opened open(const VoiceSettings& current) {
    auto* reader = new QWidget; // destroyed, with the window over it, by the test's program folder
    reader->setWindowTitle("Lettore");
    reader->show();
    Opened opened;
    opened.window = FrmVoce::choose(reader, kVoices, current,
                                    [chosen = opened.chosen](const VoiceSettings& picked) { *chosen = picked; });
    if (!QTest::qWaitForWindowActive(opened.window))
        qWarning("Voce not active");
    return opened;
}

// Keys as written in a menu ("Alt+O", "Down"), one press per word.
void press(const QString& keys) {
    for (const QString& word : keys.split(' ', Qt::SkipEmptyParts)) {
        const QKeyCombination key = QKeySequence(word)[0];
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
}

} // namespace

Q_DECLARE_METATYPE(VoiceSettings)

class TestVoiceScreen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void listsStartAtTheSettings_data() {
        QTest::addColumn<VoiceSettings>("current");
        QTest::addColumn<QStringList>("spoken"); // voice, speed, pitch, volume
        QTest::addColumn<QString>("picked");
        QTest::newRow("predefinite") << VoiceSettings()
                                     << QStringList{"Voce predefinita, 1 di 3", "1, 3 di 11", "normale, 3 di 5",
                                                    "100%, 10 di 10"}
                                     << "|1|0|100";
        QTest::newRow("scelte") << settings("Luca", 1.5, 50, 40)
                                << QStringList{"Luca, 3 di 3", "1,5, 5 di 11", "alto, 4 di 5", "40%, 4 di 10"}
                                << "Luca|1.5|50|40";
        QTest::newRow("tra due voci") << settings("", 2.6, -80, 0)
                                      << QStringList{"Voce predefinita, 1 di 3", "2,5, 9 di 11", "molto basso, 1 di 5",
                                                     "10%, 1 di 10"}
                                      << "|2.5|-100|10";
        QTest::newRow("voce non più offerta")
            << settings("Giulia", 3, 100, 55)
            << QStringList{"Giulia, 4 di 4", "3, 11 di 11", "molto alto, 5 di 5", "50%, 5 di 10"} << "Giulia|3|100|50";
    }

    void listsStartAtTheSettings() {
        QFETCH(VoiceSettings, current);
        QFETCH(QStringList, spoken);
        QFETCH(QString, picked);
        TestProgramFolder folder;
        const Opened opened = open(current);
        FrmVoce* window = opened.window;
        QCOMPARE(window->windowTitle(), QString("Voce"));
        QCOMPARE(window->windowModality(), Qt::WindowModal);
        QCOMPARE(focusedName(), QString("CboVoce"));
        QCOMPARE(unnamedControls(window), QStringList());
        const QStringList lists{"CboVoce", "CboVelocita", "CboTono", "CboVolume"};
        const QStringList names{"Voce", "Velocità", "Tono", "Volume"};
        for (int i = 0; i < lists.size(); ++i) {
            auto* list = child<QComboBox>(window, qPrintable(lists[i]));
            QCOMPARE(accessibleName(list), names[i]);
            QCOMPARE(entryAndPosition(list), spoken[i]);
        }
        QCOMPARE(described(window->picked()), picked);
    }

    void keysPickTheSettings_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("frecce e Invio") << "Down Tab Down Down Tab Down Tab Up Up Return"
                                        << "Paola|1.5|50|80";
        QTest::newRow("tasti di accesso") << "Alt+O Home Alt+T End Alt+E End Return"
                                          << "|3|100|10";
        QTest::newRow("prime lettere") << "L Tab 2 Tab B Return"
                                       << "Luca|2|-50|100";
        QTest::newRow("Invio su OK") << "Down Tab Tab Tab Tab Return"
                                     << "Paola|1|0|100";
        QTest::newRow("Invio su Annulla") << "Down Tab Tab Tab Tab Tab Return"
                                          << "(nulla)";
        QTest::newRow("Alt+A") << "Down Alt+A"
                               << "(nulla)";
        QTest::newRow("Esc") << "Down Down Tab Up Escape"
                             << "(nulla)";
    }

    void keysPickTheSettings() {
        QFETCH(QString, keys);
        QFETCH(QString, chosen);
        TestProgramFolder folder;
        const Opened opened = open(VoiceSettings());
        press(keys);
        QCOMPARE(described(*opened.chosen), chosen);
        QTRY_VERIFY(opened.window.isNull());
    }

    void f1ShowsTheKeys() {
        TestProgramFolder folder;
        const Opened opened = open(VoiceSettings());
        folder.toolkit.expectMessage();
        press("F1");
        QCOMPARE(folder.toolkit.shown().size(), 1);
        QCOMPARE(folder.toolkit.shown().last().title, QString("Tasti di Voce"));
        QVERIFY(folder.toolkit.shown().last().text.contains("Esc o Alt+A: chiude senza cambiare nulla."));
        QVERIFY(!opened.window.isNull());
    }

    void noTextIsCramped_data() {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("contrast");
        for (int zoom : {100, 200, 300}) {
            for (bool contrast : {false, true})
                QTest::addRow("%d%%%s", zoom, contrast ? " contrasto" : "") << zoom << contrast;
        }
    }

    void noTextIsCramped() {
        QFETCH(int, zoom);
        QFETCH(bool, contrast);
        TestProgramFolder folder;
        Appearance& appearance = Appearance::install(folder.file("impostazioni.ini"));
        appearance.setZoom(zoom);
        appearance.setHighContrast(contrast);
        const Opened opened = open(settings("Paola", 2.75, -50, 70));
        QApplication::processEvents();
        QCOMPARE(WindowZoom::appliedPercent(opened.window), zoom);
        const QStringList cramped = crampedTexts(opened.window);
        appearance.setZoom(100);
        appearance.setHighContrast(false);
        QVERIFY2(cramped.isEmpty(), qPrintable(cramped.join("; ")));
    }
};

// A laptop's screen, where the window at 300% still fits whole.
static int runTests(int argc, char** argv) {
    QTemporaryDir dir;
    QFile screens(dir.filePath("schermo.json"));
    if (!screens.open(QIODevice::WriteOnly) ||
        screens.write(R"({"screens": [{"name": "portatile", "width": 1366, "height": 768, "logicalDpi": 96}]})") < 0)
        return 1;
    screens.close();
    QDir::setCurrent(dir.path()); // by a relative name: the platform's arguments are split at every ":"
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=schermo.json");
    QApplication app(argc, argv);
    TestVoiceScreen test;
    return QTest::qExec(&test, argc, argv);
}

int main(int argc, char** argv) {
    return endTestProgram(runTests(argc, argv));
}

#include "tst_voicescreen.moc"
