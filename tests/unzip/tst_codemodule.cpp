#include "support/TestProgramFolder.h"
#include "unzip/CodeModule.h"

#include <QTest>
#include <cstring>

Q_DECLARE_METATYPE(Toolkit::Answer)

class TestCodeModule : public QObject {
    Q_OBJECT

private slots:
    void init() { CodeModule::resetState(); }

    void theOverwriteQuestionAnswersAsTheUserSays_data() {
        QTest::addColumn<Toolkit::Answer>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("Yes") << Toolkit::Answer::Yes << 102;
        QTest::newRow("No") << Toolkit::Answer::No << 100;
        QTest::newRow("Cancel") << Toolkit::Answer::Cancel << 104;
    }

    void theOverwriteQuestionAnswersAsTheUserSays() {
        QFETCH(Toolkit::Answer, answer);
        QFETCH(int, code);
        TestProgramFolder folder;
        folder.toolkit.answerYesNoCancel(answer);
        QCOMPARE(CodeModule::ReplaceCallback("Cronaca/001 città.txt"), code);
        const auto& box = folder.toolkit.shown().first();
        QCOMPARE(box.text, QStringLiteral("Overwrite Cronaca/001 città.txt?"));
        QCOMPARE(box.title, QString("VBUnZip32 - File Already Exists!"));
        QCOMPARE(box.icon, Toolkit::Icon::Exclamation);
    }

    void theOverwriteQuestionReadsAtMost256BytesOfTheName() {
        TestProgramFolder folder;
        const QByteArray name = QByteArray(300, 'x');
        folder.toolkit.answerYesNoCancel(Toolkit::Answer::Yes);
        CodeModule::ReplaceCallback(name.constData());
        QCOMPARE(folder.toolkit.shown().first().text, "Overwrite " + QString(256, 'x') + "?");
    }

    void aGivenPasswordFillsTheBufferAndNoMore() {
        TestProgramFolder folder;
        char buffer[100];
        std::memset(buffer, '#', sizeof buffer);
        folder.toolkit.answerText("pàs");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "prompt", "nome"), 0);
        QCOMPARE(folder.toolkit.shown().first().text, QString("Please Enter The Password!"));
        QCOMPARE(folder.toolkit.shown().first().title, QString());
        const QByteArray typed = QStringLiteral("pàs").toLocal8Bit();
        QCOMPARE(QByteArray(buffer, typed.size()), typed);
        QCOMPARE(QByteArray(buffer + typed.size(), 81 - typed.size()), QByteArray(81 - typed.size(), '\0'));
        QCOMPARE(QByteArray(buffer + 81, 19), QByteArray(19, '#')); // untouched past the size given

        // After a password the next request asks again.
        folder.toolkit.answerText("abc");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "prompt", "nome"), 0);
    }

    void aPasswordTooLongForTheBufferIsCut() {
        TestProgramFolder folder;
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        folder.toolkit.answerText("0123456789");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 6, "", ""), 0);
        QCOMPARE(QByteArray(buffer, 7), QByteArray("01234\0#", 7));

        folder.toolkit.answerText(QString(400, 'p'));
        QCOMPARE(CodeModule::PasswordCallback(buffer, 300, "", ""), 0);
        QCOMPARE(QByteArray(buffer, 257), QByteArray(256, 'p') + '\0');
        QCOMPARE(QByteArray(buffer + 257, 43), QByteArray(43, '#')); // never past 257 bytes
    }

    void aDeclinedPasswordIsNotAskedAgainInTheRun() {
        TestProgramFolder folder;
        char buffer[81] = {};
        folder.toolkit.answerText("");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 1);
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 1);
        QCOMPARE(folder.toolkit.shown().size(), 1);
        CodeModule::resetState(); // the next run asks again
        folder.toolkit.answerText("x");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 0);
    }

    void theOtherCallbacksKeepNothing() {
        QCOMPARE(CodeModule::ServiceCallback("nome", 10), 0);
        CodeModule::ListingCallback(1, 2, 3, 4, 5, 6, 7, 8, ' ', "nome", "metodo", 9, ' ');
        QCOMPARE(CodeModule::LastMessage(), QString());
        QCOMPARE(CodeModule::PrintCallback(nullptr, 5), 0);
    }
};

QTEST_GUILESS_MAIN(TestCodeModule)
#include "tst_codemodule.moc"
