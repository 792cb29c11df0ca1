#include "platform/Worker.h"
#include "support/TestMain.h"
#include "support/TestProgramFolder.h"
#include "unzip/CodeModule.h"
#include "unzip/UnzipRun.h"

#include <QTest>
#include <QTimer>
#include <stdexcept>

Q_DECLARE_METATYPE(Toolkit::Answer)

namespace {

// The callbacks as the library calls them: in a worker thread, inside a run, while the window thread goes on.
template <typename Work> auto inRun(Work work) {
    auto running = startInWorker([work] {
        UnzipRun run;
        return work();
    });
    if (!QTest::qWaitFor([&] { return running.isFinished(); }, 10000))
        QTest::qFail("the run did not end", __FILE__, __LINE__);
    return running.result();
}

// A toolkit whose Yes/No/Cancel boxes stay up: no answer ever comes.
class BoxesLeftUp : public ScriptedToolkit {
public:
    void askYesNoCancel(QObject*, const QString&, const QString&, std::function<void(Answer)>) override { ++opened; }
    int opened = 0;
};

} // namespace

class TestCodeModule : public QObject {
    Q_OBJECT

private slots:
    void theOverwriteQuestionAnswersAsTheUserSays_data() {
        QTest::addColumn<Toolkit::Answer>("answer");
        QTest::addColumn<bool>("fails"); // opening the box fails
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("asked"); // the name in the question
        const QString name = QStringLiteral("Cronaca/001 città.txt");
        QTest::newRow("Yes") << Toolkit::Answer::Yes << false << 102 << name << name;
        QTest::newRow("No") << Toolkit::Answer::No << false << 100 << name << name;
        QTest::newRow("Cancel") << Toolkit::Answer::Cancel << false << 104 << name << name;
        QTest::newRow("an error counts as Cancel") << Toolkit::Answer::Yes << true << 104 << name << name;
        QTest::newRow("name cut at 256") << Toolkit::Answer::Yes << false << 102 << QString(300, 'x')
                                         << QString(256, 'x');
    }

    void theOverwriteQuestionAnswersAsTheUserSays() {
        QFETCH(Toolkit::Answer, answer);
        QFETCH(bool, fails);
        QFETCH(int, code);
        QFETCH(QString, name);
        QFETCH(QString, asked);
        TestProgramFolder folder;
        folder.toolkit.answerYesNoCancel(answer, [fails] {
            if (fails)
                throw std::runtime_error("la finestra non si apre");
        });
        const QByteArray bytes = name.toLocal8Bit();
        QCOMPARE(inRun([bytes] { return CodeModule::ReplaceCallback(bytes.constData()); }), code);
        const QString question = folder.toolkit.shown().first().text;
        QVERIFY(question.contains(asked) && !question.contains(asked + 'x'));
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
        char* bytes = buffer.data();
        QCOMPARE(inRun([bytes, size] { return CodeModule::PasswordCallback(bytes, size, "prompt", "nome"); }), 0);
        QCOMPARE(buffer, filled + QByteArray(300 - filled.size(), '#'));
    }

    // After a password the next request asks again; after a refusal not before the next run.
    void aDeclinedPasswordIsNotAskedAgainInTheRun() {
        TestProgramFolder folder;
        folder.toolkit.answerText("abc");
        folder.toolkit.answerText("");
        const auto answers = inRun([] {
            char buffer[81] = {};
            QList<int32_t> codes;
            for (int i = 0; i < 3; ++i)
                codes << CodeModule::PasswordCallback(buffer, 81, "", "");
            return codes;
        });
        QCOMPARE(answers, QList<int32_t>({0, 1, 1}));
        QCOMPARE(folder.toolkit.shown().size(), 2);
        folder.toolkit.answerText("x");
        char buffer[81] = {};
        QCOMPARE(inRun([&buffer] { return CodeModule::PasswordCallback(buffer, 81, "", ""); }), 0);
    }

    // The window thread never waits for a box: a question asked there gets the answer of a closed box.
    void aQuestionOnTheWindowThreadIsNotWaitedFor() {
        TestProgramFolder folder;
        UnzipRun run;
        QCOMPARE(CodeModule::ReplaceCallback("a.txt"), 104);
        char buffer[81] = {};
        QCOMPARE(CodeModule::PasswordCallback(buffer, 81, "", ""), 1);
        QVERIFY(folder.toolkit.shown().isEmpty());
    }

    // Last: after it the program has ended. The run waiting for an answer when the program quits gets that of a
    // closed box, and so does every later question, without a box.
    void quittingWhileAQuestionIsUpEndsTheWait() {
        TestProgramFolder folder;
        BoxesLeftUp boxes;
        Toolkit::install(&boxes);
        auto asking = startInWorker([] {
            UnzipRun run;
            return CodeModule::ReplaceCallback("a.txt");
        });
        QTRY_COMPARE(boxes.opened, 1);
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(asking.result(), 104);
        QCOMPARE(startInWorker([] {
                     UnzipRun run;
                     return CodeModule::ReplaceCallback("b.txt");
                 }).result(),
                 104);
        QCOMPARE(boxes.opened, 1);
        Toolkit::install(&folder.toolkit);
    }
};

GIORNALI_TEST_GUILESS_MAIN(TestCodeModule)
#include "tst_codemodule.moc"
