// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/rhymebooks/cicorpus.h"

#include <QHash>

#include <optional>

namespace evaluate {

// The file 宋词三百首 loses rare characters that the main 宋词 files keep (吴文英's 香噀西风雨 is written
// 香西风雨, 晏殊's 濛濛乱扑行人面 乱扑行人面). A poem of it is restored from the main files where the same
// poet has a poem there whose characters hold the anthology's in their order with at most kMaxLost
// more; the main file's text, punctuation and all, is taken.
class Restorer {
public:
    static constexpr int kMaxLost = 4;

    explicit Restorer(const QList<builddb::CorpusCi> &corpus);

    // The main files' text of the poem, or nothing where it is the same or not found.
    std::optional<QStringList> restored(const QString &author, const QStringList &paragraphs) const;

    // The characters the restored text has beyond the anthology's, in their order: "噀".
    static QString added(const QStringList &anthology, const QStringList &restored);

private:
    struct Text {
        QList<char32_t> chars; // the characters without punctuation
        QStringList paragraphs;
    };
    QHash<QString, QList<Text>> m_byAuthor;
};

} // namespace evaluate
