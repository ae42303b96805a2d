#include "LabelLayouts.h"

#include "LabelError.h"

#include "core/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kA4Width = 210;
constexpr double kA4Height = 297;

// A sheet centred on A4 when its margins are not given by its maker.
LabelLayout sheet(const char* name, double width, double height, int columns, int rows)
{
    LabelLayout l;
    l.name = QLatin1String(name);
    l.page = {kA4Width, kA4Height};
    l.columns = columns;
    l.rows = rows;
    l.label = {width, height};
    l.marginLeft = (kA4Width - columns * width) / 2;
    l.marginTop = (kA4Height - rows * height) / 2;
    return l;
}

LabelLayout roll(const char* name, double width, double height)
{
    LabelLayout l;
    l.name = QLatin1String(name);
    l.page = {width, height};
    l.label = {width, height};
    return l;
}

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "70x37" (x, X or the multiplication sign) or "8,21.5".
std::optional<std::pair<double, double>> pair(const QString& text, const QRegularExpression& separator)
{
    const QStringList parts = text.split(separator);
    if (parts.size() != 2)
        return std::nullopt;
    const auto a = number(parts.at(0));
    const auto b = number(parts.at(1));
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(*a, *b);
}

} // namespace

QList<LabelLayout> LabelLayouts::builtIn()
{
    return {
        sheet("A4-70x37", 70, 37, 3, 8),
        sheet("A4-70x25.4", 70, 25.4, 3, 11),
        sheet("A4-48.5x25.4", 48.5, 25.4, 4, 10),
        sheet("A4-38x21.2", 38, 21.2, 5, 13),
        sheet("A4-105x57", 105, 57, 2, 5),
        roll("Roll-62x29", 62, 29),
        roll("Roll-58x40", 58, 40),
        roll("Roll-57x32", 57, 32),
        roll("Roll-54x25", 54, 25),
    };
}

QString LabelLayouts::siteFile(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("Labels.txt");
}

QString LabelLayouts::defaultName()
{
    return QStringLiteral("A4-70x37");
}

QList<LabelLayout> LabelLayouts::parse(const QString& text, const QString& fileName, const Messages& texts)
{
    static const QRegularExpression times(QStringLiteral("[xX\u00d7]"));
    static const QRegularExpression comma(QStringLiteral(","));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QList<LabelLayout> result;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const auto bad = [&](const QString& part) {
            return LabelError(texts.rsLabelLayoutBadLine.arg(fileName).arg(n + 1).arg(part));
        };
        const QStringList tokens = line.split(space);
        if (tokens.first().contains(u'='))
            throw bad(tokens.first());
        LabelLayout layout;
        layout.name = tokens.first();
        bool hasPage = false;
        bool hasLabel = false;
        bool hasGrid = false;
        for (const QString& token : tokens.mid(1)) {
            const qsizetype eq = token.indexOf(u'=');
            const QString key = token.left(eq).toLower();
            const QString value = eq < 0 ? QString() : token.mid(eq + 1);
            if (key == u"page" || key == u"label") {
                const auto size = pair(value, times);
                if (!size || size->first <= 0 || size->second <= 0)
                    throw bad(token);
                (key == u"page" ? layout.page : layout.label) = QSizeF(size->first, size->second);
                (key == u"page" ? hasPage : hasLabel) = true;
            } else if (key == u"grid") {
                const auto grid = pair(value, times);
                if (!grid || grid->first < 1 || grid->second < 1 || grid->first != int(grid->first)
                    || grid->second != int(grid->second) || grid->first * grid->second > 1000)
                    throw bad(token);
                layout.columns = int(grid->first);
                layout.rows = int(grid->second);
                hasGrid = true;
            } else if (key == u"margins" || key == u"gaps") {
                const auto two = pair(value, comma);
                if (!two || two->first < 0 || two->second < 0)
                    throw bad(token);
                (key == u"margins" ? layout.marginLeft : layout.gapAcross) = two->first;
                (key == u"margins" ? layout.marginTop : layout.gapDown) = two->second;
            } else if (key == u"module") {
                const auto module = number(value);
                if (!module || *module < 0.1 || *module > 2)
                    throw bad(token);
                layout.minModule = *module;
            } else {
                throw bad(token);
            }
        }
        if (!hasLabel)
            throw bad(line);
        if (!hasPage) {
            if (hasGrid)
                throw bad(line);
            layout.page = layout.label; // a roll
        }
        if (!layout.fitsPage())
            throw LabelError(texts.rsLabelLayoutOffPage.arg(fileName).arg(n + 1).arg(layout.name));
        result.append(layout);
    }
    return result;
}

QList<LabelLayout> LabelLayouts::all(const QString& dataFolder, const Messages& texts)
{
    QList<LabelLayout> layouts = builtIn();
    const QString path = siteFile(dataFolder);
    if (!QFileInfo::exists(path))
        return layouts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw LabelError(texts.rsLabelLayoutFile.arg(path));
    for (const LabelLayout& own : parse(QString::fromUtf8(file.readAll()), path, texts)) {
        auto same = std::find_if(layouts.begin(), layouts.end(), [&](const LabelLayout& l) {
            return l.name.compare(own.name, Qt::CaseInsensitive) == 0;
        });
        if (same != layouts.end())
            *same = own;
        else
            layouts.append(own);
    }
    return layouts;
}

std::optional<LabelLayout> LabelLayouts::find(const QList<LabelLayout>& layouts, const QString& name)
{
    for (const LabelLayout& l : layouts) {
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return l;
    }
    return std::nullopt;
}
