// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "presentation/worksfindmodel.h"

class Database;

// The find of 经典案例 over the database: works of every category (never the draft) whose title,
// author or text holds the text, in any letter case; title finds first, then author, then text, each
// newest first as the lists are. A text stored as RTF is searched as the editor shows it.
class WorksFinder : public WorksFindModel {
    Q_OBJECT
public:
    explicit WorksFinder(const Database &db, QObject *parent = nullptr);

    // Characters shown on each side of a find in the text.
    static constexpr int excerptContext = 10;

protected:
    QList<FoundWork> search(const QString &text) const override;

private:
    const Database &m_db;
};
