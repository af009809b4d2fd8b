// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classics/classics.h"
#include "db/classicsschema.h"
#include "prosody/core/variants.h"
#include "prosody/couplet/pairsource.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class SqliteFile;
class Statement;

// The pairs the middle couplets of the classics set against each other (the tables 对语, 对仗 and 联
// of date/classics.db): the words the masters set against a word, with an example couplet each, and
// what the couplet check asks (prosody::PairSource). A word is looked up as the standard characters it
// stands for, as the file counted them (萬里 as 万里). Qt Core only; nothing here writes to any file.
namespace classics {

// A word the classics set against the word looked up.
struct Partner {
    QString text;
    int count = 0;      // middle couplets setting the two against each other
    qint64 couplet = 0; // the first of them, for couplet()
};

// A middle couplet of a regulated poem, with its poem.
struct CoupletExample {
    qint64 id = 0;
    qint64 poem = 0;  // for Classics::poem()
    QString position; // 颔联 or 颈联
    QString upper;
    QString lower;
    QString title;
    QString author;
    QString dynasty;
};

struct PairTotals {
    qint64 poems = 0;    // regulated poems of four couplets counted
    qint64 couplets = 0; // their middle couplets
    qint64 units = 0;
    qint64 pairs = 0; // distinct pairs, each counted once
    qint64 groups = 0;
    qint64 characters = 0; // occurrences of the one-character units
};

// Answers from the file without holding it in memory; what the couplet check asks is remembered, so
// that checking a draft again on every keystroke reads the file only for what is new. One object
// may be used from one thread at a time.
class CoupletPairs : public prosody::PairSource {
public:
    // Opens the file read-only; throws ClassicsError when it is missing, not a classics file, or of
    // an older version without the pairs (the message then says how to rebuild it).
    static std::unique_ptr<CoupletPairs> open(const QString &path = classicsschema::defaultPath);
    ~CoupletPairs() override;
    CoupletPairs(const CoupletPairs &) = delete;
    CoupletPairs &operator=(const CoupletPairs &) = delete;

    int pairCount(const QString &a, const QString &b) const override;
    int groupOf(const QString &unit) const override;
    int outerCount(const QString &a, const QString &b) const override;
    int unitCount(const QString &word) const override; // also how often the word stands at a counted place
    qint64 characterCount() const override { return m_totals.characters; }
    double groupAffinity(int a, int b) const override;
    std::optional<prosody::Couplet> remembered(const QString &key) const override;
    void remember(const QString &key, const prosody::Couplet &couplet) const override;

    // The words set against a word of one to four characters, best first (by the score of the pair,
    // so that the commonest characters do not crowd the rest), at most limit. Throws ClassicsError
    // when the file cannot be read.
    QList<Partner> partners(const QString &word, int limit) const;
    std::optional<CoupletExample> couplet(qint64 id) const;

    PairTotals totals() const { return m_totals; }

private:
    struct Unit {
        qint64 id = 0; // 0: not in the table
        int count = 0;
        int group = 0;
    };
    CoupletPairs() = default;
    struct Pair {
        int count = 0;
        int outer = 0;
    };
    Unit unit(const QString &text) const;
    Pair pair(const QString &a, const QString &b) const;
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    PairTotals m_totals;
    prosody::Variants m_variants;
    std::unique_ptr<SqliteFile> m_file;
    std::unique_ptr<Statement> m_unitQuery;
    std::unique_ptr<Statement> m_pairQuery;
    mutable QHash<QString, Unit> m_units;
    QHash<quint64, double> m_groupPairs;  // 类对, read whole: a few thousand rows
    mutable QHash<QString, Pair> m_pairs; // "甲\t乙"
    mutable QHash<QString, prosody::Couplet> m_couplets;
};

} // namespace classics
