// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/evaluate/classicscorpus.h"

#include "db/sqlite.h"
#include "prosody/check.h"
#include "prosody/ci/cichecker.h"
#include "prosody/ci/cipu.h"

#include <QHash>

ClassicsCorpus readClassicsCorpus(const QString &path)
{
    ClassicsCorpus c;
    const SqliteFile file(path, SqliteFile::Mode::ReadOnly);
    Statement version(file, QByteArrayLiteral("SELECT 值 FROM 版本 WHERE 键 = '数据版本'"));
    if (version.step())
        c.version = version.text(0);
    QHash<qint64, QStringList> lines;
    Statement text(file, QByteArrayLiteral("SELECT 诗, 文 FROM 句 ORDER BY 编号"));
    text.forEachRow([&](const Statement &s) { lines[s.int64(0)] << s.text(1); });
    Statement poems(file, QByteArrayLiteral("SELECT 编号, 题, 作者, 体 FROM 诗 ORDER BY 编号"));
    poems.forEachRow([&](const Statement &s) {
        const QStringList l = lines.value(s.int64(0));
        if (s.text(3) == u"词")
            c.ci.append({s.text(1), l}), c.ciNames << QStringLiteral("%1《%2》").arg(s.text(2), s.text(1));
        else
            c.shi.append({QStringLiteral("%1《%2》").arg(s.text(2), s.text(1)), l});
    });
    return c;
}

QString tuneOfTitle(const std::shared_ptr<const prosody::RhymeBooks> &books, const QString &title,
                    const QStringList &lines)
{
    using namespace prosody;
    // A name several 调 bear (浪淘沙: the book's 七言 one, and 浪淘沙令 the poets wrote under it) means
    // the one the lines fit best, the first on a tie.
    const QList<Poem> blocks = readPoems(lines.join(u'\n'));
    if (blocks.isEmpty())
        return {};
    Poem poem = blocks.first();
    for (qsizetype i = 1; i < blocks.size(); ++i)
        poem.lines += blocks[i].lines;
    const CiTune *best = CiChecker(books).tuneNamed(poem, title.split(u'・'));
    return best ? best->name : QString();
}

CorpusWalk checkCorpus(const std::shared_ptr<const prosody::RhymeBooks> &books, const ClassicsCorpus &corpus,
                       const std::function<void(const QString &where, const prosody::PoemCheck &)> &shi,
                       const std::function<void(const QString &where, const prosody::PoemCheck &)> &ci)
{
    using namespace prosody;
    const Checker checker(books);
    for (const auto &[where, lines] : corpus.shi) {
        const QList<Poem> read = readPoems(lines.join(u'\n'));
        if (read.size() == 1)
            shi(where, checker.check(read.first(), Book::Pingshui));
    }
    CorpusWalk walk;
    for (qsizetype i = 0; i < corpus.ci.size(); ++i) {
        const auto &[title, lines] = corpus.ci.at(i);
        const QString tune = tuneOfTitle(books, title, lines);
        if (tune.isEmpty()) {
            ++walk.ciUnknown;
            continue;
        }
        const std::optional<QList<PoemCheck>> checks =
            checkAs(books, lines.join(u'\n'), {CiFormRef{tune, 0}, std::nullopt});
        if (!checks)
            continue;
        ++walk.ci;
        for (const PoemCheck &check : *checks)
            ci(corpus.ciNames.at(i), check);
    }
    return walk;
}
