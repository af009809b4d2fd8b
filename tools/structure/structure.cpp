// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/structure/structure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace structure {
namespace {

struct Source {
    QString path; // from the root
    int lines = 0;
    QList<Include> includes;
};

QString unitOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'.'));
}

QString folderOf(const QString &path)
{
    return path.section(u'/', 0, 0);
}

bool skipped(const QString &topFolder, bool withTests)
{
    return topFolder.startsWith(u"build") || topFolder == u"node_modules" || topFolder.startsWith(u'.') ||
           (!withTests && (topFolder == u"tests" || topFolder == u"bench"));
}

// The paths, from the root, of the .h and .cpp files under `dir`, leaving out the skipped top folders.
void listSources(const QDir &root, const QString &dir, QStringList &into)
{
    const QFileInfoList entries =
        QDir(dir).entryInfoList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
    for (const QFileInfo &entry : entries)
        into.append(root.relativeFilePath(entry.filePath()));
    for (const QFileInfo &sub :
         QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString path = root.relativeFilePath(sub.filePath());
        if (!skipped(folderOf(path), true))
            listSources(root, sub.filePath(), into);
    }
}

// Every .h and .cpp file below the top folder with its length and the includes in quotes that name a
// file of the tree (from the root, as the sources include, or else beside the including file).
QList<Source> readTree(const QDir &root)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    QStringList paths;
    listSources(root, root.path(), paths);
    paths.removeIf([](const QString &path) { return !path.contains(u'/'); });
    paths.sort();
    QList<Source> sources;
    for (const QString &path : std::as_const(paths)) {
        QFile file(root.filePath(path));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        Source source{path, 0, {}};
        QTextStream in(&file);
        for (QString line; in.readLineInto(&line);) {
            ++source.lines;
            const QRegularExpressionMatch m = include.match(line);
            if (!m.hasMatch())
                continue;
            QString target = m.captured(1);
            if (!QFileInfo(root.filePath(target)).isFile())
                target = QDir::cleanPath(QFileInfo(path).path() + u'/' + target);
            if (QFileInfo(root.filePath(target)).isFile() && target != path)
                source.includes.append({path, source.lines, target});
        }
        sources.append(source);
    }
    return sources;
}

// The groups of units that reach each other through includes (Tarjan's strongly connected components);
// only groups of two or more are circles.
QList<QStringList> stronglyConnected(const QMap<QString, QSet<QString>> &edges)
{
    QHash<QString, int> index, low;
    QStringList stack;
    QSet<QString> onStack;
    QList<QStringList> groups;
    int next = 0;
    std::function<void(const QString &)> visit = [&](const QString &u) {
        index[u] = low[u] = next++;
        stack.append(u);
        onStack.insert(u);
        for (const QString &v : edges.value(u)) {
            if (!index.contains(v)) {
                visit(v);
                low[u] = std::min(low[u], low[v]);
            } else if (onStack.contains(v)) {
                low[u] = std::min(low[u], index[v]);
            }
        }
        if (low[u] != index[u])
            return;
        QStringList group;
        QString v;
        do {
            v = stack.takeLast();
            onStack.remove(v);
            group.append(v);
        } while (v != u);
        if (group.size() > 1) {
            group.sort();
            groups.append(group);
        }
    };
    for (auto it = edges.constBegin(); it != edges.constEnd(); ++it)
        if (!index.contains(it.key()))
            visit(it.key());
    std::sort(groups.begin(), groups.end());
    return groups;
}

// Where a layer stands: the libraries, the builders' rooms, then the commands of tools/, tests/ and
// bench/, which may include any of them; -1 for a folder outside the layers.
int rankOf(const QString &layer)
{
    if (const qsizetype library = libraries().indexOf(layer); library >= 0)
        return int(library);
    if (const qsizetype room = toolRooms().indexOf(layer); room >= 0)
        return int(libraries().size() + room);
    if (layer.startsWith(u"tools") || layer == u"tests" || layer == u"bench")
        return int(libraries().size() + toolRooms().size());
    return -1;
}

} // namespace

const QStringList &toolRooms()
{
    static const QStringList names = {QStringLiteral("tools/common"), QStringLiteral("tools/dictionary"),
                                      QStringLiteral("tools/rhymebooks"), QStringLiteral("tools/classics")};
    return names;
}

QString layerOf(const QString &path)
{
    const QString top = folderOf(path);
    return top == u"tools" && path.count(u'/') >= 2 ? path.section(u'/', 0, 1) : top;
}

const QStringList &libraries()
{
    static const QStringList names = {QStringLiteral("db"),       QStringLiteral("prosody"),
                                      QStringLiteral("classics"), QStringLiteral("presentation"),
                                      QStringLiteral("pages"),    QStringLiteral("app")};
    return names;
}

bool Report::clean() const
{
    return std::all_of(circles.begin(), circles.end(), [](const Circle &c) { return c.known; }) &&
           std::all_of(longFiles.begin(), longFiles.end(), [](const LongFile &f) { return f.known; }) &&
           upward.isEmpty();
}

Report analyse(const QString &rootPath, const Options &options)
{
    const QList<Source> sources = readTree(QDir(rootPath));
    Report report;
    QMap<QString, QSet<QString>> edges; // unit -> units it includes
    QSet<QString> folders;
    for (const Source &s : sources) {
        const QString folder = folderOf(s.path);
        const QString layer = layerOf(s.path);
        folders.insert(layer);
        const int rank = rankOf(layer);
        if (!skipped(folder, false) && s.lines > options.longest)
            report.longFiles.append({s.path, s.lines, options.knownLong.contains(s.path)});
        for (const Include &i : s.includes) {
            const QString to = folderOf(i.target);
            ++report.layers[layer][layerOf(i.target)];
            if (rank >= 0 && !skipped(folder, false) && rankOf(layerOf(i.target)) > rank)
                report.upward.append(i);
            if (!skipped(folder, options.withTests) && !skipped(to, options.withTests) &&
                unitOf(s.path) != unitOf(i.target))
                edges[unitOf(s.path)].insert(unitOf(i.target));
        }
    }
    for (const QString &known : options.knownLong)
        if (!std::any_of(report.longFiles.begin(), report.longFiles.end(),
                         [&](const LongFile &f) { return f.file == known; }))
            report.noLongerLong.append(known);

    for (const QStringList &units : stronglyConnected(edges)) {
        Circle circle{units, {}, false};
        for (const QStringList &known : options.knownCircles) {
            QStringList sorted = known;
            sorted.sort();
            circle.known = circle.known || sorted == units;
        }
        for (const Source &s : sources)
            if (units.contains(unitOf(s.path)))
                for (const Include &i : s.includes)
                    if (units.contains(unitOf(i.target)) && unitOf(i.target) != unitOf(s.path))
                        circle.includes.append(i);
        report.circles.append(circle);
    }

    QStringList others(folders.begin(), folders.end());
    others.sort();
    QStringList order = libraries() + toolRooms();
    for (const QString &f : std::as_const(others))
        if (f.startsWith(u"tools") && !order.contains(f)) // the commands
            order << f;
    order << QStringLiteral("tests") << QStringLiteral("bench") << others;
    for (const QString &f : std::as_const(order))
        if (folders.contains(f) && !report.folders.contains(f))
            report.folders.append(f);
    return report;
}

QString describe(const Report &report, const Options &options)
{
    QString text;
    QTextStream out(&text);
    const auto known = [](bool k) { return k ? QStringLiteral(" (known, allowed for now)") : QString(); };

    out << "Include circles between units (a header with its source is one unit)";
    out << (options.withTests ? ", tests and benchmarks included:\n" : ":\n");
    if (report.circles.isEmpty())
        out << "  none\n";
    for (const Circle &c : report.circles) {
        out << "  " << c.units.join(QStringLiteral(" <-> ")) << known(c.known) << "\n";
        for (const Include &i : c.includes)
            out << "    " << i.file << ":" << i.line << " includes " << i.target << "\n";
    }

    out << "\nFiles of code (the libraries and tools/; tests and benchmarks aside) over " << options.longest
        << " lines:\n";
    if (report.longFiles.isEmpty())
        out << "  none\n";
    for (const LongFile &f : report.longFiles)
        out << "  " << f.file << ": " << f.lines << known(f.known) << "\n";
    for (const QString &f : report.noLongerLong)
        out << "  " << f << ": no longer over the limit, drop it from the known ones\n";

    out << "\nIncludes from a layer of one above it (" << libraries().join(QStringLiteral(", ")) << ", "
        << toolRooms().join(QStringLiteral(", ")) << ", then the commands):\n";
    if (report.upward.isEmpty())
        out << "  none\n";
    for (const Include &i : report.upward)
        out << "  " << i.file << ":" << i.line << " includes " << i.target << "\n";

    out << "\nLayer matrix: includes from the layer of a row into the layer of a column\n";
    int width = 6;
    for (const QString &f : report.folders)
        width = std::max(width, int(f.size()) + 1);
    out << QString(width, u' ');
    for (const QString &f : report.folders)
        out << f.rightJustified(width);
    out << "\n";
    for (const QString &from : report.folders) {
        out << from.leftJustified(width);
        for (const QString &to : report.folders) {
            const int n = report.layers.value(from).value(to);
            out << (n ? QString::number(n) : QStringLiteral(".")).rightJustified(width);
        }
        out << "\n";
    }
    return text;
}

} // namespace structure
