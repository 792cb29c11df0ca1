#include "Recording.h"
#include "support/TestProgramFolder.h"
#include "unzip/CGUnzipFiles.h"
#include "unzip/CodeModule.h"
#include "unzip/UnzipError.h"
#include "unzip/UnzipRecords.h"

#include <QLibrary>
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

    static UnzipError raised(CGUnzipFiles& job) {
        try {
            job.Unzip();
        } catch (const UnzipError& error) {
            return error;
        }
        return UnzipError(0, "(nulla)", "(nulla)");
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

    void aFreshJobHasTheDefaultsAndPrintedNothing() {
        const CGUnzipFiles job;
        QCOMPARE(job.GetLastMessage(), QString());
        QCOMPARE(QList<bool>({job.ExtractNewer(), job.SpaceToUnderScore(), job.PromptOverwrite(), job.WriteToStdOut(),
                              job.TestZip(), job.ExtractOnlyNewer(), job.DisplayComment(), job.HonorDirectories(),
                              job.OverWriteFiles(), job.ConvertCRtoCRLF(), job.Verbose(), job.CaseSensitive()}),
                 QList<bool>({false, false, false, false, false, false, false, true, true, false, false, true}));
        QCOMPARE(job.MessageLevel(), 2);
        QCOMPARE(job.ExtractList(), 0);
        QCOMPARE(job.Privilege(), 0);
        QVERIFY(job.ZipFileName().isEmpty() && job.ExtractDir().isEmpty());
    }

    void theLibraryReceivesTheRecordsOfTheJob() {
        CGUnzipFiles job;
        job.setZipFileName("/giornali/La Gazzetta20241205.zip");
        job.setExtractDir("/programma/Temp");
        job.setHonorDirectories(true);
        QCOMPARE(job.Unzip(), 0);
        const Recording& run = *m_recorded();
        QCOMPARE(run.versionCalls, 1);
        QCOMPARE(run.runs, 1);
        QCOMPARE(fields(run.options), QList<int32_t>({0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0}));
        QCOMPARE(QString(run.zipFileName), QString("/giornali/La Gazzetta20241205.zip"));
        QCOMPARE(QString(run.extractDir), QString("/programma/Temp"));
        QCOMPARE(run.includeCount, 0);
        QCOMPARE(run.excludeCount, 0);
        QVERIFY(run.namesAllNull);
        QVERIFY(run.callbacks.print && run.callbacks.replace && run.callbacks.password && run.callbacks.listing &&
                run.callbacks.service);
        QCOMPARE(run.callbacks.receiver, nullptr);
        QCOMPARE(run.versionSeen.length, 64u);
        QCOMPARE(QByteArray(run.versionSeen.level), QByteArray(9, ' '));
        QCOMPARE(QByteArray(run.versionSeen.date), QByteArray(19, ' '));
        QCOMPARE(QByteArray(run.versionSeen.archiveLibrary), QByteArray(9, ' '));
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
        QVERIFY(!job.TestZip());
        job.Unzip();
        QCOMPARE(m_recorded()->options.TestZip, 0);
    }

    void nonEmptyArgumentsReplaceTheStoredTexts() {
        CGUnzipFiles job;
        job.setZipFileName("vecchio.zip");
        job.setExtractDir("cartella");
        job.Unzip("nuovo.zip", "");
        QCOMPARE(job.ZipFileName(), QString("nuovo.zip"));
        QCOMPARE(job.ExtractDir(), QString("cartella"));
        QCOMPARE(QString(m_recorded()->extractDir), QString("cartella"));
    }

    void aNonzeroCodeIsReturnedNotRaised() {
        m_script(UNZIP_DAMAGED);
        CGUnzipFiles job;
        QCOMPARE(job.Unzip("a.zip", "b"), UNZIP_DAMAGED);
    }

    void anOverflowFailsBeforeTheLibrary_data() {
        QTest::addColumn<int>("option");
        QTest::newRow("MessageLevel") << 0;
        QTest::newRow("ExtractList") << 1;
        QTest::newRow("Privilege") << 2;
    }

    void anOverflowFailsBeforeTheLibrary() {
        QFETCH(int, option);
        CGUnzipFiles job;
        if (option == 0)
            job.setMessageLevel(40000);
        else if (option == 1)
            job.setExtractList(-40000);
        else
            job.setPrivilege(32768);
        if (option == 0)
            QCOMPARE(job.MessageLevel(), 40000); // kept as set
        const UnzipError error = raised(job);
        QCOMPARE(error.number(), 6);
        QCOMPARE(error.source(), QString("CGUnZipFiles::Unzip"));
        QCOMPARE(m_recorded()->versionCalls, 0);
    }

    void libraryFailuresKeepTheirNumberUnderTheJobsSource() {
        CGUnzipFiles job;
        CodeModule::setLibraryPath(QCoreApplication::applicationDirPath() + "/manca/unzip32");
        UnzipError error = raised(job);
        QCOMPARE(error.number(), 48);
        QCOMPARE(error.source(), QString("CGUnZipFiles::Unzip"));
        QVERIFY(error.description().contains("libreria"));

        CodeModule::setLibraryPath(QCoreApplication::applicationDirPath() + "/unzip32_incompleta");
        error = raised(job);
        QCOMPARE(error.number(), 453);
        QCOMPARE(error.source(), QString("CGUnZipFiles::Unzip"));
        QVERIFY(error.description().contains("Wiz_SingleEntryUnzip"));
    }

    void printedChunksMakeTheLastMessage() {
        m_scriptPrint("abc", 3);
        m_scriptPrint("\n", 1);
        m_scriptPrint("\nresto ignorato", 15);
        m_scriptPrint("fino\0oltre", 10);
        m_scriptPrint("città", 6);
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

QTEST_GUILESS_MAIN(TestUnzipJob)
#include "tst_unzipjob.moc"
