// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prosody/core/tones.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace prosody {

// The 词谱 of the reference file: the 词 of chinese-poetry and 御定词谱 (1715) in one. The 词牌 by use,
// each with its forms: the book's 体 in its order (正体, 又一体), each with the corpus's poems of its
// structure where there are any, then the corpus's forms the book lacks; every position with the
// counts of the poems behind it and the book's class. Loaded with the rhyme books (RhymeBooks::cipu(),
// read by prosody/ci/cipufile.h); read-only and safe to share between threads.
//
// For a form selector:
//   const Cipu &cipu = books->cipu();
//   for (const CiTune *tune : cipu.search(typed))   // all 词牌, most written first, when typed is empty
//       … tune->name, tune->aliases, tune->poems, tune->forms …
//   const CiTune *tune = cipu.find(u"大江东去"_s);    // 念奴娇, by an alias
// and to draw a pattern: for each CiLine of a CiForm, CiLine::marks() (○ 平, ● 仄, ◎ 中), each
// position's CiPosition::tip(form.poems) on hover ("平 412 · 仄 31，据 443 首"), CiLine::rhymeRun for the
// rhyme mark and CiForm::stanzaBreak for the gap between the 片.

// How a position of a form is checked (prosody/ci/evidence.h decides from its counts): a fault where the
// poems are near-unanimous, a warning where most take one class or where the form rests on a few
// example poems, else free (可平可仄).
enum class Strictness : quint8 { Free, Warning, Fault };

// Where a form comes from: the corpus's poems, 御定词谱, or a corpus form laid over the book's 体.
enum class CiSource : quint8 { Corpus, Book, Both };

// Who stands behind a form's marks, and so behind each of its positions: the poems of the corpus (a
// form of ten poems or more, or of fewer, shown as examples); where the corpus has fewer than ten, the
// book: its example with the characters its note frees on the evidence of other poems (例词及注), or
// its example alone, with no other poem to compare (无别首可校). None: a place no one vouches for (the
// book's character has no reading and no poem of the corpus stands there).
enum class Authority : quint8 { Corpus, BookNote, BookExample, None };

// One position of a form: the class it asks for (ToneClass::Both where it is free) and the counts
// of the poems behind it.
struct CiPosition {
    ToneClass tone = ToneClass::Both;
    Strictness strictness = Strictness::Free;
    Authority authority = Authority::Corpus;
    // The book's class: its example's (Ping, Ze), Both where the note frees the place or the example's
    // character reads both ways, Unknown where it has no reading or the form is not the book's.
    ToneClass book = ToneClass::Unknown;
    quint16 ping = 0;
    quint16 ze = 0;
    quint16 both = 0;    // characters of both classes
    quint16 unknown = 0; // characters without a class, or lost

    // The class most poems take here (平 on a tie) and its share of the poems with 平 or 仄, in percent.
    // For a mark of the book: the corpus's poems, which may be few or none.
    ToneClass leaning() const { return ze > ping ? ToneClass::Ze : ToneClass::Ping; }
    int percent() const;
    // What the position asks and the counts behind it, for a tooltip: "应平 93%\n平 412 · 仄 31，据 443 首"
    // (poems: the form's).
    QString tip(int poems) const;
};

struct CiLine {
    QList<CiPosition> positions;
    int rhymeRun = 0; // 0: no rhyme; 1, 2 …: the runs of one rhyme, in the order they begin
    ToneClass rhymeTone = ToneClass::Unknown; // Ping or Ze at a rhyme
    int rhymed = 0;                           // poems whose character here rhymes within its run
    // The book's marks, for a form of the book: its 读 inside the 句 (after that many characters) and
    // how the 句 ends (句, 韵, 叶, 叠 or 重, with the tone and 换 it prints: "换平韵").
    QList<int> dou;
    QString mark;
    // A line end the poems rhyme as a rule where the book's example leaves it unrhymed (a weak rhyme).
    bool unrhymedInBook = false;

    int length() const { return int(positions.size()); }
    QString pattern() const; // "中仄平平仄仄平"
    QString marks() const;   // "◎●○○●●○"
};

struct CiForm {
    QString tune;
    int number = 1; // 1-based place among the 词牌's forms: the book's in its order, then the corpus's
    int poems = 0;  // of the corpus
    QList<CiLine> lines;
    int stanzaBreak = 0; // 0-based line that begins the second 片, inferred from the pattern; 0: none
    QString scheme;      // 平韵, 仄韵, 换韵 (several runs) or 平仄通叶 (one 部 on both classes)
    QString example;     // "晏殊：一曲新词酒一杯。"
    int authors = 0;     // the poets of its poems; 0 when the file does not say
    int tunePoems = 0;   // the poems of its 词牌, in all its forms

    // From 御定词谱:
    CiSource source = CiSource::Corpus;
    int bookNumber = 0; // 1 正体, 2 … each 又一体 in the book's order; 0 outside the book
    QString author;     // of the book's example
    QString label;      // the book's name of the form, its author told apart: 又一体（姜夔之二）
    int juan = 0;       // its 卷
    QString note;       // the editors' note, as printed
    QString bookText;   // the example with its marks: "凭空眺远（句）…（韵）"
    QList<int> stanzaStarts; // 0-based lines that begin each 段 after the first
    Authority tier = Authority::Corpus;

    // 正体, 又一体（苏轼） as the book names its 体; 正体, 又一体（5） for a form of the corpus alone.
    QString name() const;
    // "据 262 首，120 家"; for a form the book decides, the tier and the corpus's poems beside it:
    // "据谱（例词及注） · 词作 3 首，2 家".
    QString evidence() const;
    QString tierName() const; // 据词作 N 首, 据谱（例词及注）, 据谱（例词，无别首可校）
    // Fewer poems than make a rule, and no book to decide: its positions are the example poems' and
    // are checked as warnings.
    bool fromExamples() const;
    bool fromBook() const { return tier == Authority::BookNote || tier == Authority::BookExample; }
    int characters() const;
    QList<int> lengths() const;
    QString structure() const; // "7,7,7|7,7,7", | at the stanza break
};

struct CiTune {
    QString name;
    int rank = 0;  // 1: the most written
    int poems = 0; // under this 词牌 in the corpus, all its names together
    QStringList aliases;
    QList<int> aliasPoems; // the corpus's poems under each alias, in step with aliases (empty: none known)
    QList<CiForm> forms;   // 正体 first
    // From 御定词谱, where it is one of its 调:
    QString bookName; // as printed: 念奴嬌
    int juan = 0;
    int bookOrder = 0; // 1-based place in the book; 0 outside it
    QString origin;    // the note on its origin and other names
};

class Cipu {
public:
    // The 词牌 most written first, each with its forms, 正体 first.
    explicit Cipu(QList<CiTune> tunes = {});
    Cipu(const Cipu &) = delete; // the forms point into the tunes
    Cipu &operator=(const Cipu &) = delete;

    bool isEmpty() const { return m_tunes.isEmpty(); }
    const QList<CiTune> &tunes() const { return m_tunes; } // most written first

    // The 词牌 of a name or alias ("念奴娇", "大江东去"), or of a title that begins with one
    // ("浣溪沙·山下兰芽短浸溪"); null when none. A name of the 词牌 itself wins over an alias.
    const CiTune *find(const QString &name) const;
    // Every 词牌 a name may mean: find's first, then the others that bear it as another name (于中好:
    // 端正好 in the Song poems, 鹧鸪天 in 纳兰性德's; 乌夜啼, and 相见欢 that poets wrote under it) or
    // whose name is told from it by its 卷 (三台 and 三台（卷三十九）).
    QList<const CiTune *> findAll(const QString &name) const;

    // The 词牌 for a selector narrowing as the user types: those whose name or alias is the text,
    // then those whose name begins with it, then those whose name holds it, then those whose aliases
    // hold it; the most written first within each. Every 词牌 when the text is blank. Names are in
    // simplified characters; blanks in the text are ignored.
    QList<const CiTune *> search(const QString &typed) const;

    // Every form of every 词牌, for matching a 词 of unknown 词牌.
    const QList<const CiForm *> &forms() const { return m_forms; }
    // The same, split: the forms of two poems or more, and those of a single poem (孤例) or of the
    // book's example alone.
    const QList<const CiForm *> &attestedForms() const { return m_attestedForms; }
    const QList<const CiForm *> &loneForms() const { return m_loneForms; }

    // How often the poems rhyme 部 `other` in a run of 部 `section` (词林正韵 部 numbers, 1 to 19), and
    // how many poems have a run in `section`.
    struct SharedRhyme {
        int poems = 0;
        int runs = 0;
    };
    void setSharedRhymes(QHash<std::pair<int, int>, SharedRhyme> shared) { m_shared = std::move(shared); }
    SharedRhyme sharedRhyme(int section, int other) const { return m_shared.value({section, other}); }

private:
    QList<CiTune> m_tunes;
    QHash<QString, int> m_byName;  // a 词牌's own name → its index
    QHash<QString, int> m_byAlias; // an alias → the most written 词牌 that bears it
    QList<const CiForm *> m_forms;
    QList<const CiForm *> m_attestedForms;
    QList<const CiForm *> m_loneForms;
    QHash<std::pair<int, int>, SharedRhyme> m_shared;
};

} // namespace prosody
