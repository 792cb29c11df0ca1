#include "app/CommandLine.h"
#include "support/TestMain.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void optionsComeBeforeTheEnvironment() {
        QProcessEnvironment env;
        QCOMPARE(CommandLine::parse({"prog"}, env).programFolder, QString());
        QCOMPARE(CommandLine::parse({"prog", "-c", "/breve"}, env).programFolder, QString("/breve"));
        env.insert(QLatin1String(CommandLine::kFolderVariable), "/da/ambiente");
        env.insert(QLatin1String(CommandLine::kServiceVariable), "http://ambiente:1");
        const CommandLine fromEnvironment = CommandLine::parse({"prog"}, env);
        QCOMPARE(fromEnvironment.programFolder, QString("/da/ambiente"));
        QCOMPARE(fromEnvironment.service, QString("http://ambiente:1"));
        const CommandLine fromOptions =
            CommandLine::parse({"prog", "--cartella", "/da/opzione", "-s", "http://opzione:2", "--attesa", "5"}, env);
        QCOMPARE(fromOptions.programFolder, QString("/da/opzione"));
        QCOMPARE(fromOptions.service, QString("http://opzione:2"));
        QCOMPARE(fromOptions.waitSeconds, 5);
    }

    void demoAndHelpAreRecognised() {
        QVERIFY(CommandLine::parse({"prog", "--demo"}, {}).demo);
        QVERIFY(CommandLine::parse({"prog", "--aiuto"}, {}).help);
        QVERIFY(CommandLine::helpText().contains("--cartella"));
        QVERIFY(CommandLine::helpText().contains(CommandLine::kFolderVariable));
    }

    void badArgumentsGiveAnItalianReason_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option") << QStringList{"prog", "--boh"} << "Opzione sconosciuta: boh.";
        QTest::newRow("missing folder") << QStringList{"prog", "--cartella"} << "manca il percorso dopo --cartella.";
        QTest::newRow("missing address") << QStringList{"prog", "--demo", "-s"}
                                         << "Argomenti non validi: manca l'indirizzo dopo -s.";
        QTest::newRow("missing seconds") << QStringList{"prog", "--attesa"}
                                         << "manca il numero di secondi dopo --attesa.";
        QTest::newRow("wait not a number") << QStringList{"prog", "--attesa", "molto"} << "Attesa non valida: molto";
        QTest::newRow("service not http")
            << QStringList{"prog", "--servizio", "ftp://x"} << "Indirizzo del servizio non valido";
        QTest::newRow("stray argument") << QStringList{"prog", "giornale.zip"} << "Argomento inatteso: giornale.zip.";
    }

    void badArgumentsGiveAnItalianReason() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        const CommandLine parsed = CommandLine::parse(arguments, {});
        QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
