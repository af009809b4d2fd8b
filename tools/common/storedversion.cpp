// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/storedversion.h"

#include "db/dberror.h"
#include "db/rhymebookschema.h"
#include "db/sqlite.h"

#include <QFileInfo>

namespace builddb {

QString storedDataVersion(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QString version;
    try {
        SqliteFile file(path, SqliteFile::Mode::ReadOnly);
        Statement stmt(file, QStringLiteral("SELECT 值 FROM 版本 WHERE 键 = ?1").toUtf8());
        stmt.bindText(1, rhymebookschema::versionKey);
        if (stmt.step())
            version = stmt.text(0);
    } catch (const DbError &) {
        version.clear(); // not a reference file, or a damaged one: build it anew
    }
    return version;
}

} // namespace builddb
