// Subscriptions checked against the demo service on loopback: what is new arrives in the store exactly as the
// wizard names it, what is stored is left alone, and each fault is a reason for its subscription.
#include "SampleIssue.h"
#include "app/FrmLetturaGiornali.h"
#include "app/Startup.h"
#include "platform/Announcer.h"
#include "reader/FrmLeggiGiornale.h"
#include "service/ServiceAddress.h"
#include "subscriptions/Deliveries.h"
#include "subscriptions/FrmMieiGiornali.h"
#include "subscriptions/StoreBound.h"
#include "subscriptions/SubscriptionCheck.h"
#include "subscriptions/SubscriptionFile.h"
#include "support/DemoService.h"
#include "support/FaultyServer.h"
#include "support/Screens.h"
#include "support/SpeechRecorder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kUser = "abbonato";
const QString kPassword = "se&greta";

Subscription subscription(const QString& masthead, const QString& edition = {}) {
    Subscription made;
    made.masthead = masthead;
    made.edition = edition;
    return made;
}

struct Checked {
    Outcome<> overall = Failure{};
    QList<SubscriptionCheck::Result> results;
};

Checked check(const QList<Subscription>& subscriptions, const QString& store, const QString& password = kPassword) {
    SubscriptionCheck check({kUser, password}, subscriptions, store);
    Checked checked;
    QObject::connect(&check, &SubscriptionCheck::checked,
                     [&](int, const SubscriptionCheck::Result& result) { checked.results << result; });
    QSignalSpy finished(&check, &SubscriptionCheck::finished);
    check.start();
    if (finished.wait(20000))
        checked.overall = finished.first().first().value<Outcome<>>();
    return checked;
}

// "archive|title" of an arrival, "-" for nothing new, the reason of a failure.
QString described(const SubscriptionCheck::Result& result) {
    if (!result)
        return result.reason();
    return result.value() ? result.value()->archive + "|" + result.value()->title : "-";
}

} // namespace

Q_DECLARE_METATYPE(QList<Subscription>)

class TestSubscriptions : public QObject {
    Q_OBJECT

    // A program folder with the profile and the subscriptions, and on the service an issue newer than any stored.
    static void prepare(const TestProgramFolder& folder, const DemoService& service) {
        folder.write("accesso.txt", (kUser + "--" + kPassword + "\r\n").toUtf8());
        folder.write("abbonamenti.json",
                     R"({"abbonamenti":[{"testata":"La Gazzetta del Borgo"},{"testata":"Il Foglio Perduto"}]})");
        QDir(folder.path()).mkpath("Giornali");
        QVERIFY(SampleIssue::write({"La Gazzetta del Borgo", "20261206", {}, 3, 2, false},
                                   service.issues() + "/La Gazzetta del Borgo20261206.zip"));
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // With the main menu up, today's issue arrives without a key, is said once where the user is, and Alt+O opens
    // it; a failure is said once, not at every check; Alt+O with nothing new says so.
    void theNewspaperArrivesByItselfAndOpensWithAltO() {
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        prepare(folder, service);
        SpeechRecorder recorder;
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        std::unique_ptr<Deliveries> deliveries(startDeliveries(0));
        const QString arrived = "È arrivato La Gazzetta del Borgo di domenica 6 dicembre 2026.";
        const QString failed = "Il Foglio Perduto non è stato scaricato: la testata non è tra quelle del servizio.";
        QTRY_VERIFY_WITH_TIMEOUT(recorder.notifications().contains(arrived), 15000);
        QVERIFY(QFile::exists(folder.file("Giornali/La Gazzetta del Borgo20261206.zip")));
        QCOMPARE(QApplication::activeWindow(), &menu); // the focus stayed where it was
        QSignalSpy again(deliveries.get(), &Deliveries::checkFinished);
        deliveries->checkNow();
        QVERIFY(again.wait(15000));
        QCOMPARE(recorder.notifications().count(arrived), 1);
        QCOMPARE(recorder.notifications().count(failed), 1);

        QTest::keyClick(&menu, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(Screen<FrmLeggiGiornale>::isLoaded() && Screen<FrmLeggiGiornale>::ifLoaded()->isVisible());
        QCOMPARE(Screen<FrmLeggiGiornale>::ifLoaded()->windowTitle(),
                 QString("La Gazzetta del Borgo di domenica 6 dicembre 2026"));
        Screen<FrmLeggiGiornale>::ifLoaded()->close();
        QTRY_VERIFY(Screen<FrmLetturaGiornali>::isLoaded() && QApplication::activeWindow());
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(recorder.notifications().contains("Nessun giornale nuovo."));
    }

    // "I miei giornali": each subscription as the service names it, and Canc takes one away after a question.
    void myNewspapersListsAndRemoves() {
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        prepare(folder, service);
        FrmLetturaGiornali& menu = showActive<FrmLetturaGiornali>();
        std::unique_ptr<Deliveries> deliveries(startDeliveries(0));
        QTest::keyClick(&menu, Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(Screen<FrmMieiGiornali>::isLoaded() && Screen<FrmMieiGiornali>::ifLoaded()->isVisible());
        FrmMieiGiornali* screen = Screen<FrmMieiGiornali>::ifLoaded();
        QTRY_COMPARE(itemTexts(screen, "CboMieiGiornali"), (QStringList{"La Gazzetta del Borgo", "Il Foglio Perduto"}));
        auto* list = child<QComboBox>(screen, "CboMieiGiornali");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        folder.toolkit.answerConfirm(true);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(itemTexts(screen, "CboMieiGiornali"), QStringList{"La Gazzetta del Borgo"});
        // written once the check that started with the screen lets go of the file: under Wine on a loaded machine
        // that can take seconds
        QTRY_VERIFY_WITH_TIMEOUT(SubscriptionFile::read(folder.file("abbonamenti.json")).value().list.size() == 1,
                                 20000);
        folder.toolkit.answerNumber(3);
        QTest::keyClick(screen, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(SubscriptionFile::read(folder.file("abbonamenti.json")).value().list.value(0).keep, 3,
                                  20000);
        QVERIFY(child<QLabel>(screen, "LblStato")->text().endsWith("Tiene gli ultimi 3 numeri."));
        deliveries->add(subscription("La Gazzetta del Borgo")); // picked again in "Aggiungi"
        QCOMPARE(child<Announcer>(screen, "Annuncio")->text(),
                 QString("La Gazzetta del Borgo è già tra i giornali in abbonamento."));
        QCOMPARE(deliveries->subscriptions().list.size(), 1);
        screen->close();
    }

    // Without a window: one line per subscription, and the exit code; the lock keeps a second run out.
    void theUpdateRunsWithoutAWindow() {
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        prepare(folder, service);
        // "code: line | line", the lines in the system's 8-bit encoding, as the console shows them
        const auto run = [&] {
            QProcess update;
            update.start(QCoreApplication::applicationDirPath() + "/lettore-giornali",
                         {"--aggiorna", "--cartella", folder.path(), "--servizio", service.base()});
            const bool ended = update.waitForFinished(30000);
            QStringList lines = QString::fromLocal8Bit(update.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            for (QString& line : lines)
                line = line.trimmed();
            return (ended ? QString::number(update.exitCode()) : QString("non finito")) + ": " + lines.join(" | ");
        };
        QCOMPARE(run(), QString("1: La Gazzetta del Borgo: è arrivato La Gazzetta del Borgo di domenica 6 dicembre "
                                "2026. | Il Foglio Perduto: non scaricato, la testata non è tra quelle del servizio."));
        QVERIFY(run().startsWith("1: La Gazzetta del Borgo: nessun numero nuovo. | "));
        QCOMPARE(SubscriptionFile::read(folder.file("abbonamenti.json")).value().unopened.size(), 1);
        QLockFile held(folder.file("abbonamenti.lock"));
        QVERIFY(held.tryLock(0));
        QCOMPARE(run(), QString("0: Un altro controllo è in corso: nulla da fare."));
    }

    void eachSubscriptionBringsItsNewestIssue_data() {
        QTest::addColumn<QList<Subscription>>("subscriptions");
        QTest::addColumn<QStringList>("stored"); // before the check
        QTest::addColumn<QStringList>("expected");
        const Subscription nord = subscription("Il Corriere della Valle", "Nord");
        const Subscription gazzetta = subscription("La Gazzetta del Borgo");
        QTest::newRow("an edition and an issue without editions")
            << QList<Subscription>{nord, gazzetta} << QStringList()
            << QStringList{"Il Corriere della Valle20261205Nord.zip|Il Corriere della Valle - Nord di sabato 5 "
                           "dicembre 2026",
                           "La Gazzetta del Borgo20261205.zip|La Gazzetta del Borgo di sabato 5 dicembre 2026"};
        QTest::newRow("already stored") << QList<Subscription>{nord, gazzetta}
                                        << QStringList{"Il Corriere della Valle20261205Nord.zip",
                                                       "La Gazzetta del Borgo20261205.zip"}
                                        << QStringList{"-", "-"};
        QTest::newRow("faults, each for its own")
            << QList<Subscription>{subscription("Il Corriere della Valle", "Centro"),
                                   subscription("Il Corriere della Valle"), subscription("Il Mattino Perduto"),
                                   subscription("La Gazzetta del Borgo", "Nord"), gazzetta}
            << QStringList()
            << QStringList{"l'edizione Centro non è tra quelle del sabato 5 dicembre 2026",
                           "il servizio elenca edizioni provinciali: sceglierne una",
                           "la testata non è tra quelle del servizio",
                           // a day without editions brings the issue itself, once
                           "La Gazzetta del Borgo20261205.zip|La Gazzetta del Borgo di sabato 5 dicembre 2026", "-"};
    }

    void eachSubscriptionBringsItsNewestIssue() {
        QFETCH(QList<Subscription>, subscriptions);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, expected);
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Giornali");
        for (const QString& name : stored)
            folder.write("Giornali/" + name, "già qui");
        const Checked checked = check(subscriptions, folder.file("Giornali"));
        QVERIFY2(checked.overall, qPrintable(checked.overall.reason()));
        QStringList described;
        for (const SubscriptionCheck::Result& result : checked.results)
            described << ::described(result);
        QCOMPARE(described, expected);
        for (const QString& name : stored)
            QCOMPARE(folder.read("Giornali/" + name), QByteArray("già qui"));
        for (const QString& line : expected) {
            if (line.contains(".zip|"))
                QVERIFY(folder.read("Giornali/" + line.section('|', 0, 0)).startsWith("PK"));
        }
    }

    // An issue the service publishes while the program runs comes at the next check; then nothing more.
    void aNewIssueComesAtTheNextCheck() {
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Giornali");
        const QList<Subscription> gazzetta{subscription("La Gazzetta del Borgo")};
        QCOMPARE(check(gazzetta, folder.file("Giornali")).results.size(), 1);
        QVERIFY(SampleIssue::write({"La Gazzetta del Borgo", "20261206", {}, 3, 2, false},
                                   service.issues() + "/La Gazzetta del Borgo20261206.zip"));
        const Checked next = check(gazzetta, folder.file("Giornali"));
        QCOMPARE(described(next.results.value(0)),
                 QString("La Gazzetta del Borgo20261206.zip|La Gazzetta del Borgo di domenica 6 dicembre 2026"));
        QCOMPARE(described(check(gazzetta, folder.file("Giornali")).results.value(0)), QString("-"));
    }

    // A profile the service does not know: nothing is checked, and why is said once for the whole check.
    void aRefusedProfileChecksNothing() {
        DemoService service(kUser, kPassword);
        TestProgramFolder folder;
        const Checked checked = check({subscription("La Gazzetta del Borgo")}, folder.file("Giornali"), "sbagliata");
        QVERIFY(!checked.overall);
        QVERIFY(checked.overall.reason().startsWith("il servizio non ha riconosciuto il profilo"));
        QVERIFY(checked.results.isEmpty());
    }

    // "Tieni gli ultimi 2 numeri": only the subscription's own names, never the issue open in the reader.
    void theStoreKeepsTheNewestIssues() {
        TestProgramFolder folder;
        const QStringList files{"La Gazzetta del Borgo20261201.zip",
                                "La Gazzetta del Borgo20261202.zip",
                                "La Gazzetta del Borgo20261203.zip",
                                "La Gazzetta del Borgo20261204.zip",
                                "La Gazzetta del Borgo20261130Nord.zip",
                                "La Gazzetta del Borgo20261399.zip",
                                "La Gazzetta del Borgo.zip"};
        for (const QString& file : files)
            folder.write(file, "PK");
        const Outcome<QStringList> deleted = StoreBound::keepNewest(
            folder.path(), subscription("La Gazzetta del Borgo"), 2, "La Gazzetta del Borgo20261201.zip");
        QCOMPARE(deleted.value(), QStringList{"La Gazzetta del Borgo20261202.zip"});
        QCOMPARE(QDir(folder.path()).entryList({"*.zip"}, QDir::Files).size(), files.size() - 1);
    }

    // A service that does not answer, and a store that cannot be written: each said with its reason, and nothing
    // half-written left behind.
    void faultsOfTheServiceAndTheStore() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Giornali");
        {
            ServiceRequest::setTimeLimitMs(1000);
            FaultyServer silent(QByteArray(), QByteArray(), true);
            ServiceAddress::setBase(silent.base());
            const Checked checked = check({subscription("La Gazzetta del Borgo")}, folder.file("Giornali"));
            ServiceRequest::setTimeLimitMs(30000);
            ServiceAddress::setBase({});
            QCOMPARE(checked.overall.reason(), QString("il servizio non ha risposto entro 1 secondo"));
        }
        if (!FileSizeLimit::available())
            return;
        DemoService service(kUser, kPassword);
        Checked full;
        {
            FileSizeLimit limit(4096); // a full disk
            full = check({subscription("La Gazzetta del Borgo")}, folder.file("Giornali"));
        }
        QVERIFY2(!full.results.value(0), qPrintable(described(full.results.value(0))));
        QTRY_VERIFY(QDir(folder.file("Giornali")).isEmpty());
    }

    // A check the user stops ends at once, and what it did not do is not said as a failure.
    void aStoppedCheckEndsAtOnceAndSaysNothing() {
        TestProgramFolder folder;
        folder.write("abbonamenti.json", R"({"abbonamenti":[{"testata":"La Gazzetta del Borgo"}]})");
        FaultyServer silent(QByteArray(), QByteArray(), true);
        ServiceAddress::setBase(silent.base());
        QStringList said;
        Deliveries::Hooks hooks;
        hooks.profile = [] { return SubscriptionCheck::Profile{kUser, kPassword}; };
        hooks.say = [&](const QString& text) { said << text; };
        Deliveries deliveries(folder.path(), hooks);
        deliveries.start(0);
        QTRY_VERIFY(deliveries.isChecking());
        QSignalSpy finished(&deliveries, &Deliveries::checkFinished);
        QTest::qWait(200);
        deliveries.cancel();
        QVERIFY(finished.wait(1000));
        ServiceAddress::setBase({});
        QCOMPARE(said, QStringList());
        QVERIFY(deliveries.standstill().isEmpty());
    }

    // Missing, damaged and written again whole.
    void theFileKeepsSubscriptionsAndArrivals() {
        TestProgramFolder folder;
        const QString path = folder.file("abbonamenti.json");
        QVERIFY(SubscriptionFile::read(path).ok() && SubscriptionFile::read(path).value().list.isEmpty());
        folder.write("abbonamenti.json", "{\"abbonamenti\": [");
        QCOMPARE(SubscriptionFile::read(path).reason(), QString("il file è danneggiato"));
        Subscriptions kept;
        kept.list = {{"Il Corriere della Valle", "Nord", 3, QDateTime(QDate(2026, 12, 7), QTime(6, 30)), "ultimo"}};
        kept.unopened = {{"Eco20261207.zip", "L'Eco di lunedì 7 dicembre 2026", QDateTime(QDate(2026, 12, 7), {})}};
        QVERIFY(SubscriptionFile::write(path, kept));
        const Subscriptions read = SubscriptionFile::read(path).value();
        QCOMPARE(read.list.value(0).shownName(), QString("Il Corriere della Valle - Nord"));
        QCOMPARE(read.list.value(0).keep, 3);
        QCOMPARE(read.list.value(0).lastCheck, kept.list.value(0).lastCheck);
        QCOMPARE(read.unopened.value(0).title, QString("L'Eco di lunedì 7 dicembre 2026"));
    }
};

GIORNALI_TEST_MAIN(TestSubscriptions)
#include "tst_subscriptions.moc"
