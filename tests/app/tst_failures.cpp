// Failures met from the main menu: each is said, with its reason, in the window where the user is, and afterwards
// the program still opens an issue.
#include "app/FrmLetturaGiornali.h"
#include "platform/Announcer.h"
#include "platform/Screen.h"
#include "reader/FrmCercaGiornali.h"
#include "reader/FrmGiornaliScaricati.h"
#include "reader/FrmLeggiGiornale.h"
#include "reader/IssueOpening.h"
#include "service/ServiceAddress.h"
#include "support/FaultyServer.h"
#include "support/Screens.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"
#include "unzip/CodeModule.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <functional>
#include <map>

namespace {

struct Fixture {
    TestProgramFolder& folder;
    FrmLetturaGiornali& menu;
};

// Drives the program from the main menu until the failure is said; returns what was said.
using Provoke = std::function<QString(Fixture&)>;

void press(const char* button, FrmLetturaGiornali& menu) {
    child<QPushButton>(&menu, button)->click();
}

void key(Qt::Key k) {
    QTest::keyClick(QApplication::focusWidget(), k);
}

bool opened() {
    return QTest::qWaitFor(
        [] {
            const FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
            return !IssueOpening::isRunning() && !(reader && reader->isScanning());
        },
        20000);
}

QString lastBox(Fixture& f) {
    return QTest::qWaitFor([&] { return f.folder.toolkit.pending() == 0; }) ? f.folder.toolkit.shown().last().text
                                                                            : QString("(nessuna finestra)");
}

// Chooses the archive in "Leggi giornale" and waits for its opening to end, with a message when it fails.
void openArchive(Fixture& f, const QString& name, bool fails = false) {
    const QString path = f.folder.file("Giornali/" + name);
    ZipBuilder().file("01-Cronaca-000.txt", "001 Primo titolo\r\n").file("Cronaca-001.txt", "Primo.\r\n").write(path);
    f.folder.toolkit.answerFile(path);
    if (fails)
        f.folder.toolkit.expectMessage();
    press("CmdLeggiGiornale", f.menu);
    QVERIFY(opened());
}

const std::map<QString, Provoke>& failures() {
    static const std::map<QString, Provoke> table{
        {"extraction library missing",
         [](Fixture& f) {
             CodeModule::setLibraryPath(f.folder.file("manca/unzip32"));
             openArchive(f, "Gazzetta20261204.zip", true);
             CodeModule::setLibraryPath({});
             return lastBox(f);
         }},
        {"store cannot be listed",
         [](Fixture& f) {
             QDir(f.folder.file("Giornali")).removeRecursively();
             f.folder.write("Giornali", "un file, non una cartella");
             f.folder.toolkit.expectMessage();
             press("CmdGiornaliScaricati", f.menu);
             const QString said = lastBox(f);
             QFile::remove(f.folder.file("Giornali"));
             QDir(f.folder.path()).mkpath("Giornali");
             return said;
         }},
        {"damaged archive in the store search",
         [](Fixture& f) {
             f.folder.write("Giornali/Rotto20261201.zip", "non un archivio");
             f.folder.toolkit.answerText("primo");
             press("CmdCercaGiornali", f.menu);
             auto* status = child<Announcer>(Screen<FrmCercaGiornali>::ifLoaded(), "Annuncio");
             [[maybe_unused]] const bool said = QTest::qWaitFor([&] { return !status->text().isEmpty(); });
             const QString text = status->text();
             key(Qt::Key_Escape);
             return text;
         }},
        {"reading store cannot be written",
         [](Fixture& f) {
             QDir(f.folder.path()).mkpath("letture.json"); // a folder where the file goes
             openArchive(f, "Gazzetta20261204.zip");
             FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
             for (const auto view : {FrmLeggiGiornale::View::Contents, FrmLeggiGiornale::View::Article}) {
                 key(Qt::Key_Return);
                 [[maybe_unused]] const bool there = QTest::qWaitFor([&] { return reader->view() == view; });
             }
             f.folder.toolkit.expectMessage();
             reader->close();
             return lastBox(f);
         }},
        {"service error on the mastheads",
         [](Fixture& f) {
             static FaultyServer failing(FaultyServer::head(500, "text/html", 0), {}, false);
             ServiceAddress::setBase(failing.base());
             f.folder.toolkit.expectMessage();
             press("CmdPrelevaGiornale", f.menu);
             return lastBox(f);
         }},
    };
    return table;
}

} // namespace

class TestFailures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void eachFailureIsSaidAndTheProgramGoesOn_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("said"); // the opening words, with the reason
        QTest::newRow("library") << "extraction library missing"
                                 << "Il giornale non è stato aperto.\nImpossibile caricare la libreria";
        QTest::newRow("store") << "store cannot be listed"
                               << "Impossibile elencare i giornali scaricati.\nLa cartella «";
        QTest::newRow("search") << "damaged archive in the store search"
                                << "Nessun risultato per «primo»; 1 giornale non leggibile: «Rotto20261201.zip»";
        QTest::newRow("readings") << "reading store cannot be written"
                                  << "Le letture non sono state salvate: il programma riproverà più avanti.\n";
        QTest::newRow("service") << "service error on the mastheads"
                                 << "Elenco giornali non presente o utente non abilitato!\nErrore 500 del servizio.";
    }

    void eachFailureIsSaidAndTheProgramGoesOn() {
        QFETCH(QString, failure);
        QFETCH(QString, said);
        TestProgramFolder folder;
        folder.write("accesso.txt", "demo--demo\r\n");
        QDir(folder.path()).mkpath("Giornali");
        Fixture fixture{folder, showActive<FrmLetturaGiornali>()};
        const QString text = failures().at(failure)(fixture);
        QVERIFY2(text.startsWith(said), qPrintable(text));

        QTRY_COMPARE(QApplication::activeWindow(), &fixture.menu);
        openArchive(fixture, "Gazzetta20261205.zip");
        FrmLeggiGiornale* reader = Screen<FrmLeggiGiornale>::ifLoaded();
        QVERIFY(reader && reader->isVisible());
        QCOMPARE(itemTexts(reader, "CboTitolo"), QStringList{"Cronaca"});
    }
};

GIORNALI_TEST_MAIN(TestFailures)
#include "tst_failures.moc"
