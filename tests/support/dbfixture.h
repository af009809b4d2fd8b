// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// A fresh database in a temporary folder, laid out as the program expects it: <dir>/date/W.mdb.
class Fixture {
public:
    Fixture();
    // A fresh folder with a copy of every file of `prepared`'s, for a suite that prepares its
    // database once.
    explicit Fixture(const Fixture &prepared);
    Fixture &operator=(const Fixture &) = delete;
    QString dir() const { return m_dir.path(); }
    QString path() const { return m_dir.path() + QStringLiteral("/date/W.mdb"); }

    // Runs SQL on the file with the engine directly (not through the program's layer).
    void exec(const QString &sql) const;
    void insert(const QString &table, const QStringList &columns, const QList<QVariant> &values) const;
    // The first column of every row a SELECT returns, as text.
    QStringList column(const QString &sql) const;
    QString value(const QString &sql) const;
    int count(const QString &table) const;

private:
    QTemporaryDir m_dir;
};

// Runs the test code with the fixture's folder as the current directory, as the program runs.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString &dir);
    ~WorkingDirectory();

private:
    QString m_previous;
};
