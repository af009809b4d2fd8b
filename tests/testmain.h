#pragma once

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <QTest>

// Every test binary runs with the same locale and style, whatever the machine's settings.
#define SHIHAI_TEST_MAIN(TestClass)                                                                          \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));                                      \
        QApplication app(argc, argv);                                                                        \
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));                             \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
