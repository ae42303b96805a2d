// The rules that keep the windows apart, checked on the sources: windows meet
// only through the core and the navigator.
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QString kSource = QStringLiteral(TOOLDESK_SOURCE_DIR);
// Folders of the program itself, each one library.
const QStringList kProgramFolders = {"app",      "core",       "data",   "platform", "widgets",    "reportengine",
                                     "reports",  "labels",     "config", "desk",     "tools",      "recipients",
                                     "writeoff", "reportpage", "export", "import",   "importpage", "outpage"};
// Folders that hold windows; they never include each other.
const QStringList kWindowFolders = {"config",   "desk",       "tools",      "recipients",
                                    "writeoff", "reportpage", "importpage", "outpage"};
// Folders below the windows; they include no window at all. The report
// engine, the program's reports and the labels are among them: a window
// prints a report as it uses widgets.
const QStringList kLowerFolders = {"core",         "data",    "platform", "widgets",
                                   "reportengine", "reports", "labels",   "export"};

struct Include {
    QString file;   // relative to the source folder
    QString target; // as written: "desk/TfmMain.h" or <QWidget>
};

QList<Include> includesOf(const QString& folder)
{
    static const QRegularExpression line(QStringLiteral(R"(^\s*#\s*include\s*([<"][^>"]+[>"]))"),
                                         QRegularExpression::MultilineOption);
    QList<Include> result;
    QDirIterator it(kSource + u'/' + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = line.globalMatch(text); m.hasNext();)
            result.append({path.mid(kSource.size() + 1), m.next().captured(1)});
    }
    return result;
}

QString folderOf(const QString& quoted)
{
    if (!quoted.startsWith(u'"'))
        return {};
    const QString inner = quoted.mid(1, quoted.size() - 2);
    const qsizetype slash = inner.indexOf(u'/');
    return slash < 0 ? QString() : inner.left(slash);
}

QString describe(const QList<Include>& bad)
{
    QStringList lines;
    for (const Include& i : bad)
        lines << i.file + QStringLiteral(" -> ") + i.target;
    return lines.join(u'\n');
}

// library -> the project libraries it links, from each folder's CMakeLists.txt.
QHash<QString, QSet<QString>> libraryLinks()
{
    static const QRegularExpression call(
        QStringLiteral(R"((add_library|target_link_libraries)\s*\(\s*(\w+)([^)]*)\))"));
    static const QRegularExpression lib(QStringLiteral(R"(\btooldesk_\w+)"));
    QHash<QString, QSet<QString>> links;
    for (const QString& folder : kProgramFolders) {
        QFile f(kSource + u'/' + folder + QStringLiteral("/CMakeLists.txt"));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = call.globalMatch(text); m.hasNext();) {
            const auto c = m.next();
            QSet<QString>& targets = links[c.captured(2)];
            if (c.captured(1) == u"target_link_libraries") {
                for (auto l = lib.globalMatch(c.captured(3)); l.hasNext();)
                    targets.insert(l.next().captured(0));
            }
        }
    }
    return links;
}

// A path of libraries that links back to its start, or nothing.
QStringList cycle(const QHash<QString, QSet<QString>>& links)
{
    enum State { Fresh, Open, Done };
    QHash<QString, State> state;
    QStringList path;
    std::function<bool(const QString&)> visit = [&](const QString& node) {
        state[node] = Open;
        path << node;
        for (const QString& next : links.value(node)) {
            if (state.value(next, Fresh) == Open) {
                path << next;
                return true;
            }
            if (state.value(next, Fresh) == Fresh && visit(next))
                return true;
        }
        path.removeLast();
        state[node] = Done;
        return false;
    };
    for (auto it = links.cbegin(); it != links.cend(); ++it) {
        if (state.value(it.key(), Fresh) == Fresh && visit(it.key()))
            return path;
    }
    return {};
}

} // namespace

class TestStructure : public QObject
{
    Q_OBJECT
private slots:
    void onlyTheApplicationIncludesApp();
    void windowFoldersDoNotIncludeEachOther();
    void noWindowHeaderAcrossFolders();
    void lowerFoldersIncludeNoWindow();
    void coreIncludesNoWidget();
    void librariesLinkWithoutCycle();
    void cycleFinderFindsOne();
};

void TestStructure::onlyTheApplicationIncludesApp()
{
    QList<Include> bad;
    for (const QString& folder : kProgramFolders) {
        if (folder == u"app")
            continue;
        for (const Include& i : includesOf(folder)) {
            if (folderOf(i.target) == u"app")
                bad << i;
        }
    }
    QVERIFY2(bad.isEmpty(), qPrintable(describe(bad)));
}

void TestStructure::windowFoldersDoNotIncludeEachOther()
{
    QList<Include> bad;
    for (const QString& folder : kWindowFolders) {
        for (const Include& i : includesOf(folder)) {
            const QString target = folderOf(i.target);
            if (target != folder && kWindowFolders.contains(target))
                bad << i;
        }
    }
    QVERIFY2(bad.isEmpty(), qPrintable(describe(bad)));
}

void TestStructure::noWindowHeaderAcrossFolders()
{
    static const QRegularExpression window(QStringLiteral(R"(^"\w+/Tfm\w*\.h"$)"));
    QList<Include> bad;
    for (const QString& folder : kProgramFolders) {
        if (folder == u"app")
            continue;
        for (const Include& i : includesOf(folder)) {
            if (window.match(i.target).hasMatch() && folderOf(i.target) != folder)
                bad << i;
        }
    }
    QVERIFY2(bad.isEmpty(), qPrintable(describe(bad)));
}

void TestStructure::lowerFoldersIncludeNoWindow()
{
    QList<Include> bad;
    for (const QString& folder : kLowerFolders) {
        for (const Include& i : includesOf(folder)) {
            const QString target = folderOf(i.target);
            if (kWindowFolders.contains(target) || target == u"app" || i.target.contains(QStringLiteral("/Tfm")))
                bad << i;
        }
    }
    QVERIFY2(bad.isEmpty(), qPrintable(describe(bad)));
}

void TestStructure::coreIncludesNoWidget()
{
    static const QRegularExpression widget(
        QStringLiteral(R"(^<Q(Widget|Dialog|Application|AbstractButton|PushButton|Label|LineEdit|ComboBox|CheckBox|)"
                       R"(TableView|MessageBox|Layout|HBoxLayout|VBoxLayout|GridLayout|tWidgets)[\w/]*>$)"));
    QList<Include> bad;
    for (const Include& i : includesOf(QStringLiteral("core"))) {
        const QString target = folderOf(i.target);
        if (widget.match(i.target).hasMatch() || target == u"widgets" || target == u"platform")
            bad << i;
    }
    QVERIFY2(bad.isEmpty(), qPrintable(describe(bad)));
}

void TestStructure::librariesLinkWithoutCycle()
{
    const auto links = libraryLinks();
    QVERIFY(links.contains(QStringLiteral("tooldesk_core")));
    QVERIFY(links.value(QStringLiteral("tooldesk_app")).contains(QStringLiteral("tooldesk_desk")));
    const QStringList found = cycle(links);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(" -> "))));
}

void TestStructure::cycleFinderFindsOne()
{
    QHash<QString, QSet<QString>> links;
    links[QStringLiteral("a")] = {QStringLiteral("b")};
    links[QStringLiteral("b")] = {QStringLiteral("c")};
    QVERIFY(cycle(links).isEmpty());
    links[QStringLiteral("c")] = {QStringLiteral("a")};
    QCOMPARE(cycle(links).size(), 4);
}

QTEST_MAIN(TestStructure)
#include "tst_structure.moc"
