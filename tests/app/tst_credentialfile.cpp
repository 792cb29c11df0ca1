#include "app/CredentialFile.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"

#include <QFile>
#include <QTest>

using Kind = CredentialLine::Kind;
Q_DECLARE_METATYPE(CredentialLine::Kind)

class TestCredentialFile : public QObject {
    Q_OBJECT

private slots:
    void theFirstSeparatorSplitsTheLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("parts"); // user, password
        const QStringList none{"", ""};
        QTest::newRow("empty") << "" << Kind::NoProfile << none;
        QTest::newRow("no separator") << "mario rossi" << Kind::Malformed << none;
        QTest::newRow("single dash") << "mario-segreta" << Kind::Malformed << none;
        QTest::newRow("ordinary") << "mario--segreta" << Kind::Profile << QStringList{"mario", "segreta"};
        QTest::newRow("separator only") << "--" << Kind::Profile << none;
        QTest::newRow("empty user") << "--segreta" << Kind::Profile << QStringList{"", "segreta"};
        QTest::newRow("empty password") << "mario--" << Kind::Profile << QStringList{"mario", ""};
        QTest::newRow("more separators") << "ma--rio--pw" << Kind::Profile << QStringList{"ma", "rio--pw"};
        QTest::newRow("three dashes") << "a---b" << Kind::Profile << QStringList{"a", "-b"};
        QTest::newRow("spaces kept") << " mario -- pw " << Kind::Profile << QStringList{" mario ", " pw "};
        QTest::newRow("accents") << "niccolò--perché€" << Kind::Profile << QStringList{"niccolò", "perché€"};
    }

    void theFirstSeparatorSplitsTheLine() {
        QFETCH(QString, line);
        QFETCH(Kind, kind);
        QFETCH(QStringList, parts);
        const CredentialLine split = CredentialLine::split(line);
        QCOMPARE(split.kind, kind);
        QCOMPARE((QStringList{split.userName, split.password}), parts);
    }

    void theLastLineCounts_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("several lines") << QByteArray("a--1\r\nb--2\r\nc--3\r\n") << "c--3";
        QTest::newRow("valid then empty") << QByteArray("a--1\r\n\r\n") << "";
        QTest::newRow("8-bit, unterminated") << QByteArray("a--1\r\nniccol\xf2--\x80") << QStringLiteral("niccolò--€");
    }

    void theLastLineCounts() {
        QFETCH(QByteArray, content);
        QFETCH(QString, lastLine);
        TestProgramFolder folder;
        folder.write("accesso.txt", content);
        QCOMPARE(CredentialFile::LeggiAccesso().value(), lastLine);
        QCOMPARE(folder.read("accesso.txt"), content); // reading never changes the file
    }

    void aMissingFileIsCreatedEmptyForItsOwnerOnly() {
        TestProgramFolder folder;
        QCOMPARE(CredentialFile::path(), QDir::toNativeSeparators(folder.file("accesso.txt")));
        QCOMPARE(CredentialFile::LeggiAccesso().value(), QString());
        QVERIFY(QFile::exists(folder.file("accesso.txt")));
#ifndef Q_OS_WIN // permission bits are POSIX's; on Windows a file is private by its folder's access list
        QVERIFY(!(QFile::permissions(folder.file("accesso.txt")) & (QFile::ReadOther | QFile::ReadGroup)));
#endif
    }

    void replacingLeavesTheSingleLineForItsOwnerOnly() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "a--1\r\nsenza separatore\r\n");
        QVERIFY(CredentialFile::EliminaAccesso(" mario ", "pw--con--trattini").ok());
        QCOMPARE(folder.read("accesso.txt"), QByteArray(" mario --pw--con--trattini\r\n"));
#ifndef Q_OS_WIN // permission bits are POSIX's; on Windows a file is private by its folder's access list
        QVERIFY(!(QFile::permissions(folder.file("accesso.txt")) & (QFile::ReadOther | QFile::ReadGroup)));
#endif
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestCredentialFile)
#include "tst_credentialfile.moc"
