#include "prosody/cipu.h"

#include "db/dberror.h"
#include "db/rhymebookschema.h"
#include "db/sqlite.h"

#include <sqlite3.h>

#include <algorithm>

namespace prosody {

namespace {

QByteArrayView bytesOf(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QByteArrayView(text, sqlite3_column_bytes(stmt, column));
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const QByteArrayView b = bytesOf(stmt, column);
    return QString::fromUtf8(b.data(), b.size());
}

ToneClass classOfName(const QString &name)
{
    return name == u"平" ? ToneClass::Ping : name == u"仄" ? ToneClass::Ze : ToneClass::Both;
}

bool hasTable(sqlite3 *db, const QString &table)
{
    Statement stmt(db, QByteArrayLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"));
    stmt.bindText(1, table);
    return stmt.step();
}

// Every name the text may stand for: itself, and the parts of a title such as "浣溪沙·春景".
QStringList candidateNames(const QString &text)
{
    QString t = text.simplified().remove(u' ');
    for (const QChar dot : {u'・', u'•', u'‧', u'･', u'.'})
        t.replace(dot, u'·');
    QStringList out = {t};
    for (const QString &part : t.split(u'·', Qt::SkipEmptyParts))
        if (!out.contains(part))
            out << part;
    return out;
}

} // namespace

int CiPosition::percent() const
{
    const int known = ping + ze;
    return known == 0 ? 0 : (100 * std::max(ping, ze) + known / 2) / known;
}

QString CiPosition::tip() const
{
    QString counts = QStringLiteral("平 %1 · 仄 %2").arg(ping).arg(ze);
    if (both)
        counts += QStringLiteral(" · 两读 %1").arg(both);
    if (unknown)
        counts += QStringLiteral(" · 无考 %1").arg(unknown);
    const QString share = ping + ze == 0 ? QStringLiteral("无考")
                                         : QStringLiteral("%1 %2%").arg(className(leaning())).arg(percent());
    if (tone == ToneClass::Both)
        return QStringLiteral("中：%1（%2）").arg(share, counts);
    return QStringLiteral("%1（%2）").arg(share, counts);
}

QString CiLine::pattern() const
{
    QString out;
    for (const CiPosition &p : positions)
        out += className(p.tone);
    return out;
}

QString CiLine::marks() const
{
    QString out;
    for (const CiPosition &p : positions)
        out += classMark(p.tone);
    return out;
}

QString CiForm::name() const
{
    return number == 1 ? QStringLiteral("正体") : QStringLiteral("又一体（%1）").arg(number);
}

int CiForm::characters() const
{
    int n = 0;
    for (const CiLine &l : lines)
        n += l.length();
    return n;
}

QList<int> CiForm::lengths() const
{
    QList<int> out;
    for (const CiLine &l : lines)
        out << l.length();
    return out;
}

QString CiForm::structure() const
{
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += i == stanzaBreak ? u'|' : u',';
        out += QString::number(lines[i].length());
    }
    return out;
}

std::shared_ptr<const Cipu> Cipu::read(sqlite3 *db)
{
    namespace rb = rhymebookschema;
    auto cipu = std::make_shared<Cipu>();
    if (!hasTable(db, rb::tableCiPositions))
        return cipu;
    QList<CiTune> &tunes = cipu->m_tunes;
    {
        Statement stmt(db, QByteArrayLiteral("SELECT 牌, 序, 首数 FROM 词牌 ORDER BY 序"));
        while (stmt.step()) {
            CiTune tune;
            tune.name = columnText(stmt.handle(), 0);
            tune.rank = sqlite3_column_int(stmt.handle(), 1);
            tune.poems = sqlite3_column_int(stmt.handle(), 2);
            cipu->m_byName.insert(tune.name, int(tunes.size()));
            tunes.append(tune);
        }
    }
    {
        // Aliases by use; an alias several 词牌 bear leads to the most written of them.
        Statement stmt(db,
                       QByteArrayLiteral("SELECT 名, 牌 FROM 词牌名 WHERE 名 <> 牌 ORDER BY 首数 DESC, 名"));
        while (stmt.step()) {
            const int tune = cipu->m_byName.value(columnText(stmt.handle(), 1), -1);
            if (tune < 0)
                continue;
            const QString alias = columnText(stmt.handle(), 0);
            tunes[tune].aliases << alias;
            const int other = cipu->m_byAlias.value(alias, -1);
            if (other < 0 || tunes[tune].rank < tunes[other].rank)
                cipu->m_byAlias.insert(alias, tune);
        }
    }
    // Forms, lines and positions come in one order, so each row extends the last form or line.
    QHash<std::pair<int, int>, std::pair<int, int>> formAt; // (tune, 体) → (tune, index in its forms)
    {
        Statement stmt(db,
                       QByteArrayLiteral("SELECT 牌, 体, 首数, 分片, 韵式, 例 FROM 词体 ORDER BY 牌, 体"));
        while (stmt.step()) {
            const int tune = cipu->m_byName.value(columnText(stmt.handle(), 0), -1);
            if (tune < 0)
                continue;
            CiForm form;
            form.tune = tunes[tune].name;
            form.number = sqlite3_column_int(stmt.handle(), 1);
            form.poems = sqlite3_column_int(stmt.handle(), 2);
            form.stanzaBreak = std::max(0, sqlite3_column_int(stmt.handle(), 3) - 1);
            form.scheme = columnText(stmt.handle(), 4);
            form.example = columnText(stmt.handle(), 5);
            formAt.insert({tune, form.number}, {tune, int(tunes[tune].forms.size())});
            tunes[tune].forms.append(form);
        }
    }
    const auto formOf = [&](sqlite3_stmt *s) -> CiForm * {
        const int tune = cipu->m_byName.value(columnText(s, 0), -1);
        const auto it = formAt.constFind({tune, sqlite3_column_int(s, 1)});
        return it == formAt.constEnd() ? nullptr : &tunes[it->first].forms[it->second];
    };
    {
        Statement stmt(db,
                       QByteArrayLiteral("SELECT 牌, 体, 句, 韵组, 韵声, 押 FROM 词句 ORDER BY 牌, 体, 句"));
        while (stmt.step()) {
            CiForm *form = formOf(stmt.handle());
            if (!form || sqlite3_column_int(stmt.handle(), 2) != form->lines.size() + 1)
                continue;
            CiLine line;
            line.rhymeRun = sqlite3_column_int(stmt.handle(), 3);
            line.rhymeTone = line.rhymeRun ? classOfName(columnText(stmt.handle(), 4)) : ToneClass::Unknown;
            line.rhymed = sqlite3_column_int(stmt.handle(), 5);
            line.positions.reserve(sqlite3_column_int(stmt.handle(), 6));
            form->lines.append(line);
        }
    }
    {
        Statement stmt(db, QByteArrayLiteral("SELECT 牌, 体, 句, 字, 声, 平, 仄, 两, 缺 FROM 词位 "
                                             "ORDER BY 牌, 体, 句, 字"));
        // Rows of one form come together: its name is decoded only when it changes.
        CiForm *form = nullptr;
        QByteArray lastTune;
        int lastNumber = -1;
        const QByteArray ping = QByteArrayLiteral("平"), ze = QByteArrayLiteral("仄");
        while (stmt.step()) {
            sqlite3_stmt *s = stmt.handle();
            const QByteArrayView tune = bytesOf(s, 0);
            if (tune != lastTune || sqlite3_column_int(s, 1) != lastNumber) {
                form = formOf(s);
                lastTune = tune.toByteArray();
                lastNumber = sqlite3_column_int(s, 1);
            }
            const int line = sqlite3_column_int(s, 2) - 1;
            if (!form || line < 0 || line >= form->lines.size())
                continue;
            CiPosition pos;
            const QByteArrayView tone = bytesOf(s, 4);
            pos.tone = tone == ping ? ToneClass::Ping : tone == ze ? ToneClass::Ze : ToneClass::Both;
            pos.ping = quint16(sqlite3_column_int(s, 5));
            pos.ze = quint16(sqlite3_column_int(s, 6));
            pos.both = quint16(sqlite3_column_int(s, 7));
            pos.unknown = quint16(sqlite3_column_int(s, 8));
            form->lines[line].positions.append(pos);
        }
    }
    // A form with a line left empty by a damaged file is of no use: drop it.
    for (CiTune &tune : tunes)
        tune.forms.removeIf([](const CiForm &f) {
            return f.lines.isEmpty() || std::any_of(f.lines.begin(), f.lines.end(),
                                                    [](const CiLine &l) { return l.positions.isEmpty(); });
        });
    for (const CiTune &tune : tunes)
        for (const CiForm &form : tune.forms)
            cipu->m_forms.append(&form);
    return cipu;
}

const CiTune *Cipu::find(const QString &name) const
{
    const QStringList names = candidateNames(name);
    for (const QString &n : names)
        if (const auto it = m_byName.constFind(n); it != m_byName.constEnd())
            return &m_tunes[*it];
    for (const QString &n : names)
        if (const auto it = m_byAlias.constFind(n); it != m_byAlias.constEnd())
            return &m_tunes[*it];
    return nullptr;
}

QList<const CiTune *> Cipu::search(const QString &typed) const
{
    const QString text = typed.simplified().remove(u' ');
    QList<std::pair<int, const CiTune *>> ranked;
    for (const CiTune &tune : m_tunes) {
        int tier = -1;
        if (text.isEmpty() || tune.name == text || tune.aliases.contains(text))
            tier = 0;
        else if (tune.name.startsWith(text))
            tier = 1;
        else if (tune.name.contains(text))
            tier = 2;
        else if (std::any_of(tune.aliases.begin(), tune.aliases.end(),
                             [&](const QString &a) { return a.contains(text); }))
            tier = 3;
        if (tier >= 0)
            ranked.append({tier, &tune});
    }
    // m_tunes is in the order of use already: a stable sort by tier keeps it within each.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<const CiTune *> out;
    for (const auto &[tier, tune] : ranked)
        out.append(tune);
    return out;
}

} // namespace prosody
