#include "platform/FileError.h"
#include "platform/Folders.h"
#include "support/TestProgramFolder.h"

#include <QDir>
#include <QFile>
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
        QCOMPARE(QDir(folder.file("Temp")).entryList(QDir::Files), QStringList{"protetto.txt"});
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
