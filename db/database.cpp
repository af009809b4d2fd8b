// SPDX-License-Identifier: GPL-3.0-or-later
#include "db/database.h"

#include <memory>

Database::Database(const QString &path, QObject *owner)
{
    auto connection = std::make_unique<Connection>(path);
    Connection *c = connection.get();
    Edit_psy_ADOQuery = new Query(c, QStringLiteral("Edit_psy_ADOQuery"),
                                  QStringLiteral("select * from 平舌音 where 简易<>''"));
    Edit_jsy_ADOQuery = new Query(c, QStringLiteral("Edit_jsy_ADOQuery"),
                                  QStringLiteral("select * from 卷舌音 where 简易<>''"));
    View_psy_ADOQuery =
        new Query(c, QStringLiteral("View_psy_ADOQuery"), QStringLiteral("select * from 平舌音"));
    View_jsy_ADOQuery =
        new Query(c, QStringLiteral("View_jsy_ADOQuery"), QStringLiteral("select * from 卷舌音"));
    Edit_ADOQuery =
        new Query(c, QStringLiteral("Edit_ADOQuery"), QStringLiteral("select * from 作品 where 标题='草稿'"));
    Show_ADOQuery = new Query(c, QStringLiteral("Show_ADOQuery"),
                              QStringLiteral("select * from 作品 where 类别='甲类' order by 日期 DESC"));
    Cizu_ADOQuery = new Query(c, QStringLiteral("Cizu_ADOQuery"), QStringLiteral("select * from 词组"));
    Chengyu_ADOQuery = new Query(c, QStringLiteral("Chengyu_ADOQuery"),
                                 QStringLiteral("select * from 成语 where 成语 like '春%'"));
    for (Query *q : queries())
        q->open();
    connection->setParent(owner);
    m_connection = connection.release();
}

QString Database::defaultPath()
{
    return QStringLiteral("date/W.mdb");
}

QList<Query *> Database::queries() const
{
    return {Edit_psy_ADOQuery, Edit_jsy_ADOQuery, View_psy_ADOQuery, View_jsy_ADOQuery,
            Edit_ADOQuery,     Show_ADOQuery,     Cizu_ADOQuery,     Chengyu_ADOQuery};
}

std::optional<QString> Database::storedText(const QString &table, qint64 rowid, const QString &column) const
{
    Statement st(m_connection->file(), QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                           .arg(quotedIdentifier(column), quotedIdentifier(table))
                                           .toUtf8());
    st.bindInt64(1, rowid);
    if (!st.step())
        return std::nullopt;
    return st.text(0);
}
