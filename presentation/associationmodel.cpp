// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/associationmodel.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"

#include <optional>

using namespace schema;

const QString AssociationModel::defaultMode = QStringLiteral("-默认-");

namespace {

const QString prefixMode = QStringLiteral("字首");
const QString infixMode = QStringLiteral("包含");
const QString suffixMode = QStringLiteral("字尾");

// The like pattern of a mode, or none when the mode text is not one of the four.
std::optional<QString> pattern(const QString &mode, const QString &text)
{
    if (mode == AssociationModel::defaultMode || mode == suffixMode)
        return u'%' + text;
    if (mode == prefixMode)
        return text + u'%';
    if (mode == infixMode)
        return u'%' + text + u'%';
    return std::nullopt;
}

// The mode as the status text names it: the default mode searches by suffix.
QString modeWord(const QString &mode)
{
    return mode == AssociationModel::defaultMode ? suffixMode : mode;
}

} // namespace

AssociationModel::AssociationModel(Database &db, QObject *parent)
    : QObject(parent)
    , m_db(db)
{
}

DataSource *AssociationModel::wordRows() const
{
    return m_db.Cizu_ADOQuery->dataSource();
}

DataSource *AssociationModel::idiomRows() const
{
    return m_db.Chengyu_ADOQuery->dataSource();
}

QStringList AssociationModel::modes()
{
    return {prefixMode, infixMode, suffixMode};
}

// Both panels describe the current mode and text over the current results; a count that cannot
// be taken leaves both as they were.
void AssociationModel::show(const QString &mode, const QString &text)
{
    const int words = m_db.Cizu_ADOQuery->recordCount();
    const int idioms = m_db.Chengyu_ADOQuery->recordCount();
    emit statusChanged(0, text.isEmpty() ? QStringLiteral("查询条件：显示全部数据")
                                         : QStringLiteral("查询条件：%1=%2").arg(modeWord(mode), text));
    emit statusChanged(1, QStringLiteral("查询结果：词组=%1 成语=%2").arg(words).arg(idioms));
}

void AssociationModel::search(const QString &mode, const QString &text)
{
    if (const std::optional<QString> like = pattern(mode, text)) {
        const struct {
            Query *query;
            const QString &table;
        } searches[] = {{m_db.Cizu_ADOQuery, tableWords}, {m_db.Chengyu_ADOQuery, tableIdioms}};
        for (const auto &s : searches)
            s.query->settle();
        for (const auto &s : searches) {
            s.query->close();
            s.query->clearSql();
            s.query->addSql(
                QStringLiteral("select * from %1 where %1 like %2").arg(s.table, dialect::literal(*like)));
            s.query->open();
        }
    }
    show(mode, text);
}

QString AssociationModel::exampleWord(const QString &key)
{
    return key.trimmed();
}
