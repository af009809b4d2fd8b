// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/commandline.h"

#include "tools/cli/columns.h"

#include <QRegularExpression>

#include <algorithm>

namespace cli {

namespace {

constexpr int lineWidth = 79;
constexpr int widestNames = 26; // a longer name column puts its text on the next line

// An option's name as it is typed: -h, --help.
QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString namesOf(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << dashed(name);
    QString out = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        out += u' ' + option.valueName();
    return out;
}

// Rows of a name and its text, the texts in one column after the widest name.
QString table(const QList<std::pair<QString, QString>> &rows)
{
    int names = 0;
    for (const auto &[name, text] : rows)
        names = std::max(names, columns::width(name));
    const int indent = std::min(names, widestNames) + 4;
    QString out;
    for (const auto &[name, text] : rows) {
        QString line = QStringLiteral("  ") + name;
        const QStringList wrapped = columns::wrap(text, lineWidth - indent);
        for (qsizetype i = 0; i < wrapped.size(); ++i) {
            if (columns::width(line) + 2 > indent) {
                out += line + u'\n';
                line.clear();
            }
            out += line + QString(indent - columns::width(line), u' ') + wrapped[i] + u'\n';
            line.clear();
        }
    }
    return out;
}

QString paragraph(const QString &text)
{
    QString out;
    for (const QString &part : text.split(u'\n'))
        out += columns::wrap(part, lineWidth).join(u'\n') + u'\n';
    return out;
}

} // namespace

CommandLine::CommandLine(const QString &name, const QString &summary)
    : m_name(name)
    , m_summary(summary)
    , m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("显示用法说明后退出。"))
    , m_version(QStringLiteral("version"), QStringLiteral("显示版本后退出。"))
{
}

void CommandLine::addUsage(const QString &form)
{
    m_usages << form;
}

void CommandLine::addOptions(const QList<QCommandLineOption> &options)
{
    m_options += options;
}

void CommandLine::addArgument(const QString &name, const QString &description)
{
    m_arguments << Argument{name, description};
}

void CommandLine::addNote(const QString &paragraph)
{
    m_notes << paragraph;
}

std::optional<int> CommandLine::parse(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

std::optional<int> CommandLine::parse(const QStringList &arguments)
{
    m_parser.addOptions(m_options);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    if (!m_parser.parse(arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name = unknown.first();
            return mistake(QStringLiteral("不认识的选项 %1").arg(dashed(name)));
        }
        // Qt's other mistakes name the option in quotes: a value missing, or one given to a switch.
        static const QRegularExpression quoted(QStringLiteral("'(.*)'"));
        const QString error = m_parser.errorText();
        const QString option = quoted.match(error).captured(1);
        if (error.startsWith(u"Missing value"))
            return mistake(QStringLiteral("选项 %1 后面要有值").arg(option));
        if (error.startsWith(u"Unexpected value"))
            return mistake(QStringLiteral("选项 %1 不带值").arg(option));
        return mistake(QStringLiteral("选项有误（%1）").arg(error));
    }
    if (m_parser.isSet(m_help)) {
        print(stdout, helpText());
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(m_name, QStringLiteral(SHIHAI_VERSION)));
        return 0;
    }
    return std::nullopt;
}

QString CommandLine::helpText() const
{
    QString out;
    const QString lead = QStringLiteral("用法：");
    for (qsizetype i = 0; i < m_usages.size(); ++i)
        out += (i == 0 ? lead : QString(columns::width(lead), u' ')) + m_name + u' ' + m_usages[i] + u'\n';
    out += paragraph(m_summary);

    QList<std::pair<QString, QString>> options;
    for (const QCommandLineOption &option : m_options + QList<QCommandLineOption>{m_help, m_version})
        options.append({namesOf(option), option.description()});
    out += QStringLiteral("\n选项：\n") + table(options);
    if (!m_arguments.isEmpty()) {
        QList<std::pair<QString, QString>> arguments;
        for (const Argument &argument : m_arguments)
            arguments.append({argument.name, argument.description});
        out += QStringLiteral("\n参数：\n") + table(arguments);
    }
    for (const QString &note : m_notes)
        out += u'\n' + paragraph(note);
    return out;
}

int CommandLine::mistake(const QString &message) const
{
    print(stderr, QStringLiteral("%1: %2（用法见 %1 --help）\n").arg(m_name, message));
    return usageStatus;
}

void print(std::FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

} // namespace cli
