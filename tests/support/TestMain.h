#pragma once

#include "app/Resources.h"

#include <QApplication>
#include <QTest>

// The main of every test executable: a QApplication (widget tests run under the virtual
// X server that scripts/test starts), the compiled-in resources, then the test object.
#define KESTRANE_TEST_MAIN(TestObject)                                                                       \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        QApplication application(argc, argv);                                                                \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                                     \
        Resources::initialize();                                                                             \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
