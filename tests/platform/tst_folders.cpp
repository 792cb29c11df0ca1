#include "platform/FileError.h"
#include "platform/Folders.h"
#include "platform/ProgramFiles.h"
#include "platform/ProgramFolder.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTest>

class TestFolders : public QObject {
    Q_OBJECT

private slots:
    void filesAreListedByNameWithoutRegardToCase() {
        TestProgramFolder folder;
        for (const char* name : {"b.txt", "A.txt", "02-esteri", "01-Cronaca", "c"})
            folder.write(name, "");
        QDir(folder.path()).mkdir("Sottocartella");
        QCOMPARE(Folders::fileNames(folder.path()), (QStringList{"01-Cronaca", "02-esteri", "A.txt", "b.txt", "c"}));
        QVERIFY_THROWS_EXCEPTION(FileError, Folders::fileNames(folder.file("manca")));
    }

    // Everything in it, and a link leading out is removed, not followed.
    void deletingAFolderTakesEverythingInIt() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Temp/sezione/vuota");
        QDir(folder.path()).mkpath("Fuori");
        folder.write("Temp/a.txt", "x");
        folder.write("Temp/sezione/b.txt", "y");
        folder.write("Fuori/salvo.txt", "z");
        QVERIFY(QFile::link(folder.file("Fuori"), folder.file("Temp/sezione/collegamento")));
        Folders::deleteFolder(folder.file("Temp"));
        QVERIFY(!QFile::exists(folder.file("Temp")));
        QCOMPARE(folder.read("Fuori/salvo.txt"), QByteArray("z"));
        QVERIFY_THROWS_EXCEPTION(FileError, Folders::deleteFolder(folder.file("Temp")));
    }

    void readOnlyFilesAreNotForced() {
        TestProgramFolder folder;
        QDir(folder.path()).mkpath("Temp");
        folder.write("Temp/protetto.txt", "x");
        folder.write("Temp/libero.txt", "y");
        QFile::setPermissions(folder.file("Temp/protetto.txt"), QFile::ReadOwner | QFile::ReadUser);
        QVERIFY_THROWS_EXCEPTION(FileError, Folders::deleteFolder(folder.file("Temp")));
        QCOMPARE(folder.files("Temp"), QStringList{"protetto.txt"});
    }

    // A folder the program cannot write in is said, with the way out; one it can is made ready.
    void anUnwritableProgramFolderIsSaid() {
        TestProgramFolder folder;
        QCOMPARE(ProgramFolder::prepareForWriting(), QString());
        QVERIFY(QFileInfo(folder.file("Giornali")).isDir());
        folder.write("un file", "x"); // a folder cannot be made inside a file, whoever the user is
        ProgramFolder::set(folder.file("un file/cartella"));
        const QString said = ProgramFolder::prepareForWriting();
        QVERIFY2(said.startsWith("Impossibile scrivere nella cartella del programma «" +
                                 QDir::toNativeSeparators(folder.file("un file/cartella")) + "»"),
                 qPrintable(said));
        QVERIFY(said.contains("--cartella"));
    }

    // A copy unpacked by hand keeps its data beside the executable; an installed copy, or one that cannot write
    // there, in the user's data folder under HOME.
    void programFolderWithoutOption_data() {
        QTest::addColumn<QString>("layout");
        for (const char* layout : {"unpacked", "installed", "read-only"})
            QTest::newRow(layout) << QString(layout);
    }

    void programFolderWithoutOption() {
        QFETCH(QString, layout);
        TestProgramFolder folder;
        const QString bin = folder.file("usr/bin");
        QDir().mkpath(bin);
        QCoreApplication::setApplicationName("lettore-giornali");
        qputenv("HOME", folder.file("casa").toLocal8Bit());
        qunsetenv("XDG_DATA_HOME");
#ifdef Q_OS_WIN
        if (layout == "installed")
            folder.write("usr/bin/" + ProgramFiles::kWindowsUninstaller, "MZ");
        const QString userData = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) + "/lettore-giornali";
#else
        if (layout == "installed")
            QDir().mkpath(ProgramFiles::privateFolder(bin));
        const QString userData = folder.file("casa/.local/share/lettore-giornali");
#endif
        if (layout == "read-only") {
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
            if (QTemporaryFile(bin + "/prova-XXXXXX").open())
                QSKIP("this user writes in read-only folders");
        }
        const QString expected = layout == "unpacked" ? bin : userData;
        QCOMPARE(ProgramFolder::defaultFor(bin), expected);
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
