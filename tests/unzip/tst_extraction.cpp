// Real archives, written by the tests, extracted by the real library through the unzip job.
#include "platform/Worker.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "support/ZipBuilder.h"
#include "unzip/CGUnzipFiles.h"
#include "unzip/UnzipRecords.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLibrary>
#include <QTest>
#include <QThread>
#include <stdexcept>

Q_DECLARE_METATYPE(ZipBuilder::Encryption)

class TestExtraction : public QObject {
    Q_OBJECT

    using Encryption = ZipBuilder::Encryption;
    using Answer = Toolkit::Answer;

    // Every file extracted below Temp, as "relative/path=content".
    static QStringList tree(const TestProgramFolder& folder) {
        const QDir temp(folder.file("Temp"));
        QStringList files;
        for (QDirIterator it(temp.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString name = temp.relativeFilePath(it.next());
            files << name + "=" + QString::fromUtf8(folder.read("Temp/" + name));
        }
        files.sort();
        return files;
    }

    // The job run as the program runs it, in a worker thread while the window thread answers its questions.
    static int32_t unzip(CGUnzipFiles& job, const TestProgramFolder& folder, const QString& archive = "a.zip") {
        const auto run = startInWorker(
            [&job, zip = folder.file(archive), temp = folder.file("Temp")] { return job.Unzip(zip, temp); });
        if (!QTest::qWaitFor([&] { return run.isFinished(); }, 60000))
            QTest::qFail("the run did not end", __FILE__, __LINE__);
        const Outcome<int32_t> code = run.result();
        if (!code)
            QTest::qFail(qPrintable(code.reason()), __FILE__, __LINE__);
        return code ? code.value() : -1;
    }

    // a.txt is on the disk and, newer, in the archive; the job asks before replacing it.
    static void askToReplace(const TestProgramFolder& folder, CGUnzipFiles& job) {
        QVERIFY(ZipBuilder().file("a.txt", "nuovo").write(folder.file("a.zip")));
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/a.txt", "vecchio");
        job.setOverWriteFiles(false);
        job.setPromptOverwrite(true);
    }

    static void limitExpansion(uint64_t entry, uint64_t run, uint64_t floor, uint32_t ratio) {
        QLibrary library(QCoreApplication::applicationDirPath() + "/unzip32");
        auto set = reinterpret_cast<decltype(&UzpSetExpansionLimits)>(library.resolve("UzpSetExpansionLimits"));
        QVERIFY(set);
        set(entry, run, floor, ratio);
    }

private slots:
    void foldersAreRecreatedOrDropped() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder()
                    .folder("Cronaca/")
                    .file("Cronaca/001.txt", "uno")
                    .file("Sport/Calcio/002.txt", "due")
                    .file("indice.txt", "tre")
                    .write(folder.file("a.zip")));
        CGUnzipFiles job;
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(tree(folder), (QStringList{"Cronaca/001.txt=uno", "Sport/Calcio/002.txt=due", "indice.txt=tre"}));
        QVERIFY(job.GetLastMessage().contains("estratto: Cronaca/001.txt"));

        QDir(folder.file("Temp")).removeRecursively();
        job.setHonorDirectories(false);
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(tree(folder), (QStringList{"001.txt=uno", "002.txt=due", "indice.txt=tre"}));
        QCOMPARE(QDir(folder.file("Temp")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }

    // On the disk a.txt is older than in the archive and b/b.txt newer; c.txt is only in the archive.
    void existingFilesFollowTheOverwriteOptions_data() {
        QTest::addColumn<QString>("options"); // keep: OverWriteFiles off; prompt, newer, only-newer: on
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("files"); // what Temp holds after
        const QList<Answer> none;
        QTest::newRow("neither replace nor ask") << "keep" << none << 0 << "a.txt=disco b/b.txt=disco c.txt=archivio";
        QTest::newRow("asked, yes then no") << "keep prompt" << QList<Answer>{Answer::Yes, Answer::No} << 0
                                            << "a.txt=archivio b/b.txt=disco c.txt=archivio";
        QTest::newRow("asked, cancelled")
            << "keep prompt" << QList<Answer>{Answer::Cancel} << int(UNZIP_CANCELLED) << "a.txt=disco b/b.txt=disco";
        QTest::newRow("replaced whatever the prompt says")
            << "prompt" << none << 0 << "a.txt=archivio b/b.txt=archivio c.txt=archivio";
        QTest::newRow("newer") << "newer" << none << 0 << "a.txt=archivio b/b.txt=disco c.txt=archivio";
        QTest::newRow("only newer") << "only-newer" << none << 0 << "a.txt=archivio b/b.txt=disco";
    }

    void existingFilesFollowTheOverwriteOptions() {
        QFETCH(QString, options);
        QFETCH(QList<Answer>, answers);
        QFETCH(int, code);
        QFETCH(QString, files);
        TestProgramFolder folder;
        QVERIFY(ZipBuilder()
                    .file("a.txt", "archivio")
                    .file("b/b.txt", "archivio")
                    .file("c.txt", "archivio")
                    .write(folder.file("a.zip")));
        QDir(folder.path()).mkpath("Temp/b");
        folder.write("Temp/a.txt", "disco");
        folder.write("Temp/b/b.txt", "disco");
        for (const auto& [name, seconds] : {std::pair{"Temp/a.txt", ZipBuilder::kModified - 3600},
                                            std::pair{"Temp/b/b.txt", ZipBuilder::kModified + 3600}}) {
            QFile file(folder.file(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds), QFileDevice::FileModificationTime));
        }
        CGUnzipFiles job;
        const QStringList set = options.split(' ');
        job.setOverWriteFiles(!set.contains("keep"));
        job.setPromptOverwrite(set.contains("prompt"));
        job.setExtractNewer(set.contains("newer"));
        job.setExtractOnlyNewer(set.contains("only-newer"));
        for (const Answer answer : answers)
            folder.toolkit.answerYesNoCancel(answer);
        QCOMPARE(unzip(job, folder), code);
        QCOMPARE(tree(folder), files.split(' '));
        QStringList asked; // one question for each existing file, until one is cancelled
        for (const auto& box : folder.toolkit.shown())
            asked << box.text;
        QCOMPARE(asked, QStringList({"Overwrite a.txt?", "Overwrite b/b.txt?"}).first(answers.size()));
    }

    void printedTextFollowsTheOptionsAndOnlyExtractionWrites() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder().file("a b.txt", "riga uno\nriga due\n").write(folder.file("a.zip")));
        QVERIFY(addArchiveComment(folder.file("a.zip"), "Edizione del luned\x8a"));
        CGUnzipFiles job;
        job.setMessageLevel(0);
        job.setSpaceToUnderScore(true);
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(job.GetLastMessage(), QString());
        QVERIFY(QFile::exists(folder.file("Temp/a_b.txt")));

        job.setMessageLevel(2);
        job.setDisplayComment(true);
        job.setVerbose(true);
        QCOMPARE(unzip(job, folder), 0);
        QVERIFY2(job.GetLastMessage().contains(QStringLiteral("\nEdizione del lunedè\n")),
                 qPrintable(job.GetLastMessage()));
        QVERIFY(job.GetLastMessage().contains("(18 byte)"));

        QDir(folder.file("Temp")).removeRecursively();
        job.setDisplayComment(false);
        job.setTestZip(true);
        QCOMPARE(unzip(job, folder), 0);
        QVERIFY2(job.GetLastMessage().contains("verifica: a b.txt  OK"), qPrintable(job.GetLastMessage()));
        job.setTestZip(false);
        job.setWriteToStdOut(true);
        job.setMessageLevel(0);
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(job.GetLastMessage(), QString("riga uno\nriga due\n"));
        job.setConvertCRtoCRLF(true);
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(job.GetLastMessage(), QString("riga uno\r\nriga due\r\n"));
        job.setWriteToStdOut(false);
        job.setExtractList(1);
        QCOMPARE(unzip(job, folder), 0);
        QVERIFY(!QFile::exists(folder.file("Temp/a_b.txt")));
    }

    // Names in DOS code page 850 or in UTF-8 come out right; with CR LF on, text line ends change, binary stays.
    void namesAndLineEndsComeOutRight() {
        TestProgramFolder folder;
        const QByteArray binary("bin\nario\0\n", 10);
        QVERIFY(ZipBuilder().dosNames().file("città/perché.txt", "x").write(folder.file("dos.zip")));
        QVERIFY(ZipBuilder()
                    .file("Qualità €.txt", "a\nb\rc\r\nd\n")
                    .file("dati.bin", binary)
                    .write(folder.file("utf8.zip")));
        QVERIFY(ZipBuilder().utf8NamesWithoutFlag().file("Äü€/così.txt", "y").write(folder.file("raw.zip")));
        QVERIFY(folder.read("dos.zip").contains("citt\x85/perch\x82.txt")); // no UTF-8 flag
        CGUnzipFiles job;
        QVERIFY2(unzip(job, folder, "dos.zip") == 0, qPrintable(job.GetLastMessage()));
        QVERIFY2(unzip(job, folder, "raw.zip") == 0, qPrintable(job.GetLastMessage()));
        job.setConvertCRtoCRLF(true);
        QCOMPARE(unzip(job, folder, "utf8.zip"), 0);
        QCOMPARE(tree(folder), (QStringList{QStringLiteral("Qualità €.txt=a\r\nb\r\nc\r\nd\r\n"),
                                            QStringLiteral("città/perché.txt=x"), "dati.bin=" + QString(binary),
                                            QStringLiteral("Äü€/così.txt=y")}));
    }

    void encryptedEntriesNeedTheirPassword_data() {
        QTest::addColumn<Encryption>("encryption");
        QTest::newRow("traditional") << Encryption::Traditional;
        QTest::newRow("AES-256") << Encryption::Aes256;
    }

    void encryptedEntriesNeedTheirPassword() {
        QFETCH(Encryption, encryption);
        TestProgramFolder folder;
        // Traditional encryption lets one wrong password in 256 through its check; stored entries then fail
        // their CRC, which keeps the outcome of a wrong password the same every time.
        ZipBuilder builder;
        if (encryption == Encryption::Traditional)
            builder.store();
        QVERIFY(builder.encrypt(encryption, "segreta")
                    .file("uno.txt", QByteArray(3000, 'u'))
                    .file("due.txt", QByteArray(3000, 'd'))
                    .write(folder.file("a.zip")));
        CGUnzipFiles job;
        folder.toolkit.answerText("segreta"); // asked once, kept for the next entry
        QCOMPARE(unzip(job, folder), 0);
        QCOMPARE(folder.read("Temp/due.txt"), QByteArray(3000, 'd'));
        QCOMPARE(folder.toolkit.shown().size(), 1);

        QDir(folder.file("Temp")).removeRecursively();
        folder.toolkit.answerText("sbagliata");
        folder.toolkit.answerText("sbagliata");
        QCOMPARE(unzip(job, folder), UNZIP_BAD_PASSWORD);
        QCOMPARE(tree(folder), QStringList()); // nothing half-written

        folder.toolkit.answerText(""); // declined: not asked again in the run
        QCOMPARE(unzip(job, folder), UNZIP_BAD_PASSWORD);
        QCOMPARE(folder.toolkit.shown().size(), 4);
    }

    void damagedArchivesFailButKeepWhatCameBefore() {
        TestProgramFolder folder;
        QByteArray body;
        for (int i = 0; i < 2000; ++i)
            body += QByteArray::number(i * 7919 % 10007) + ' ';
        QVERIFY(ZipBuilder().file("primo.txt", "intatto").file("secondo.txt", body).write(folder.file("a.zip")));
        const QByteArray whole = folder.read("a.zip");
        folder.write("a.zip", whole.left(whole.indexOf("secondo.txt") + 200)); // cut inside the second entry
        CGUnzipFiles job;
        QVERIFY(unzip(job, folder) != 0);
        QCOMPARE(folder.read("Temp/primo.txt"), QByteArray("intatto"));

        folder.write("b.zip", "non sono un archivio");
        QCOMPARE(unzip(job, folder, "b.zip"), UNZIP_DAMAGED);
        QCOMPARE(unzip(job, folder, "manca.zip"), UNZIP_NO_ARCHIVE);
    }

    void nothingIsWrittenOutsideTheTarget() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Fuori");
        QVERIFY(ZipBuilder()
                    .file("../fuori.txt", "x")
                    .file("a/../../fuori2.txt", "x")
                    .file(folder.file("Fuori/assoluto.txt"), "x")
                    .file("C:/unita.txt", "x")
                    .symlink("collegamento", folder.file("Fuori"))
                    .file("collegamento/dentro.txt", "x")
                    .file("uscita/via.txt", "x")
                    .file(QString("d/").repeated(30000) + "lontano.txt", "x")
                    .file(QString("p/").repeated(64) + "fondo.txt", "x")
                    .file("buono.txt", "ok")
                    .write(folder.file("a.zip")));
        QDir(folder.path()).mkpath("Temp");
        QVERIFY(QFile::link(folder.file("Fuori"), folder.file("Temp/uscita"))); // a link already in the target
        folder.write("Fuori/bersaglio.txt", "intatto");
        QVERIFY(QFile::link(folder.file("Fuori/bersaglio.txt"), folder.file("Temp/buono.txt")));
        CGUnzipFiles job;
        QCOMPARE(unzip(job, folder), UNZIP_REFUSED);
        QCOMPARE(folder.files("Fuori"), QStringList{"bersaglio.txt"});
        QCOMPARE(folder.read("Fuori/bersaglio.txt"), QByteArray("intatto")); // the link was replaced, not followed
        QVERIFY(!QFile::exists(folder.file("fuori.txt")) && !QFile::exists(folder.file("fuori2.txt")));
        QCOMPARE(folder.read("Temp/buono.txt"), QByteArray("ok"));
        QVERIFY(!QFileInfo(folder.file("Temp/collegamento")).isSymLink());
        QVERIFY(job.GetLastMessage().contains("rifiutato: ../fuori.txt"));
        QVERIFY(job.GetLastMessage().contains(
            "d/…/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/d/lontano.txt (nome troppo lungo)"));
        QVERIFY(job.GetLastMessage().size() < 2000); // the long name is shortened in the message
        QVERIFY(job.GetLastMessage().contains("fondo.txt (troppe cartelle una dentro l'altra)"));
        QVERIFY(!QFile::exists(folder.file("Temp/d")) && !QFile::exists(folder.file("Temp/p")));
    }

    // Names Windows cannot hold as they stand never reach the disk, on any system. Names equal but for case are
    // one file on Windows, where the second is refused rather than written over the first.
    void namesWindowsCannotHoldAreRefused() {
        TestProgramFolder folder;
        const QStringList refused{"CON",
                                  "dati/aux.txt",
                                  "Nul.tar.gz",
                                  "COM1",
                                  "lpt9.txt",
                                  "a:b.txt",
                                  "punto.",
                                  "spazio ",
                                  "domanda?.txt",
                                  "D:unita.txt",
                                  "\\\\server\\condivisa\\x.txt"};
        ZipBuilder zip;
        for (const QString& name : refused)
            zip.file(name, "x");
        QVERIFY(zip.file("CONSOLE.txt", "ok")
                    .file("icona.txt", "ok")
                    .file("Sport.txt", "primo")
                    .file("sport.txt", "secondo")
                    .write(folder.file("a.zip")));
        CGUnzipFiles job;
        QCOMPARE(unzip(job, folder), UNZIP_REFUSED);
        QStringList written{"CONSOLE.txt", "Sport.txt", "icona.txt"};
#ifdef Q_OS_WIN
        QVERIFY(job.GetLastMessage().contains("sport.txt (stesso file di «Sport.txt»"));
        QCOMPARE(job.GetLastMessage().count("rifiutato:"), refused.size() + 1);
#else
        written << "sport.txt";
        QCOMPARE(job.GetLastMessage().count("rifiutato:"), refused.size());
#endif
        QCOMPARE(QDir(folder.file("Temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), written);
        QCOMPARE(folder.read("Temp/Sport.txt"), QByteArray("primo"));
    }

    // An entry passed over, a header that disagrees with the directory, a damaged plain entry after a declined
    // password: each is said for what it is, and none counts as success.
    void whatIsSkippedOrSuspectIsSaid() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder().file(".", "dati senza nome").file("buono.txt", "ok").write(folder.file("a.zip")));
        CGUnzipFiles job;
        QCOMPARE(unzip(job, folder), UNZIP_WARNING);
        QVERIFY2(job.GetLastMessage().contains("saltato: «.» (nome vuoto)"), qPrintable(job.GetLastMessage()));
        QCOMPARE(folder.read("Temp/buono.txt"), QByteArray("ok"));

        QVERIFY(ZipBuilder().file("c.txt", QByteArray(4000, 'x')).write(folder.file("c.zip")));
        QByteArray bytes = folder.read("c.zip");
        const qsizetype header = bytes.indexOf("c.txt"); // the local header's name; the CRC sits 16 bytes before
        bytes[header - 16] = static_cast<char>(bytes[header - 16] ^ 0x55);
        folder.write("c.zip", bytes);
        job.setTestZip(true); // a bad CRC fails the test, which writes nothing
        QVERIFY(unzip(job, folder, "c.zip") != 0);
        QVERIFY(!QFile::exists(folder.file("Temp/c.txt")));
        job.setTestZip(false);
        QCOMPARE(unzip(job, folder, "c.zip"), UNZIP_WARNING);
        QVERIFY(job.GetLastMessage().contains("avviso: c.txt"));

        QVERIFY(ZipBuilder()
                    .store()
                    .encrypt(Encryption::Traditional, "segreta")
                    .file("segreto.txt", "s")
                    .write(folder.file("e.zip")));
        QVERIFY(ZipBuilder().store().file("rovinato.txt", QByteArray(100, 'r')).write(folder.file("p.zip")));
        QVERIFY(joinArchives(folder.file("e.zip"), folder.file("p.zip"), folder.file("d.zip")));
        bytes = folder.read("d.zip");
        bytes[bytes.indexOf(QByteArray(100, 'r')) + 50] = 'R';
        folder.write("d.zip", bytes);
        folder.toolkit.answerText(""); // declined
        QCOMPARE(unzip(job, folder, "d.zip"), UNZIP_BAD_PASSWORD);
        QVERIFY(job.GetLastMessage().contains("saltato: segreto.txt (password errata o mancante)"));
        QVERIFY2(job.GetLastMessage().contains("errore: rovinato.txt"), qPrintable(job.GetLastMessage()));
    }

    // A run in a worker thread asks its questions on the window thread, and waits for the answers.
    void questionsFromAWorkerAreAskedOnTheWindowThread() {
        TestProgramFolder folder;
        CGUnzipFiles job;
        askToReplace(folder, job);
        bool onWindowThread = false;
        folder.toolkit.answerYesNoCancel(
            Answer::Yes, [&] { onWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread(); });
        QCOMPARE(unzip(job, folder), 0);
        QVERIFY(onWindowThread);
        QCOMPARE(folder.read("Temp/a.txt"), QByteArray("nuovo"));
    }

    // A question whose window closes while it is up, or whose box cannot be opened, cancels the run: nothing is
    // replaced.
    void aQuestionWithoutAnswerCancelsTheRun_data() {
        QTest::addColumn<bool>("windowCloses"); // else the box fails to open
        QTest::newRow("window closed") << true;
        QTest::newRow("error while asking") << false;
    }

    void aQuestionWithoutAnswerCancelsTheRun() {
        QFETCH(bool, windowCloses);
        TestProgramFolder folder;
        CGUnzipFiles job;
        askToReplace(folder, job);
        auto* window = new QObject;
        job.setQuestionContext(window);
        folder.toolkit.answerYesNoCancel(Answer::Yes, [&] {
            if (!windowCloses)
                throw std::runtime_error("la finestra non si apre");
            delete window;
            window = nullptr;
        });
        QCOMPARE(unzip(job, folder), UNZIP_CANCELLED);
        QCOMPARE(folder.read("Temp/a.txt"), QByteArray("vecchio"));
        delete window;
    }

    void anArchiveThatExpandsTooMuchIsStopped() {
        TestProgramFolder folder;
        QVERIFY(ZipBuilder()
                    .file("bomba.txt", QByteArray(3 << 20, '\0'))
                    .file("piccolo.txt", "ok")
                    .write(folder.file("a.zip")));
        limitExpansion(1 << 20, 0, 0, 0);
        CGUnzipFiles job;
        const int32_t code = unzip(job, folder);
        limitExpansion(0, 0, 0, 0);
        QCOMPARE(code, UNZIP_REFUSED);
        QVERIFY(!QFile::exists(folder.file("Temp/bomba.txt")));
        QCOMPARE(folder.read("Temp/piccolo.txt"), QByteArray("ok"));

        limitExpansion(0, 0, 256 << 10, 100); // past 256 KB, at most 100 bytes out for each byte in
        QCOMPARE(unzip(job, folder), UNZIP_REFUSED);
        limitExpansion(0, 0, 0, 0);
        QVERIFY(!QFile::exists(folder.file("Temp/bomba.txt")));
    }

    void oneExtractionAtATime() {
        TestProgramFolder folder;
        CGUnzipFiles job, second;
        askToReplace(folder, job);
        QString secondFailure;
        folder.toolkit.answerYesNoCancel(Toolkit::Answer::Yes, [&] {
            secondFailure = second.Unzip(folder.file("a.zip"), folder.file("Altro")).reason();
        });
        QCOMPARE(unzip(job, folder), 0);
        QVERIFY2(secondFailure.contains("già in corso"), qPrintable(secondFailure));
        QCOMPARE(folder.read("Temp/a.txt"), QByteArray("nuovo"));
        QVERIFY(!QFile::exists(folder.file("Altro")));
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
