#pragma once

#include "app/AppSetup.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// main() for tests that need the program's application set-up (style, palette, the real
// browser control): the engine's persistent profile goes to a test folder, not the user's.
#define QV_TEST_MAIN(TestClass)                                                                    \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        AppSetup::beforeApplication();                                                             \
        QApplication app(argc, argv);                                                              \
        AppSetup::afterApplication();                                                              \
        TestClass tc;                                                                              \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
