// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/faults/faultsupport.h"

#include "db/dberror.h"
#include "db/sqlite.h"
#include "pages/shared/dbgrid.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QTextEdit>

#include <csignal>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace faults {
namespace {

// The capabilities that let root write and read any file whatever its permissions.
constexpr unsigned overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
};

// Raw system calls: there is no C library wrapper, and they must be safe between fork and exec.
bool getCapabilities(Capabilities &caps)
{
    return syscall(SYS_capget, &caps.header, caps.data) == 0;
}

bool setCapabilities(Capabilities &caps)
{
    return syscall(SYS_capset, &caps.header, caps.data) == 0;
}

// The tests' own view of a file: every row of a query, each column as text ("\1NULL" for NULL).
// A failure ends the test run.
class Handle {
public:
    explicit Handle(const QString &path)
        : m_path(path)
    {
    }
    QList<QStringList> rows(const QString &sql) const
    {
        try {
            SqliteFile file(m_path, SqliteFile::Mode::ReadWrite);
            file.setBusyTimeout(10000);
            Statement st(file, sql.toUtf8());
            QList<QStringList> out;
            while (st.step()) {
                QStringList row;
                for (int c = 0; c < st.columnCount(); ++c)
                    row << (st.isNull(c) ? QStringLiteral("\1NULL") : st.text(c));
                out << row;
            }
            return out;
        } catch (const DbError &e) {
            qFatal("%s: %s: %s", qPrintable(m_path), qPrintable(sql), qPrintable(e.message()));
        }
    }

private:
    QString m_path;
};

} // namespace

PermissionsObeyed::PermissionsObeyed()
{
    Capabilities caps;
    if (!getCapabilities(caps))
        qFatal("capget failed");
    m_saved[0] = caps.data[0].effective;
    m_saved[1] = caps.data[1].effective;
    caps.data[0].effective &= ~overrides;
    if (!setCapabilities(caps))
        qFatal("capset failed");
}

PermissionsObeyed::~PermissionsObeyed()
{
    Capabilities caps;
    getCapabilities(caps);
    caps.data[0].effective = m_saved[0];
    caps.data[1].effective = m_saved[1];
    setCapabilities(caps);
}

void obeyPermissionsForLife()
{
    // Root regains its bounding set on exec, so the capabilities leave that set too.
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        prctl(PR_CAPBSET_DROP, cap, 0, 0, 0);
    Capabilities caps;
    if (getCapabilities(caps)) {
        caps.data[0].effective &= ~overrides;
        caps.data[0].permitted &= ~overrides;
        caps.data[0].inheritable &= ~overrides;
        setCapabilities(caps);
    }
}

bool isWriteProtected(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    if (fd >= 0)
        ::close(fd);
    return fd < 0;
}

bool ProgramRun::cleanExit(int code) const
{
    return finished && exitStatus == QProcess::NormalExit && exitCode == code &&
           !diagnostics.contains(QStringLiteral("Sanitizer")) &&
           !diagnostics.contains(QStringLiteral("runtime error"));
}

ProgramRun runProgram(const QString &dir, Run run, bool obeyPermissions)
{
    LiveProgram::Options options;
    options.run = run;
    options.obeyPermissions = obeyPermissions;
    return LiveProgram(dir, options).finish();
}

LiveProgram::LiveProgram(const QString &dir, const Options &options)
{
    m_process.setProgram(QStringLiteral(SHIHAI_PROGRAM));
    m_process.setWorkingDirectory(dir);
    m_process.setReadChannel(QProcess::StandardError); // where the probe reports
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_scriptDir.path()); // not the user's settings
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(BOXPROBE_PLUGINS));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), options.run == Run::CloseWhenShown
                                                             ? QStringLiteral("shihaiboxprobe:close")
                                                             : QStringLiteral("shihaiboxprobe"));
    if (options.answerNo)
        env.insert(QStringLiteral("SHIHAI_PROBE_ANSWER"), QStringLiteral("no"));
    if (!options.typing.isEmpty()) {
        QFile script(m_scriptDir.filePath(QStringLiteral("typing.json")));
        if (!script.open(QIODevice::WriteOnly) || script.write(QJsonDocument(options.typing).toJson()) < 0)
            qFatal("cannot write the typing script");
        env.insert(QStringLiteral("SHIHAI_PROBE_TYPE"), script.fileName());
        env.insert(QStringLiteral("SHIHAI_PROBE_PACE"), QString::number(options.paceMs));
    }
    m_process.setProcessEnvironment(env);
    if (options.obeyPermissions)
        m_process.setChildProcessModifier(obeyPermissionsForLife);
    m_process.start();
    if (!m_process.waitForStarted())
        qFatal("cannot start %s", SHIHAI_PROGRAM);
}

LiveProgram::~LiveProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void LiveProgram::readReports()
{
    m_pending += m_process.readAllStandardError();
    const qsizetype end = m_pending.lastIndexOf('\n');
    if (end < 0)
        return;
    for (const QByteArray &line : m_pending.left(end).split('\n')) {
        const QJsonObject report = QJsonDocument::fromJson(line).object();
        if (report.contains(QStringLiteral("box")))
            m_run.boxes << report;
        else if (report.contains(QStringLiteral("close")))
            m_run.closes << report.value(QStringLiteral("close")).toBool();
        else if (report.isEmpty() && !line.trimmed().isEmpty())
            m_run.diagnostics += QString::fromUtf8(line) + u'\n';
        if (!report.isEmpty())
            m_reports << report;
    }
    m_pending = m_pending.mid(end + 1);
}

bool LiveProgram::waitFor(const std::function<bool(const QJsonObject &)> &until, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        readReports();
        while (m_seen < m_reports.size())
            if (until(m_reports[m_seen++]))
                return true;
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
}

void LiveProgram::signal(int number)
{
    // A program that has ended has no id: 0 would signal the test's own process group.
    if (const qint64 id = m_process.processId(); id > 0)
        ::kill(pid_t(id), number);
}

ProgramRun LiveProgram::finish(int timeoutMs)
{
    m_run.finished = m_process.waitForFinished(timeoutMs);
    if (!m_run.finished) {
        m_process.kill();
        m_process.waitForFinished();
    }
    m_run.exitStatus = m_process.exitStatus();
    m_run.exitCode = m_process.exitCode();
    m_pending += '\n';
    readReports();
    return m_run;
}

QString writerProgram()
{
    return QStringLiteral(FAULTS_WRITER);
}

Shell::Shell(const QString &path)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral(SQLITE3_SHELL), {QStringLiteral("-batch"), path});
    if (!m_process.waitForStarted())
        qFatal("cannot start %s", SQLITE3_SHELL);
    // A write that meets the program's lock waits for it, as the program waits for the shell's.
    run(QStringLiteral(".timeout 5000"));
}

Shell::~Shell()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished();
}

// Errors come on the same channel, so they are read in order; a line the shell prints after the
// statements tells when they are done.
QStringList Shell::run(const QString &sql)
{
    const QByteArray marker = QStringLiteral("<<done %1>>").arg(++m_serial).toUtf8();
    m_process.write(sql.toUtf8() + "\nSELECT '" + marker + "';\n");
    QByteArray out;
    while (!out.contains(marker + '\n')) {
        if (!m_process.waitForReadyRead(30000))
            qFatal("the sqlite3 shell did not answer: %s", out.constData());
        out += m_process.readAllStandardOutput();
    }
    QStringList lines;
    for (const QByteArray &line : out.left(out.indexOf(marker)).split('\n'))
        if (!line.isEmpty())
            lines << QString::fromUtf8(line);
    for (const QString &line : std::as_const(lines))
        if (line.contains(QStringLiteral("error"), Qt::CaseInsensitive))
            m_errors += line + u'\n';
    return lines;
}

QString Shell::takeErrors()
{
    return std::exchange(m_errors, QString());
}

void commitText(QWidget *target, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(target, &commit);
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    commitText(edit, text);
}

void retype(QTextEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    commitText(edit, text);
}

bool typeIntoCell(DbGrid *grid, int row, int column, const QString &text)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClick(grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
    if (!editor)
        return false;
    retype(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits once the key has been handled.
    return QTest::qWaitFor([&] { return !grid->indexWidget(grid->currentIndex()); });
}

bool childMayWrite(const QString &path)
{
    QProcess shell;
    shell.setChildProcessModifier(obeyPermissionsForLife);
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral(": >> \"$0\""), path});
    shell.waitForFinished();
    return shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

QString integrityCheck(const QString &path)
{
    QStringList lines;
    for (const QStringList &row : Handle(path).rows(QStringLiteral("PRAGMA integrity_check")))
        lines << row.join(u'|');
    return lines.join(u'\n');
}

QStringList schemaOf(const QString &path)
{
    QStringList out;
    for (const QStringList &row :
         Handle(path).rows(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name")))
        out << row.join(u'|');
    return out;
}

Rows snapshot(const QString &path)
{
    const Handle h(path);
    Rows rows;
    for (const char *table : {"平舌音", "卷舌音", "作品", "词组", "成语"}) {
        const QString name = QString::fromUtf8(table);
        QMap<qint64, QStringList> &byRowid = rows[name];
        for (QStringList row : h.rows(QStringLiteral("SELECT rowid, * FROM %1").arg(name))) {
            const qint64 rowid = row.takeFirst().toLongLong();
            byRowid.insert(rowid, row);
        }
    }
    return rows;
}

QList<Hostile> hostileTexts()
{
    // 100,000 UTF-16 units of mixed text, never ending inside a surrogate pair.
    const QString piece = QStringLiteral("春眠不觉晓\"'\\%_;𬘩 ");
    QString long100k;
    long100k.reserve(100000);
    while (long100k.size() + piece.size() <= 100000)
        long100k += piece;
    long100k += QString(100000 - long100k.size(), u'字');

    return {
        {"double quote", QStringLiteral("\"")},
        {"doubled quotes", QStringLiteral("\"\"''")},
        {"single quote", QStringLiteral("'")},
        {"backslash", QStringLiteral("\\")},
        {"percent", QStringLiteral("%")},
        {"underscore", QStringLiteral("_")},
        {"semicolon", QStringLiteral(";")},
        {"drop table", QStringLiteral("\"; drop table 作品; --")},
        {"delete statement", QStringLiteral("'); delete from 词组; --")},
        {"parameter markers", QStringLiteral("? ?1 :名 @a $b")},
        {"comments and brackets", QStringLiteral("/* [作品] */ -- `x`")},
        {"beyond the BMP", QStringLiteral("𬘩𠀀𪚥")},
        {"rich text", QStringLiteral("{\\rtf1\\ansi\\ansicpg936 {\\fonttbl\\f0 宋体;}\\f0 假的\\par}")},
        {"rich text start", QStringLiteral("{\\rtf")},
        {"newlines and tabs", QStringLiteral("床前\n\t明月光\n")},
        {"spaces", QStringLiteral("  前后空格  ")},
        {"no-break space", QStringLiteral("甲\u00a0乙")},
        {"100,000 characters", long100k},
    };
}

QString shortened(const QString &text)
{
    return text.size() <= 40 ? text : text.left(20) + QStringLiteral("…(%1 characters)").arg(text.size());
}

} // namespace faults
