// The installed copy, run from the folder the installation test filled as the package lays it out (prefix /usr):
// where it keeps its data and which extraction library it loads. What a desktop finds of it is checked by
// appstreamcli validate-tree on the same folder.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kInstalled = QStringLiteral(COPIA_INSTALLATA);
const QString kBin = kInstalled + QStringLiteral("/" CARTELLA_BIN);
const QString kProgram = kBin + QStringLiteral("/lettore-giornali");
const QString kLibrary = QDir::cleanPath(kInstalled + QStringLiteral("/" CARTELLA_PRIVATA "/libunzip32.so"));

// A user of their own: everything the program keeps per user lands in the temporary home.
QProcessEnvironment userEnvironment(const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "LETTORE_GIORNALI_CARTELLA"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    if (!ended)
        process.kill();
    return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString userDataFolder(const QString& home) {
    return home + QStringLiteral("/.local/share/lettore-giornali");
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(kProgram).isExecutable(),
                 qPrintable(kProgram + " manca: installazione_copia non eseguito?"));
    }

    // --verifica lays out the folder a start would use and names the library it loaded.
    void checkReportsFolderAndLibrary_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("expected");
        const QString home = QStringLiteral("<home>/.local/share/lettore-giornali");
        QTest::newRow("cartella dell'utente") << QStringList{} << QString() << home;
        QTest::newRow("--cartella") << QStringList{"--cartella", "<altra>/opzione"} << QString() << "<altra>/opzione";
        QTest::newRow("variabile") << QStringList{} << "<altra>/variabile"
                                   << "<altra>/variabile";
        QTest::newRow("--cartella prima della variabile")
            << QStringList{"--cartella", "<altra>/opzione"} << "<altra>/variabile"
            << "<altra>/opzione";
    }

    void checkReportsFolderAndLibrary() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, variable);
        QFETCH(QString, expected);
        QTemporaryDir home;
        QTemporaryDir other;
        QVERIFY(home.isValid() && other.isValid());
        const auto place = [&](QString text) {
            return text.replace(QLatin1String("<home>"), home.path()).replace(QLatin1String("<altra>"), other.path());
        };
        for (QString& argument : arguments)
            argument = place(argument);
        expected = place(expected);
        QProcessEnvironment environment = userEnvironment(home.path());
        if (!variable.isEmpty())
            environment.insert(QStringLiteral("LETTORE_GIORNALI_CARTELLA"), place(variable));

        const Run result = run(kProgram, QStringList{"--verifica"} + arguments, environment);
        QVERIFY2(result.exitCode == 0, qPrintable(result.err));
        const QStringList lines = result.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), "Cartella del programma: " + expected);
        QVERIFY(QFileInfo(expected + QStringLiteral("/Giornali")).isDir());
        // The data go to that folder alone: not also to the user's, nor beside the executable, where an
        // administrator could write.
        QCOMPARE(QFileInfo::exists(userDataFolder(home.path())), expected == userDataFolder(home.path()));
        QVERIFY(!QFileInfo::exists(kBin + QStringLiteral("/Giornali")));
        QVERIFY2(lines.value(1).startsWith("Libreria di decompressione: " + kLibrary + " (versione "),
                 qPrintable(result.out));
    }

    // Started from the menu, without options: it lays out its data in the user's folder and stays up.
    void startsWithoutOptions() {
        QTemporaryDir home;
        QProcess process;
        process.setProcessEnvironment(userEnvironment(home.path()));
        process.start(kProgram, QStringList{});
        const QString archives = userDataFolder(home.path()) + QStringLiteral("/Giornali");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(archives).isDir() || process.state() == QProcess::NotRunning, 20000);
        QVERIFY2(!process.waitForFinished(1000), process.readAllStandardError().constData());
        process.kill();
        process.waitForFinished();
        QVERIFY(QFileInfo(archives).isDir() && !QFileInfo::exists(kBin + QStringLiteral("/Giornali")));
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
