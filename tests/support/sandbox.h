#pragma once

#include <QTemporaryDir>
#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif
#include <QtTest>

// Points HOME and the XDG folders at a fresh temporary folder for the whole test run, so no
// test can read or write the real user's settings or data, and selects the offscreen platform.
class TestSandbox {
public:
    TestSandbox();
    QString home() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

#define VASKELIO_TEST_MAIN_IMPL(TestObject, AppClass)                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestSandbox sandbox;                                                                       \
        AppClass app(argc, argv);                                                                  \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// Tests of the core library: no display, no widgets.
#define VASKELIO_TEST_MAIN(TestObject) VASKELIO_TEST_MAIN_IMPL(TestObject, QCoreApplication)
// Widget tests, on the offscreen platform.
#define VASKELIO_GUI_TEST_MAIN(TestObject) VASKELIO_TEST_MAIN_IMPL(TestObject, QApplication)
