// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/gelv/editortarget.h"

#include <QList>

namespace {

constexpr int kLongest = 24; // characters of a title in the window's title bar

} // namespace

QString EditorTarget::windowTitle() const
{
    if (kind == Kind::Draft)
        return QStringLiteral("格律 · 草稿");
    QString name = title.simplified(); // a title bar has one line
    if (name.isEmpty())
        name = QStringLiteral("无题");
    const QList<uint> chars = name.toUcs4();
    if (chars.size() > kLongest)
        name = QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()), kLongest - 1) + u'…';
    return QStringLiteral("格律 · 《%1》").arg(name);
}
