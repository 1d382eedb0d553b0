// SPDX-License-Identifier: GPL-3.0-or-later
#include <map>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The include directions of docs/ARCHITECTURE.md ("The house"), read off every source file under
// src/ and tools/. Each room names the rooms right below it; it may include those and whatever
// they rest on, and itself.
namespace {

using Rooms = std::map<QString, QStringList>;

// base < data < layout < masterdata < ledger < report < accounts < documents; shell on base and data
// only; callerid above masterdata (the caller's lookup) and analysis above data; ledger and callerid
// may also use shell; migrate above masterdata and shell.
const Rooms coreRooms = {
    {u"base"_s, {}},
    {u"data"_s, {u"base"_s}},
    {u"layout"_s, {u"data"_s}},
    {u"masterdata"_s, {u"layout"_s}},
    {u"ledger"_s, {u"masterdata"_s, u"shell"_s}},
    {u"shell"_s, {u"base"_s, u"data"_s}},
    {u"callerid"_s, {u"masterdata"_s, u"shell"_s}},
    {u"analysis"_s, {u"data"_s}},
    {u"migrate"_s, {u"masterdata"_s, u"shell"_s}},
    {u"report"_s, {u"ledger"_s}},
    {u"accounts"_s, {u"report"_s}},
    {u"documents"_s, {u"accounts"_s}},
};

// ui < shell, masterdata, callerid, analysis, report < ledger; accounts on masterdata and report,
// below ledger; documents on accounts, below ledger; any of them may use any core room.
const Rooms guiRooms = {
    {u"ui"_s, {}},
    {u"shell"_s, {u"ui"_s}},
    {u"masterdata"_s, {u"ui"_s}},
    {u"callerid"_s, {u"ui"_s}},
    {u"analysis"_s, {u"ui"_s}},
    {u"report"_s, {u"ui"_s}},
    {u"accounts"_s, {u"masterdata"_s, u"report"_s}},
    {u"documents"_s, {u"accounts"_s}},
    {u"ledger"_s, {u"shell"_s, u"masterdata"_s, u"callerid"_s, u"analysis"_s, u"report"_s, u"accounts"_s, u"documents"_s}},
};

// Includes that go against the directions today, each with its reason. An entry that no longer
// occurs fails the test, so it is taken out when its cause goes.
struct KnownException
{
    QString file;
    QString target;
};
const QList<KnownException> knownExceptions = {
    // The printed ledger's timings need the painter and the preview of the gui's report room.
    {u"tools/bench/print/printbench.cpp"_s, u"gui/report"_s},
    // So is the client ledger window's first paint, which needs the window.
    {u"tools/bench/print/printbench.cpp"_s, u"gui/accounts"_s},
    {u"tools/bench/print/printbench.cpp"_s, u"gui/masterdata"_s},
};

QSet<QString> below(const Rooms &rooms, const QString &room)
{
    QSet<QString> seen;
    QStringList todo = rooms.count(room) ? rooms.at(room) : QStringList();
    while (!todo.isEmpty()) {
        const QString r = todo.takeLast();
        if (seen.contains(r))
            continue;
        seen.insert(r);
        if (rooms.count(r))
            todo += rooms.at(r);
    }
    return seen;
}

// Where a path of the tree belongs: side "core"/"gui" with its room, "app", "tools", or nothing.
struct Place
{
    QString side;
    QString room;
    QString label() const { return room.isEmpty() ? side : side + u'/' + room; }
};

Place placeOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split(u'/');
    if (parts.size() > 2 && parts[0] == "src"_L1) {
        if (parts[1] == "core"_L1 || parts[1] == "gui"_L1)
            return {parts[1], parts.size() > 3 ? parts[2] : QString()};
        if (parts[1] == "app"_L1)
            return {u"app"_s, {}};
    }
    if (parts[0] == "tools"_L1)
        return {u"tools"_s, {}};
    return {};
}

bool allowed(const Place &from, const Place &to)
{
    if (from.side == "app"_L1)
        return true;
    if (from.side == "tools"_L1)
        return to.side == "core"_L1 || to.side == "tools"_L1;
    if (to.side == "core"_L1 && from.side == "gui"_L1)
        return coreRooms.count(to.room) > 0;
    if (to.side != from.side)
        return false;
    const Rooms &rooms = from.side == "core"_L1 ? coreRooms : guiRooms;
    return rooms.count(from.room) && (to.room == from.room || below(rooms, from.room).contains(to.room));
}

// The Qt Widgets headers: those of the QtWidgets folder, less the ones Qt 6 forwards to QtGui.
QSet<QString> widgetHeaders()
{
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    const auto names = [&](const char *module) {
        const QStringList list = QDir(headers + u'/' + QLatin1String(module)).entryList(QDir::Files);
        return QSet<QString>(list.begin(), list.end());
    };
    return names("QtWidgets").subtract(names("QtGui"));
}

struct Violation
{
    QString where; // file:line
    QString target;
    QString include;
    QString text() const { return where + u" → "_s + target + u"  ("_s + include + u')'; }
};

// Every include of every source file under root/src and root/tools that goes against the
// directions, and the known exceptions that no longer occur.
struct IncludeScan
{
    QList<Violation> violations;
    QStringList staleExceptions;

    IncludeScan(const QString &root, const QSet<QString> &widgets, const QList<KnownException> &known)
    {
        static const QRegularExpression includeLine(uR"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"_s);
        const QDir top(root);
        QList<bool> used(known.size(), false);
        for (const char *base : {"src", "tools"}) {
            QDirIterator it(root + u'/' + QLatin1String(base), {u"*.h"_s, u"*.hpp"_s, u"*.cpp"_s, u"*.cc"_s},
                            QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                const QString file = top.relativeFilePath(path);
                const Place from = placeOf(file);
                QFile f(path);
                if (!f.open(QIODevice::ReadOnly)) {
                    violations.append({file, u"(unreadable)"_s, f.errorString()});
                    continue;
                }
                int lineNo = 0;
                while (!f.atEnd()) {
                    const QString line = QString::fromUtf8(f.readLine());
                    ++lineNo;
                    const auto m = includeLine.match(line);
                    if (!m.hasMatch())
                        continue;
                    const bool quoted = m.captured(1) == "\""_L1;
                    const QString name = m.captured(2).trimmed();
                    const QString spelled = m.captured(1) + name + (quoted ? u'"' : u'>');
                    QString target;
                    if (from.side == "core"_L1
                        && (name == "QtWidgets"_L1 || name.startsWith("QtWidgets/"_L1) || widgets.contains(name))) {
                        target = u"QtWidgets"_s;
                    } else {
                        const QString resolved = resolve(root, QFileInfo(path).path(), name, quoted);
                        if (resolved.isEmpty())
                            continue; // a system or library header
                        const Place to = placeOf(top.relativeFilePath(resolved));
                        if (allowed(from, to))
                            continue;
                        target = to.side.isEmpty() ? top.relativeFilePath(resolved) : to.label();
                    }
                    bool excused = false;
                    for (qsizetype i = 0; i < known.size(); ++i) {
                        if (known[i].file == file && known[i].target == target)
                            excused = used[i] = true;
                    }
                    if (!excused)
                        violations.append({file + u':' + QString::number(lineNo), target, spelled});
                }
            }
        }
        for (qsizetype i = 0; i < known.size(); ++i) {
            if (!used[i])
                staleExceptions.append(known[i].file + u" → "_s + known[i].target);
        }
    }

    // As the compiler finds it: a quoted name beside the file first, then below src/, then below
    // tools/ (the development aids' library). A core/ or gui/ name that names no file still counts
    // by its path.
    static QString resolve(const QString &root, const QString &dir, const QString &name, bool quoted)
    {
        if (quoted && QFileInfo(dir + u'/' + name).isFile())
            return QDir::cleanPath(dir + u'/' + name);
        const QString inSrc = QDir::cleanPath(root + u"/src/"_s + name);
        if (QFileInfo(inSrc).isFile() || name.startsWith("core/"_L1) || name.startsWith("gui/"_L1)
            || name.startsWith("app/"_L1))
            return inSrc;
        const QString inTools = QDir::cleanPath(root + u"/tools/"_s + name);
        if (QFileInfo(inTools).isFile())
            return inTools;
        return {};
    }
};

// The files of src/core that include each other round in a circle, each circle as its files'
// paths without extension (a header and its source are one file here), sorted.
QList<QStringList> fileCycles(const QString &root)
{
    static const QRegularExpression includeLine(u"^\\s*#\\s*include\\s*\"([^\"]+)\""_s);
    const QDir src(root + u"/src"_s);
    const auto unitOf = [&](const QString &path) {
        const QString rel = src.relativeFilePath(path);
        return rel.left(rel.lastIndexOf(u'.'));
    };
    std::map<QString, QSet<QString>> edges;
    QDirIterator it(src.filePath(u"core"_s), {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString from = unitOf(path);
        edges[from];
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        while (!f.atEnd()) {
            const auto m = includeLine.match(QString::fromUtf8(f.readLine()));
            const QString to =
                m.hasMatch() ? IncludeScan::resolve(root, QFileInfo(path).path(), m.captured(1), true) : QString();
            if (!to.isEmpty() && QFileInfo(to).isFile() && unitOf(to) != from)
                edges[from].insert(unitOf(to));
        }
    }
    const auto reach = [&](const QString &start) {
        QSet<QString> seen;
        QStringList todo{start};
        while (!todo.isEmpty()) {
            for (const QString &next : edges[todo.takeLast()])
                if (!seen.contains(next)) {
                    seen.insert(next);
                    todo.append(next);
                }
        }
        return seen;
    };
    std::map<QString, QSet<QString>> reaches;
    for (const auto &[unit, to] : edges)
        reaches[unit] = reach(unit);
    QList<QStringList> cycles;
    for (const auto &[unit, reached] : reaches) {
        QStringList circle{unit};
        for (const QString &other : reached)
            if (other != unit && reaches[other].contains(unit))
                circle.append(other);
        circle.sort();
        if (circle.size() > 1 && !cycles.contains(circle))
            cycles.append(circle);
    }
    return cycles;
}

void writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly) && f.write(text) == text.size(), qPrintable(path));
}

} // namespace

class tst_Includes final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyRoomIsPlaced();
    void includesFollowTheOrder();
    void aWrongIncludeIsReported();
    void noFileCycleInTheCore();
    void storageShowsNoBox();

private:
    QSet<QString> m_widgets;
};

void tst_Includes::initTestCase()
{
    m_widgets = widgetHeaders();
    QVERIFY2(m_widgets.contains(u"QMessageBox"_s) && m_widgets.contains(u"qwidget.h"_s),
             qPrintable(u"no Qt Widgets headers in "_s + QLibraryInfo::path(QLibraryInfo::HeadersPath)));
}

// Each folder of src/core and src/gui is a room of the order, each room of the order a folder,
// and no room rests on itself.
void tst_Includes::everyRoomIsPlaced()
{
    for (const auto &[side, rooms] : {std::pair{u"core"_s, &coreRooms}, std::pair{u"gui"_s, &guiRooms}}) {
        const QStringList folders = QDir(QStringLiteral(SOLBITSEM_SOURCE_DIR "/src/") + side)
                                        .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &folder : folders)
            QVERIFY2(rooms->count(folder), qPrintable(u"src/"_s + side + u'/' + folder + u" is not placed in the order"_s));
        for (const auto &[room, under] : *rooms) {
            QVERIFY2(folders.contains(room), qPrintable(side + u'/' + room + u" of the order has no folder"_s));
            QVERIFY2(!below(*rooms, room).contains(room), qPrintable(side + u'/' + room + u" rests on itself"_s));
            for (const QString &r : under)
                QVERIFY2(rooms->count(r), qPrintable(side + u'/' + room + u" rests on unknown "_s + r));
        }
    }
}

void tst_Includes::includesFollowTheOrder()
{
    const IncludeScan scan(QStringLiteral(SOLBITSEM_SOURCE_DIR), m_widgets, knownExceptions);
    for (const Violation &v : scan.violations)
        qWarning().noquote() << v.text();
    for (const QString &stale : scan.staleExceptions)
        qWarning().noquote() << "known exception no longer occurs, remove it:" << stale;
    QVERIFY(scan.violations.isEmpty());
    QVERIFY(scan.staleExceptions.isEmpty());
}

// The scan itself, on a small tree with one wrong include of each kind.
void tst_Includes::aWrongIncludeIsReported()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path();
    writeFile(root + u"/src/core/base/a.h"_s, "#pragma once\n");
    writeFile(root + u"/src/core/base/bad.cpp"_s,
              "#include \"core/ledger/l.h\"\n#include <QMessageBox>\n  #  include \"gui/ui/u.h\"\n"
              "#include \"a.h\"\n#include <QtWidgets/QWidget>\n#include <QString>\n#include <vector>\n");
    writeFile(root + u"/src/core/ledger/l.h"_s, "#include \"core/base/a.h\"\n#include \"l2.h\"\n");
    writeFile(root + u"/src/core/ledger/l2.h"_s, "// #include \"gui/ui/u.h\"\n");
    writeFile(root + u"/src/gui/ui/u.h"_s, "#include \"core/ledger/l.h\"\n#include \"gui/ledger/m.h\"\n");
    writeFile(root + u"/src/gui/ledger/m.h"_s, "#include \"gui/ui/u.h\"\n#include <QMessageBox>\n");
    writeFile(root + u"/src/app/main.cpp"_s, "#include \"gui/ledger/m.h\"\n");
    writeFile(root + u"/tools/t/main.cpp"_s, "#include \"core/base/a.h\"\n\n#include \"gui/ui/u.h\"\n");
    writeFile(root + u"/tools/old/main.cpp"_s, "#include \"gui/ledger/m.h\"\n");

    const IncludeScan scan(root, m_widgets,
                           {{u"tools/old/main.cpp"_s, u"gui/ledger"_s}, {u"tools/t/main.cpp"_s, u"gui/report"_s}});
    QStringList found;
    for (const Violation &v : scan.violations)
        found.append(v.where + u" → "_s + v.target);
    found.sort();
    QCOMPARE(found, QStringList({u"src/core/base/bad.cpp:1 → core/ledger"_s, u"src/core/base/bad.cpp:2 → QtWidgets"_s,
                                 u"src/core/base/bad.cpp:3 → gui/ui"_s, u"src/core/base/bad.cpp:5 → QtWidgets"_s,
                                 u"src/gui/ui/u.h:2 → gui/ledger"_s, u"tools/t/main.cpp:3 → gui/ui"_s}));
    QCOMPARE(scan.staleExceptions, QStringList({u"tools/t/main.cpp → gui/report"_s}));
}

// A circle of files is one piece that can only be read, built and tested whole. The one circle
// left is the engines behind Database's interface, which take the Database they work for.
void tst_Includes::noFileCycleInTheCore()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(u"src/core/data/a.h"_s), "#include \"b.h\"\n");
    writeFile(dir.filePath(u"src/core/data/b.h"_s), "#pragma once\n");
    writeFile(dir.filePath(u"src/core/data/b.cpp"_s), "#include \"core/data/c.h\"\n");
    writeFile(dir.filePath(u"src/core/data/c.h"_s), "#include \"a.h\"\n");
    writeFile(dir.filePath(u"src/core/base/d.h"_s), "#include \"core/data/a.h\"\n");
    QCOMPARE(fileCycles(dir.path()), QList<QStringList>({{u"core/data/a"_s, u"core/data/b"_s, u"core/data/c"_s}}));

    const QList<QStringList> cycles = fileCycles(QStringLiteral(SOLBITSEM_SOURCE_DIR));
    const QList<QStringList> engines = {{u"core/data/database"_s, u"core/data/databaseengine"_s,
                                         u"core/data/postgresengine"_s, u"core/data/sqliteengine"_s}};
    if (cycles != engines) {
        for (const QStringList &c : cycles)
            qWarning().noquote() << c.join(u" ↔ "_s);
    }
    QCOMPARE(cycles, engines);
}

// Storage and the registers hand their errors back; only the flows that called them show boxes.
void tst_Includes::storageShowsNoBox()
{
    const QDir core(QStringLiteral(SOLBITSEM_SOURCE_DIR "/src/core"));
    QStringList files;
    QDirIterator data(core.filePath(u"data"_s), QDir::Files);
    while (data.hasNext())
        files << data.next();
    for (const QString &reg : {u"clientregister"_s, u"nameregister"_s})
        files << core.filePath(u"masterdata/"_s + reg + u".h"_s) << core.filePath(u"masterdata/"_s + reg + u".cpp"_s);
    QVERIFY(files.size() > 10);
    for (const QString &path : std::as_const(files)) {
        QFile f(path);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY2(!f.readAll().contains("UserPrompt"), qPrintable(path + u" shows boxes itself"_s));
    }
}

QTEST_APPLESS_MAIN(tst_Includes)
#include "tst_includes.moc"
