#include "Recording.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "unzip/CGUnzipFiles.h"
#include "unzip/CodeModule.h"
#include "unzip/UnzipRecords.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

class TestUnzipJob : public QObject {
    Q_OBJECT

    QLibrary m_recorder{QCoreApplication::applicationDirPath() + "/unzip32_registratore"};
    Recording* (*m_recorded)() = nullptr;
    void (*m_script)(int32_t) = nullptr;
    void (*m_scriptPrint)(const char*, uint32_t) = nullptr;

    static QList<int32_t> fields(const UnzipOptions& options) {
        const auto* values = reinterpret_cast<const int32_t*>(&options);
        return QList<int32_t>(values, values + 15);
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_recorder.load(), qPrintable(m_recorder.errorString()));
        m_recorded = reinterpret_cast<Recording* (*)()>(m_recorder.resolve("RecordedRun"));
        m_script = reinterpret_cast<void (*)(int32_t)>(m_recorder.resolve("ScriptRun"));
        m_scriptPrint = reinterpret_cast<void (*)(const char*, uint32_t)>(m_recorder.resolve("ScriptPrint"));
        QVERIFY(m_recorded && m_script && m_scriptPrint);
    }

    void init() {
        CodeModule::setLibraryPath(m_recorder.fileName());
        m_script(0);
    }

    void cleanup() { CodeModule::setLibraryPath({}); }

    // The version record goes first; then one run over the whole archive, with every callback.
    void theLibraryReceivesTheRecordsOfAJob() {
        CGUnzipFiles job;
        QCOMPARE(job.Unzip("/giornali/La Gazzetta20241205.zip", "/programma/Temp").value(), 0);
        const Recording& run = *m_recorded();
        QCOMPARE(run.versionCalls, 1);
        QCOMPARE(run.versionSeen.length, 64u);
        QCOMPARE(run.runs, 1);
        QCOMPARE(QString(run.zipFileName), QString("/giornali/La Gazzetta20241205.zip"));
        QCOMPARE(QString(run.extractDir), QString("/programma/Temp"));
        QVERIFY(run.includeCount == 0 && run.excludeCount == 0 && run.namesAllNull);
        QVERIFY(run.callbacks.print && run.callbacks.replace && run.callbacks.password && run.callbacks.listing &&
                run.callbacks.service);
    }

    void everyOptionReachesItsOwnField() {
        CGUnzipFiles job;
        job.setExtractOnlyNewer(true);
        job.setSpaceToUnderScore(true);
        job.setPromptOverwrite(true);
        job.setMessageLevel(-1);
        job.setWriteToStdOut(true);
        job.setTestZip(true);
        job.setExtractList(7);
        job.setExtractNewer(true);
        job.setDisplayComment(true);
        job.setHonorDirectories(false);
        job.setOverWriteFiles(false);
        job.setConvertCRtoCRLF(true);
        job.setVerbose(true);
        job.setCaseSensitive(false);
        job.setPrivilege(-32768);
        job.Unzip("a.zip", "cartella");
        QCOMPARE(fields(m_recorded()->options), QList<int32_t>({1, 1, 1, -1, 1, 1, 7, 1, 1, 0, 0, 1, 1, 0, -32768}));
        job.setTestZip(false);
        job.Unzip();
        QCOMPARE(m_recorded()->options.TestZip, 0);
    }

    void nonEmptyArgumentsReplaceTheStoredTextsAndACodeIsReturned() {
        m_script(UNZIP_DAMAGED);
        CGUnzipFiles job;
        job.setZipFileName("vecchio.zip");
        job.setExtractDir("cartella");
        QCOMPARE(job.Unzip("nuovo.zip", "").value(), UNZIP_DAMAGED); // a code, not a failure
        QCOMPARE(job.ZipFileName(), QString("nuovo.zip"));
        QCOMPARE(job.ExtractDir(), QString("cartella"));
        QCOMPARE(QString(m_recorded()->extractDir), QString("cartella"));
    }

    // Why no extraction could be run, and no code.
    void failuresComeWithTheirReason() {
        const auto check = [](CGUnzipFiles& job, const QString& reason) {
            const Outcome<int32_t> code = job.Unzip();
            QVERIFY(!code);
            QVERIFY2(code.reason().contains(reason), qPrintable(code.reason()));
        };
        // A number that does not fit the library's 16 bits is refused before the library is called.
        CGUnzipFiles level, list, privilege;
        level.setMessageLevel(40000);
        QCOMPARE(level.MessageLevel(), 40000); // kept as set
        list.setExtractList(-40000);
        privilege.setPrivilege(32768);
        check(level, "MessageLevel vale 40000");
        check(list, "ExtractList vale -40000");
        check(privilege, "Privilege vale 32768");
        QCOMPARE(m_recorded()->versionCalls, 0);

        // A library of that name in the current folder or on the search path is never taken for a missing one.
        QTemporaryDir elsewhere;
#ifdef Q_OS_WIN
        const QString foreign = elsewhere.filePath("unzip32.dll");
        qputenv("PATH", QDir::toNativeSeparators(elsewhere.path()).toLocal8Bit() + ";" + qgetenv("PATH"));
#else
        const QString foreign = elsewhere.filePath("libunzip32.so");
#endif
        QVERIFY(QFile::copy(m_recorder.fileName(), foreign));
        const QString current = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        CGUnzipFiles job;
        CodeModule::setLibraryPath(QCoreApplication::applicationDirPath() + "/manca/unzip32");
        check(job, "Impossibile caricare la libreria");
        QVERIFY(!CodeModule::describeLibrary());
        QDir::setCurrent(current);
        CodeModule::setLibraryPath(QCoreApplication::applicationDirPath() + "/unzip32_incompleta");
        check(job, "Wiz_SingleEntryUnzip");
        QVERIFY(CodeModule::describeLibrary().reason().contains("Wiz_SingleEntryUnzip"));
    }

    void printedChunksMakeTheLastMessage() {
        m_scriptPrint("abc", 3);
        m_scriptPrint("\n", 1);
        m_scriptPrint("\nresto ignorato", 15);
        m_scriptPrint("fino\0oltre", 10);
        const QByteArray city = QStringLiteral("città").toLocal8Bit(); // the library prints in the local code page
        m_scriptPrint(city.constData(), static_cast<uint32_t>(city.size()));
        CGUnzipFiles job;
        job.Unzip("a.zip", "b");
        QCOMPARE(job.GetLastMessage(), QStringLiteral("abc\r\n\r\nfinocittà"));

        m_script(0);
        m_scriptPrint("seconda", 7);
        CGUnzipFiles().Unzip("a.zip", "b");
        QCOMPARE(job.GetLastMessage(), QString("seconda"));
        m_script(0);
        job.Unzip();
        QCOMPARE(job.GetLastMessage(), QString());
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestUnzipJob)
#include "tst_unzipjob.moc"
