// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

// Every test binary runs with the same locale and style, whatever the machine's settings, and with
// settings files of its own.
#define SHIHAI_TEST_MAIN(TestClass)                                                                          \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));                                      \
        QApplication app(argc, argv);                                                                        \
        QTemporaryDir settings; /* the user's settings stay untouched */                                     \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());                  \
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));                             \
        TestClass tc;                                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
