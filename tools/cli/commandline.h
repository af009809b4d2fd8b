// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace cli {

// A mistake in the command line ends the command with this status.
inline constexpr int usageStatus = 2;

// The command line of one command, in Chinese throughout: its forms, options and arguments as
// --help prints them (and as its manual page lists them), --version, and a mistake said in one line
// on standard error. Qt's parser reads the options; its English texts are never shown.
class CommandLine {
public:
    CommandLine(const QString &name, const QString &summary);

    // A form of the command after its name, e.g. "[选项] [FILE]".
    void addUsage(const QString &form);
    void addOptions(const QList<QCommandLineOption> &options);
    // A positional argument, or a subcommand, with what it does.
    void addArgument(const QString &name, const QString &description);
    // A paragraph after the arguments: what the exit status means, where files are looked for.
    void addNote(const QString &paragraph);

    // Reads the arguments, the command's own name first. Returns the status to end with when that
    // is all: the usage or the version printed (0), or a mistake said (usageStatus).
    std::optional<int> parse(const QStringList &arguments);
    std::optional<int> parse(int argc, char **argv);

    bool isSet(const QCommandLineOption &option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return m_parser.value(option); }
    QStringList values(const QCommandLineOption &option) const { return m_parser.values(option); }
    QStringList positional() const { return m_parser.positionalArguments(); }

    QString helpText() const;
    // Says what is wrong with the command line and where the usage is; returns usageStatus.
    int mistake(const QString &message) const;

private:
    struct Argument {
        QString name;
        QString description;
    };
    QString m_name;
    QString m_summary;
    QStringList m_usages;
    QList<QCommandLineOption> m_options;
    QList<Argument> m_arguments;
    QStringList m_notes;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineParser m_parser;
};

// Writes text as UTF-8, whatever the locale.
void print(std::FILE *to, const QString &text);

} // namespace cli
