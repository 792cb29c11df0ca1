#include "app/CredentialFile.h"
#include "platform/FileError.h"
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
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("empty") << "" << Kind::NoProfile << ""
                               << "";
        QTest::newRow("no separator") << "mario rossi" << Kind::Malformed << ""
                                      << "";
        QTest::newRow("single dash") << "mario-segreta" << Kind::Malformed << ""
                                     << "";
        QTest::newRow("ordinary") << "mario--segreta" << Kind::Profile << "mario"
                                  << "segreta";
        QTest::newRow("separator only") << "--" << Kind::Profile << ""
                                        << "";
        QTest::newRow("empty user") << "--segreta" << Kind::Profile << ""
                                    << "segreta";
        QTest::newRow("empty password") << "mario--" << Kind::Profile << "mario"
                                        << "";
        QTest::newRow("password with separator") << "mario--se--gre--ta" << Kind::Profile << "mario"
                                                 << "se--gre--ta";
        QTest::newRow("user with separator") << "ma--rio--pw" << Kind::Profile << "ma"
                                             << "rio--pw";
        QTest::newRow("three dashes") << "a---b" << Kind::Profile << "a"
                                      << "-b";
        QTest::newRow("spaces kept") << " mario -- pw " << Kind::Profile << " mario "
                                     << " pw ";
        QTest::newRow("accents") << "niccolò--perché€" << Kind::Profile << "niccolò"
                                 << "perché€";
    }

    void theFirstSeparatorSplitsTheLine() {
        QFETCH(QString, line);
        QFETCH(Kind, kind);
        QFETCH(QString, user);
        QFETCH(QString, password);
        const CredentialLine split = CredentialLine::split(line);
        QCOMPARE(split.kind, kind);
        QCOMPARE(split.userName, user);
        QCOMPARE(split.password, password);
    }

    void theLastLineCounts_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("one line") << QByteArray("mario--pw\r\n") << "mario--pw";
        QTest::newRow("several lines") << QByteArray("a--1\r\nb--2\r\nc--3\r\n") << "c--3";
        QTest::newRow("valid then empty") << QByteArray("a--1\r\n\r\n") << "";
        QTest::newRow("unterminated") << QByteArray("a--1\r\nb--2") << "b--2";
        QTest::newRow("bare line feeds") << QByteArray("a--1\nb--2\n") << "b--2";
        QTest::newRow("8-bit") << QByteArray("niccol\xf2--\x80\r\n") << QStringLiteral("niccolò--€");
    }

    void theLastLineCounts() {
        QFETCH(QByteArray, content);
        QFETCH(QString, lastLine);
        TestProgramFolder folder;
        folder.write("accesso.txt", content);
        QCOMPARE(CredentialFile::LeggiAccesso(), lastLine);
        QCOMPARE(folder.read("accesso.txt"), content); // reading never changes the file
    }

    void aMissingFileIsCreatedEmptyForItsOwnerOnly() {
        TestProgramFolder folder;
        QCOMPARE(CredentialFile::path(), QDir::toNativeSeparators(folder.file("accesso.txt")));
        QCOMPARE(CredentialFile::LeggiAccesso(), QString());
        QVERIFY(QFile::exists(folder.file("accesso.txt")));
        QCOMPARE(folder.read("accesso.txt"), QByteArray());
        QVERIFY(!(QFile::permissions(folder.file("accesso.txt")) & (QFile::ReadOther | QFile::ReadGroup)));
    }

    void appendingAfterAnEmptyLineMakesTheNewLineCount() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "vecchio--1\r\n\r\n");
        CredentialFile::AccodaAccesso("nuovo", "2");
        QCOMPARE(folder.read("accesso.txt"), QByteArray("vecchio--1\r\n\r\nnuovo--2\r\n"));
        QCOMPARE(CredentialFile::LeggiAccesso(), QString("nuovo--2"));
    }

    void replacingLeavesTheSingleLine() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "a--1\r\nsenza separatore\r\n");
        CredentialFile::EliminaAccesso("", "");
        QCOMPARE(folder.read("accesso.txt"), QByteArray("--\r\n"));
        CredentialFile::EliminaAccesso(" mario ", "pw--con--trattini");
        QCOMPARE(folder.read("accesso.txt"), QByteArray(" mario --pw--con--trattini\r\n"));
        QVERIFY(!(QFile::permissions(folder.file("accesso.txt")) & (QFile::ReadOther | QFile::ReadGroup)));
    }

    void aFailedReplaceKeepsTheOldProfile() {
        TestProgramFolder folder;
        folder.write("accesso.txt", "mario--segreta\r\n");
        {
            FileSizeLimit diskFull(3);
            QVERIFY_THROWS_EXCEPTION(FileError, CredentialFile::EliminaAccesso("luigi", "altra"));
        }
        QCOMPARE(CredentialFile::LeggiAccesso(), QString("mario--segreta"));
    }
};

QTEST_GUILESS_MAIN(TestCredentialFile)
#include "tst_credentialfile.moc"
