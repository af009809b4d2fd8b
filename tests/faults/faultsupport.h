// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

class DbGrid;
class QLineEdit;
class QTextEdit;

// Helpers of the fault tests: file permissions that hold even for root, the real program run as a
// child with its message boxes reported, the sqlite3 shell as a second process, and views of a file.
namespace faults {

// While it lives, the calling thread obeys file permissions as an ordinary user does, also as root
// (CI runs as root): the capabilities that override them leave its effective set until the end.
class PermissionsObeyed {
public:
    PermissionsObeyed();
    ~PermissionsObeyed();
    PermissionsObeyed(const PermissionsObeyed &) = delete;
    PermissionsObeyed &operator=(const PermissionsObeyed &) = delete;

private:
    unsigned m_saved[2];
};

// For QProcess::setChildProcessModifier: the child, and what it executes, obey file permissions.
void obeyPermissionsForLife();

// Whether the calling thread is refused when it opens `path` for writing.
bool isWriteProtected(const QString &path);

// One run of the program (build/app/shihai) as a child process.
struct ProgramRun {
    bool finished = false;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QList<QJsonObject> boxes; // each message box shown: "box" (its text), "title", "icon"
    QList<bool> closes;       // each close of the main window: accepted or not
    QString diagnostics;      // everything else the program wrote to stderr
    bool cleanExit(int code) const;
};

enum class Run { ReportBoxes, CloseWhenShown };
// Runs the program in `dir` without a display; its message boxes are reported and answered by a
// Qt plugin that Qt loads into it, so the program needs no test hook of its own.
ProgramRun runProgram(const QString &dir, Run run = Run::ReportBoxes, bool obeyPermissions = false);

// The program running as a child while the test acts on it: the probe plugin types the steps of
// `typing` (see boxprobe.cpp) and the test reads its reports as they come, signals it and waits
// for its end.
class LiveProgram {
public:
    struct Options {
        QJsonArray typing;
        int paceMs = 0;        // between two typed characters
        bool answerNo = false; // questions answered No instead of their default
        bool obeyPermissions = false;
        Run run = Run::ReportBoxes;
    };
    LiveProgram(const QString &dir, const Options &options);
    ~LiveProgram();
    LiveProgram(const LiveProgram &) = delete;
    LiveProgram &operator=(const LiveProgram &) = delete;

    qint64 pid() const { return m_process.processId(); }
    // Reads reports until one satisfies `until`; false when the program ended or none came in time.
    bool waitFor(const std::function<bool(const QJsonObject &)> &until, int timeoutMs = 60000);
    void signal(int number);
    // Waits for the end (killing the program after the timeout) and returns all it reported.
    ProgramRun finish(int timeoutMs = 120000);

private:
    void readReports();

    QProcess m_process;
    QTemporaryDir m_scriptDir;
    QByteArray m_pending; // an incomplete last line
    ProgramRun m_run;
    qsizetype m_seen = 0; // reports already offered to waitFor
    QList<QJsonObject> m_reports;
};

// The second copy of the data layer (faults_writer): FILE PREFIX [COUNT].
QString writerProgram();

// The sqlite3 shell on a file: a second process reading and writing it.
class Shell {
public:
    explicit Shell(const QString &path);
    ~Shell();
    // Runs statements and returns the lines they printed; what they reported on stderr is in errors().
    QStringList run(const QString &sql);
    QString takeErrors();

private:
    QProcess m_process;
    QString m_errors;
    int m_serial = 0;
};

QByteArray fileHash(const QString &path);
QString integrityCheck(const QString &path);
// The database's tables and indexes with their SQL.
QStringList schemaOf(const QString &path);

// Every row of the five tables, by table and rowid.
using Rows = QMap<QString, QMap<qint64, QStringList>>;
Rows snapshot(const QString &path);

// Hands text to a control as an input method or a paste does: all at once.
void commitText(QWidget *target, const QString &text);
// Replaces the control's text as a user does: select all, Delete, then the new text.
void retype(QLineEdit *edit, const QString &text);
void retype(QTextEdit *edit, const QString &text);
// Types into one cell of a grid as a user does: F2 opens the editor, Return closes it. False when
// no editor opened or it did not close.
bool typeIntoCell(DbGrid *grid, int row, int column, const QString &text);
// Whether a child process that obeys file permissions may create or append to `path`.
bool childMayWrite(const QString &path);

// The texts a user may type that have broken programs of this kind.
struct Hostile {
    const char *name;
    QString text;
};
QList<Hostile> hostileTexts();
// The short form of a text for test output.
QString shortened(const QString &text);

} // namespace faults
