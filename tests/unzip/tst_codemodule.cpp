#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "unzip/CodeModule.h"

#include <QTest>

Q_DECLARE_METATYPE(Toolkit::Answer)

class TestCodeModule : public QObject {
    Q_OBJECT

private slots:
    void init() { CodeModule::resetState(); }

    void theOverwriteQuestionAnswersAsTheUserSays_data() {
        QTest::addColumn<Toolkit::Answer>("answer");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("asked"); // the name in the question
        const QString name = QStringLiteral("Cronaca/001 città.txt");
        QTest::newRow("Yes") << Toolkit::Answer::Yes << 102 << name << name;
        QTest::newRow("No") << Toolkit::Answer::No << 100 << name << name;
        QTest::newRow("Cancel") << Toolkit::Answer::Cancel << 104 << name << name;
        QTest::newRow("name cut at 256") << Toolkit::Answer::Yes << 102 << QString(300, 'x') << QString(256, 'x');
    }

    void theOverwriteQuestionAnswersAsTheUserSays() {
        QFETCH(Toolkit::Answer, answer);
        QFETCH(int, code);
        QFETCH(QString, name);
        QFETCH(QString, asked);
        TestProgramFolder folder;
        folder.toolkit.answerYesNoCancel(answer);
        QCOMPARE(CodeModule::ReplaceCallback(name.toLocal8Bit().constData()), code);
        const auto& box = folder.toolkit.shown().first();
        QCOMPARE(box.text, "Overwrite " + asked + "?");
        QCOMPARE(box.title, QString("VBUnZip32 - File Already Exists!"));
        QCOMPARE(box.icon, Toolkit::Icon::Exclamation);
    }

    // The password goes into the buffer, zero-filled up to the size given (at most 257 bytes) and never past it.
    void aGivenPasswordFillsTheBufferAndNoMore_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("filled"); // the buffer's start; the rest keeps its '#'
        const QByteArray typed = QStringLiteral("pàs").toLocal8Bit();
        QTest::newRow("fits") << QStringLiteral("pàs") << 81 << typed + QByteArray(81 - typed.size(), '\0');
        QTest::newRow("cut to the size") << QString("0123456789") << 6 << QByteArray("01234\0", 6);
        QTest::newRow("cut to 256 bytes") << QString(400, 'p') << 300 << QByteArray(256, 'p') + '\0';
    }

    void aGivenPasswordFillsTheBufferAndNoMore() {
        QFETCH(QString, password);
        QFETCH(int, size);
        QFETCH(QByteArray, filled);
        TestProgramFolder folder;
        QByteArray buffer(300, '#');
        folder.toolkit.answerText(password);
        QCOMPARE(CodeModule::PasswordCallback(buffer.data(), size, "prompt", "nome"), 0);
        QCOMPARE(folder.toolkit.shown().first().text, QString("Please Enter The Password!"));
        QCOMPARE(folder.toolkit.shown().first().title, QString());
        QCOMPARE(buffer, filled + QByteArray(300 - filled.size(), '#'));
    }

    // After a password the next request asks again; after a refusal not before the next run.
    void aDeclinedPasswordIsNotAskedAgainInTheRun() {
        TestProgramFolder folder;
        char buffer[81] = {};
        folder.toolkit.answerText("abc");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 0);
        folder.toolkit.answerText("");
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 1);
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 1);
        QCOMPARE(folder.toolkit.shown().size(), 2);
        CodeModule::resetState();
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

GIORNALI_TEST_GUILESS_MAIN(TestCodeModule)
#include "tst_codemodule.moc"
