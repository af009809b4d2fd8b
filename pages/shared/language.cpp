// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/shared/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace language {

bool useChinese()
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    static QTranslator *qtTexts = nullptr;
    if (qtTexts)
        return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qWarning("%s",
                 qPrintable(QStringLiteral("没有找到 Qt 的中文翻译（%1/qtbase_zh_CN.qm）").arg(folder)));
        return false;
    }
    qtTexts = translator.release();
    QCoreApplication::installTranslator(qtTexts);
    return true;
}

} // namespace language
