#include "platform/FileError.h"
#include "platform/TextFile.h"
#include "support/TestMain.h"
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

    // Lines go out in 8-bit text with CR LF, a replaced file holds the one line, and files holding a password are
    // for their owner only.
    void linesAreWrittenWithCrLfIn8BitText() {
        TestProgramFolder folder;
        const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
        TextFile::appendLine(folder.file("a.txt"), QStringLiteral("però"), TextFile::Access::OwnerOnly);
        TextFile::appendLine(folder.file("a.txt"), QStringLiteral("“€”"), TextFile::Access::OwnerOnly);
        QCOMPARE(folder.read("a.txt"), QByteArray("per\xf2\r\n\x93\x80\x94\r\n"));
        TextFile::readLinesCreatingIfMissing(folder.file("b.txt"), TextFile::Access::OwnerOnly);
        folder.write("c.txt", "uno\r\ndue\r\n");
        QFile(folder.file("c.txt")).setPermissions(ownerOnly | QFile::ReadGroup | QFile::ReadOther);
        TextFile::replaceWithLine(folder.file("c.txt"), QStringLiteral("trè"), TextFile::Access::OwnerOnly);
        QCOMPARE(folder.read("c.txt"), QByteArray("tr\xe8\r\n"));
#ifndef Q_OS_WIN // permission bits are POSIX's; on Windows a file is private by its folder's access list
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            QCOMPARE(QFile(folder.file(name)).permissions() & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);
#endif
    }

    // A full disk, or a folder where the file should be, fails with a reason and leaves no trace.
    void failuresAreReportedAndChangeNothing() {
        TestProgramFolder folder;
        const auto failure = [](const auto& write) {
            try {
                write();
            } catch (const FileError& error) {
                return error.message();
            }
            return QString("(nessun errore)");
        };
        folder.write("f.txt", "vecchia riga\r\n");
        if (FileSizeLimit::available()) {
            FileSizeLimit diskFull(4);
            const QString full = failure([&] { TextFile::replaceWithLine(folder.file("f.txt"), "nuova riga"); });
            QVERIFY2(full.contains("il disco è pieno"), qPrintable(full));
        }
        QCOMPARE(folder.read("f.txt"), QByteArray("vecchia riga\r\n"));
        QCOMPARE(folder.files(), QStringList{"f.txt"}); // no temporary file left
        if (FileSizeLimit::available()) {
            FileSizeLimit diskFull(14 + 3); // room for three bytes of the new line
            const QString torn = failure([&] { TextFile::appendLine(folder.file("f.txt"), "annamaria--pw"); });
            QVERIFY2(torn.contains("il disco è pieno"), qPrintable(torn));
        }
        QCOMPARE(folder.read("f.txt"), QByteArray("vecchia riga\r\n")); // no torn line

        QDir(folder.path()).mkdir("cartella.txt");
        const QString notAFile = failure([&] { TextFile::appendLine(folder.file("cartella.txt"), "x"); });
        QVERIFY2(notAFile.contains("cartella.txt") && notAFile.contains("è una cartella"), qPrintable(notAFile));
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
