#include "TemplateLoader.h"

#include "ReportError.h"
#include "ReportUnits.h"
#include "TfrxMemoView.h"
#include "TfrxReport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <optional>

namespace TemplateLoader {

namespace {

class Reader
{
public:
    explicit Reader(const QString& origin)
        : m_origin(origin)
    {
    }

    std::unique_ptr<TfrxReport> read(const QJsonObject& root);

private:
    [[noreturn]] void fail(const QString& where, const QString& what) const
    {
        throw ReportError(QStringLiteral("Report template %1, %2: %3").arg(m_origin, where, what));
    }

    void allowOnly(const QJsonObject& o, const QString& where, std::initializer_list<const char*> keys) const;
    double number(const QJsonObject& o, const char* key, const QString& where, std::optional<double> byDefault) const;
    QString text(const QJsonObject& o, const char* key, const QString& where, std::optional<QString> byDefault) const;
    void readBand(TfrxReport& report, const QJsonObject& o, int index);
    void readMemo(TfrxBand& band, const QJsonObject& o, const QString& where);
    void checkDataSet(const QString& name, const QString& where) const;

    QString m_origin;
    QString m_font = QStringLiteral("Arial");
    QSet<QString> m_dataSets;
    QSet<QString> m_names;
};

void Reader::allowOnly(const QJsonObject& o, const QString& where, std::initializer_list<const char*> keys) const
{
    for (auto it = o.begin(); it != o.end(); ++it) {
        bool known = false;
        for (const char* k : keys)
            known = known || it.key() == QLatin1String(k);
        if (!known)
            fail(where, QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
}

double Reader::number(const QJsonObject& o, const char* key, const QString& where,
                      std::optional<double> byDefault) const
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() && byDefault)
        return *byDefault;
    if (!v.isDouble() || v.toDouble() < 0)
        fail(where, QStringLiteral("\"%1\" must be a number of at least 0").arg(QLatin1String(key)));
    return v.toDouble();
}

QString Reader::text(const QJsonObject& o, const char* key, const QString& where,
                     std::optional<QString> byDefault) const
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() && byDefault)
        return *byDefault;
    if (!v.isString())
        fail(where, QStringLiteral("\"%1\" must be a text").arg(QLatin1String(key)));
    return v.toString();
}

void Reader::checkDataSet(const QString& name, const QString& where) const
{
    if (!m_dataSets.contains(name.toLower()))
        fail(where, QStringLiteral("the data set \"%1\" is not declared").arg(name));
}

std::unique_ptr<TfrxReport> Reader::read(const QJsonObject& root)
{
    allowOnly(root, QStringLiteral("top"), {"name", "orientation", "margins", "font", "dataSets", "bands"});
    auto report = std::make_unique<TfrxReport>(text(root, "name", QStringLiteral("top"), std::nullopt));
    const QString orientation = text(root, "orientation", QStringLiteral("top"), QStringLiteral("portrait"));
    if (orientation == u"landscape")
        report->page().setOrientation(QPageLayout::Landscape);
    else if (orientation != u"portrait")
        fail(QStringLiteral("top"),
             QStringLiteral("orientation \"%1\" is neither portrait nor landscape").arg(orientation));
    const double margin = ReportUnits::fromMm(number(root, "margins", QStringLiteral("top"), 10.0));
    report->page().setMargins(QMarginsF(margin, margin, margin, margin));
    m_font = text(root, "font", QStringLiteral("top"), QStringLiteral("Arial"));
    for (const QJsonValue v : root.value(QLatin1String("dataSets")).toArray()) {
        if (!v.isString() || v.toString().isEmpty())
            fail(QStringLiteral("dataSets"), QStringLiteral("a data set name must be a text"));
        report->addDataSet(v.toString());
        m_dataSets.insert(v.toString().toLower());
    }
    const QJsonArray bands = root.value(QLatin1String("bands")).toArray();
    for (int i = 0; i < bands.size(); ++i) {
        if (!bands.at(i).isObject())
            fail(QStringLiteral("band %1").arg(i + 1), QStringLiteral("not an object"));
        readBand(*report, bands.at(i).toObject(), i);
    }
    return report;
}

void Reader::readBand(TfrxReport& report, const QJsonObject& o, int index)
{
    QString where = QStringLiteral("band %1").arg(index + 1);
    allowOnly(o, where, {"kind", "name", "height", "dataSet", "stretched", "memos"});
    static const QList<std::pair<QString, TfrxBand::Kind>> kinds{
        {QStringLiteral("ReportTitle"), TfrxBand::Kind::ReportTitle},
        {QStringLiteral("PageHeader"), TfrxBand::Kind::PageHeader},
        {QStringLiteral("Header"), TfrxBand::Kind::Header},
        {QStringLiteral("MasterData"), TfrxBand::Kind::MasterData},
        {QStringLiteral("Footer"), TfrxBand::Kind::Footer},
        {QStringLiteral("PageFooter"), TfrxBand::Kind::PageFooter}};
    const QString kindText = text(o, "kind", where, std::nullopt);
    std::optional<TfrxBand::Kind> kind;
    for (const auto& [name, k] : kinds) {
        if (name == kindText)
            kind = k;
    }
    if (!kind)
        fail(where, QStringLiteral("unknown band kind \"%1\"").arg(kindText));
    const QString name = text(o, "name", where, where);
    where = QStringLiteral("band %1").arg(name);
    TfrxBand& band = report.page().addBand(*kind, name);
    band.setHeight(ReportUnits::fromMm(number(o, "height", where, std::nullopt)));
    band.setStretched(o.value(QLatin1String("stretched")).toBool(false));
    if (*kind == TfrxBand::Kind::MasterData) {
        band.setDataSet(text(o, "dataSet", where, std::nullopt));
        checkDataSet(band.dataSet(), where);
    } else if (o.contains(QLatin1String("dataSet"))) {
        fail(where, QStringLiteral("only a master band reads a data set"));
    }
    for (const QJsonValue v : o.value(QLatin1String("memos")).toArray())
        readMemo(band, v.toObject(), where);
}

void Reader::readMemo(TfrxBand& band, const QJsonObject& o, const QString& bandWhere)
{
    const QString name = text(o, "name", bandWhere + QStringLiteral(", a memo"), std::nullopt);
    const QString where = QStringLiteral("memo %1").arg(name);
    if (m_names.contains(name))
        fail(where, QStringLiteral("a second object of that name"));
    m_names.insert(name);
    allowOnly(o, where,
              {"name", "left", "top", "width", "height", "font", "fontHeight", "bold", "frame", "align", "vAlign",
               "hideZeros", "stretch", "dataSet", "dataField", "format", "text"});
    TfrxMemoView& memo = band.addMemo(name);
    memo.setGeometry(QRectF(ReportUnits::fromMm(number(o, "left", where, std::nullopt)),
                            ReportUnits::fromMm(number(o, "top", where, std::nullopt)),
                            ReportUnits::fromMm(number(o, "width", where, std::nullopt)),
                            ReportUnits::fromMm(number(o, "height", where, 5.0))));
    MemoStyle& s = memo.style();
    s.fontName = text(o, "font", where, m_font);
    s.fontHeight = static_cast<int>(number(o, "fontHeight", where, 13.0));
    if (s.fontHeight < 1)
        fail(where, QStringLiteral("a font height of at least 1 pixel"));
    s.bold = o.value(QLatin1String("bold")).toBool(false);

    const QString frame = text(o, "frame", where, QString());
    if (frame == u"all") {
        s.frames = MemoStyle::AllSides;
    } else {
        for (const QString& side : frame.split(u',', Qt::SkipEmptyParts)) {
            const QString t = side.trimmed();
            if (t == u"left")
                s.frames |= MemoStyle::Left;
            else if (t == u"top")
                s.frames |= MemoStyle::Top;
            else if (t == u"right")
                s.frames |= MemoStyle::Right;
            else if (t == u"bottom")
                s.frames |= MemoStyle::Bottom;
            else
                fail(where, QStringLiteral("unknown frame side \"%1\"").arg(t));
        }
    }
    const QString align = text(o, "align", where, QStringLiteral("left"));
    if (align == u"center")
        s.hAlign = MemoStyle::HAlign::Center;
    else if (align == u"right")
        s.hAlign = MemoStyle::HAlign::Right;
    else if (align != u"left")
        fail(where, QStringLiteral("unknown alignment \"%1\"").arg(align));
    const QString vAlign = text(o, "vAlign", where, QStringLiteral("top"));
    if (vAlign == u"center")
        s.vAlign = MemoStyle::VAlign::Center;
    else if (vAlign != u"top")
        fail(where, QStringLiteral("unknown vertical alignment \"%1\"").arg(vAlign));

    memo.setHideZeros(o.value(QLatin1String("hideZeros")).toBool(false));
    const QString stretch = text(o, "stretch", where, QStringLiteral("none"));
    if (stretch == u"maxHeight")
        memo.setStretch(TfrxMemoView::Stretch::MaxHeight);
    else if (stretch == u"actualHeight")
        memo.setStretch(TfrxMemoView::Stretch::ActualHeight);
    else if (stretch != u"none")
        fail(where, QStringLiteral("unknown stretch \"%1\"").arg(stretch));

    if (o.contains(QLatin1String("dataSet")) || o.contains(QLatin1String("dataField"))) {
        const QString ds = text(o, "dataSet", where, std::nullopt);
        checkDataSet(ds, where);
        memo.setDataField(ds, text(o, "dataField", where, std::nullopt));
    }
    if (o.contains(QLatin1String("format"))) {
        const QJsonObject f = o.value(QLatin1String("format")).toObject();
        allowOnly(f, where + QStringLiteral(", format"), {"kind", "pattern"});
        const QString kind = text(f, "kind", where, QStringLiteral("text"));
        if (kind == u"dateTime")
            memo.setDisplayFormat({DisplayFormat::Kind::DateTime, text(f, "pattern", where, QString())});
        else if (kind != u"text")
            fail(where, QStringLiteral("unknown display format \"%1\"").arg(kind));
    }
    memo.setExpressionText(text(o, "text", where, QString()));
    for (const TextSegment& seg : memo.text().segments()) {
        if (seg.kind == TextSegment::Kind::Field)
            checkDataSet(seg.dataSet, where);
    }
}

} // namespace

std::unique_ptr<TfrxReport> fromJson(const QByteArray& json, const QString& origin)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw ReportError(QStringLiteral("Report template %1: %2 at character %3")
                              .arg(origin, error.errorString())
                              .arg(error.offset));
    if (!doc.isObject())
        throw ReportError(QStringLiteral("Report template %1: not a JSON object").arg(origin));
    return Reader(origin).read(doc.object());
}

std::unique_ptr<TfrxReport> fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Report template %1: %2").arg(path, file.errorString()));
    return fromJson(file.readAll(), path);
}

} // namespace TemplateLoader
