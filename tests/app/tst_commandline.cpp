#include "app/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

    static QProcessEnvironment environment(const QString& folder = {}) {
        QProcessEnvironment env;
        if (!folder.isEmpty())
            env.insert(QLatin1String(CommandLine::kFolderVariable), folder);
        return env;
    }

private slots:
    void theFolderComesFromTheOptionThenTheEnvironment() {
        QCOMPARE(CommandLine::parse({"prog"}, environment()).programFolder, QString());
        QCOMPARE(CommandLine::parse({"prog"}, environment("/da/ambiente")).programFolder, QString("/da/ambiente"));
        QCOMPARE(CommandLine::parse({"prog", "--cartella", "/da/opzione"}, environment("/da/ambiente")).programFolder,
                 QString("/da/opzione"));
        QCOMPARE(CommandLine::parse({"prog", "-c", "/breve"}, environment()).programFolder, QString("/breve"));
    }

    void theServiceComesFromTheOptionThenTheEnvironment() {
        QProcessEnvironment env;
        env.insert(QLatin1String(CommandLine::kServiceVariable), "http://ambiente:1");
        QCOMPARE(CommandLine::parse({"prog"}, env).service, QString("http://ambiente:1"));
        QCOMPARE(CommandLine::parse({"prog", "-s", "http://opzione:2"}, env).service, QString("http://opzione:2"));
        QCOMPARE(CommandLine::parse({"prog", "--attesa", "5"}, env).waitSeconds, 5);
    }

    void demoAndHelpAreRecognised() {
        QVERIFY(CommandLine::parse({"prog", "--demo"}, environment()).demo);
        QVERIFY(CommandLine::parse({"prog", "--aiuto"}, environment()).help);
        QVERIFY(CommandLine::helpText().contains("--cartella"));
        QVERIFY(CommandLine::helpText().contains(CommandLine::kFolderVariable));
    }

    void badArgumentsGiveAnItalianReason_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option") << QStringList{"prog", "--boh"} << "Opzione sconosciuta: boh.";
        QTest::newRow("missing folder") << QStringList{"prog", "--cartella"} << "manca il percorso";
        QTest::newRow("wait not a number") << QStringList{"prog", "--attesa", "molto"} << "Attesa non valida: molto";
        QTest::newRow("service not http")
            << QStringList{"prog", "--servizio", "ftp://x"} << "Indirizzo del servizio non valido";
        QTest::newRow("stray argument") << QStringList{"prog", "giornale.zip"} << "Argomento inatteso: giornale.zip.";
    }

    void badArgumentsGiveAnItalianReason() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        const CommandLine parsed = CommandLine::parse(arguments, environment());
        QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
