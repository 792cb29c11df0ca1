#pragma once

// The main function of a test program. Under Wine a test process that used the network sometimes hangs in its exit
// after its results are out, while its DLLs are unloaded; on Windows the process ends with its result as soon as
// the application object is gone, without unloading them.

#include <QApplication>
#include <QTest>

// Ends the program with its result (on Windows at once, elsewhere by returning it from main).
int endTestProgram(int code);

#ifdef Q_OS_WIN

// As QTEST_MAIN, in a function of its own, so that the application is gone before the end.
#define GIORNALI_TEST_MAIN_WITH(TestObject, ...)                                                                       \
    static int runTests(int argc, char** argv) {                                                                       \
        QTest::Internal::callInitMain<TestObject>();                                                                   \
        __VA_ARGS__                                                                                                    \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }                                                                                                                  \
    int main(int argc, char** argv) {                                                                                  \
        return endTestProgram(runTests(argc, argv));                                                                   \
    }
#define GIORNALI_TEST_MAIN(TestObject) GIORNALI_TEST_MAIN_WITH(TestObject, QTEST_MAIN_SETUP())
#define GIORNALI_TEST_GUILESS_MAIN(TestObject) GIORNALI_TEST_MAIN_WITH(TestObject, QTEST_QAPP_SETUP(QCoreApplication))
#else
#define GIORNALI_TEST_MAIN(TestObject) QTEST_MAIN(TestObject)
#define GIORNALI_TEST_GUILESS_MAIN(TestObject) QTEST_GUILESS_MAIN(TestObject)
#endif
