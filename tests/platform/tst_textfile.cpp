#include "platform/FileError.h"
#include "platform/TextFile.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void linesAreSplitAtEitherLineEnd_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("CR LF") << QByteArray("uno\r\ndue\r\n") << QStringList{"uno", "due"};
        QTest::newRow("bare LF") << QByteArray("uno\ndue\n") << QStringList{"uno", "due"};
        QTest::newRow("mixed") << QByteArray("uno\ndue\r\ntre") << QStringList{"uno", "due", "tre"};
        QTest::newRow("no final line end") << QByteArray("uno") << QStringList{"uno"};
        QTest::newRow("trailing empty line") << QByteArray("uno\r\n\r\n") << QStringList{"uno", ""};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("lone CR kept") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
        QTest::newRow("8-bit text") << QByteArray("caff\xe8 \x80\r\n") << QStringList{QStringLiteral("caffè €")};
    }

    void linesAreSplitAtEitherLineEnd() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        TestProgramFolder folder;
        folder.write("f.txt", bytes);
        QCOMPARE(TextFile::readLines(folder.file("f.txt")), lines);
    }

    void aMissingFileFailsUnlessItMayBeCreated() {
        TestProgramFolder folder;
        QVERIFY_THROWS_EXCEPTION(FileError, TextFile::readLines(folder.file("manca.txt")));
        QCOMPARE(TextFile::readLinesCreatingIfMissing(folder.file("manca.txt")), QStringList());
        QVERIFY(QFile::exists(folder.file("manca.txt")));
    }

    void appendingWritesCrLfIn8BitText() {
        TestProgramFolder folder;
        TextFile::appendLine(folder.file("f.txt"), QStringLiteral("però"));
        TextFile::appendLine(folder.file("f.txt"), QStringLiteral("“€”"));
        QCOMPARE(folder.read("f.txt"), QByteArray("per\xf2\r\n\x93\x80\x94\r\n"));
    }

    void filesHoldingAPasswordAreOwnerOnly() {
        TestProgramFolder folder;
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
        TextFile::appendLine(folder.file("a.txt"), "x", TextFile::Access::OwnerOnly);
        TextFile::readLinesCreatingIfMissing(folder.file("b.txt"), TextFile::Access::OwnerOnly);
        folder.write("c.txt", "old\r\n");
        QFile(folder.file("c.txt")).setPermissions(ownerOnly | QFile::ReadGroup | QFile::ReadOther);
        TextFile::replaceWithLine(folder.file("c.txt"), "x", TextFile::Access::OwnerOnly);
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            QCOMPARE(QFile(folder.file(name)).permissions() & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
    }

    void replacingLeavesOneLine() {
        TestProgramFolder folder;
        folder.write("f.txt", "uno\r\ndue\r\n");
        TextFile::replaceWithLine(folder.file("f.txt"), QStringLiteral("tre"));
        QCOMPARE(folder.read("f.txt"), QByteArray("tre\r\n"));
    }

    void aFailedReplaceLeavesTheOldFileWhole() {
        TestProgramFolder folder;
        folder.write("f.txt", "vecchia riga\r\n");
        {
            FileSizeLimit diskFull(4);
            try {
                TextFile::replaceWithLine(folder.file("f.txt"), QStringLiteral("nuova riga"));
                QFAIL("no error");
            } catch (const FileError& error) {
                QVERIFY2(error.message().contains("il disco è pieno"), qPrintable(error.message()));
            }
        }
        QCOMPARE(folder.read("f.txt"), QByteArray("vecchia riga\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"f.txt"}); // no temporary file left
    }

    void aFailedAppendIsReported() {
        TestProgramFolder folder;
        QDir(folder.path()).mkdir("cartella.txt");
        try {
            TextFile::appendLine(folder.file("cartella.txt"), "x");
            QFAIL("no error");
        } catch (const FileError& error) {
            QVERIFY2(error.message().contains("cartella.txt") && error.message().contains("è una cartella"),
                     qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
