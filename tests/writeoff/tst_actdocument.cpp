#include "ActFolder.h"
#include "DocxFiles.h"
#include "writeoff/ActDocument.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(FileWriteError::Cause)

using docx::Parts;

namespace {

const QString Placeholder = QStringLiteral("#SUMM#");

// A table whose rows have the given numbers of empty cells.
QString tableXml(const QList<int>& cellsPerRow)
{
    QString xml = QStringLiteral("<w:tbl><w:tblPr/>");
    for (int cells : cellsPerRow) {
        xml += QStringLiteral("<w:tr>");
        for (int c = 0; c < cells; ++c)
            xml += QStringLiteral("<w:tc><w:p/></w:tc>");
        xml += QStringLiteral("</w:tr>");
    }
    return xml + QStringLiteral("</w:tbl>");
}

QString plainTable()
{
    return tableXml({5, 5});
}

QString paragraph(const QString& text)
{
    return QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">%1</w:t></w:r></w:p>").arg(text);
}

QList<ActTool> tools(int count)
{
    QList<ActTool> list;
    for (int i = 1; i <= count; ++i)
        list.append({QStringLiteral("Дрель ударная %1").arg(i), 100.0 * i + 0.25, QStringLiteral("ИНВ-%1").arg(i)});
    return list;
}

QStringList toolRow(int number, const ActTool& tool, const QString& price)
{
    return {QString::number(number), tool.name, QStringLiteral("1"), price, tool.inventory};
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The paragraph outside tables that holds the given text, or an empty one.
QString paragraphWith(const pugi::xml_document& doc, const QString& part)
{
    for (const QString& text : docx::paragraphTexts(doc)) {
        if (text.contains(part))
            return text;
    }
    return {};
}

} // namespace

class TestActDocument : public QObject
{
    Q_OBJECT

private slots:
    void choosesTemplateByLanguageAndNamesDocumentByAct();
    void fillsOneRowPerTool_data();
    void fillsOneRowPerTool();
    void showsPricesAsStoredAndRoundedTotal_data();
    void showsPricesAsStoredAndRoundedTotal();
    void appendedRowsKeepFormatting_data();
    void appendedRowsKeepFormatting();
    void replacesPlaceholderSplitOverRuns_data();
    void replacesPlaceholderSplitOverRuns();
    void totalTakesFormattingOfRunWherePlaceholderStarts();
    void fillsActNumberAndDate_data();
    void fillsActNumberAndDate();
    void replacesPlaceholderInHeadersAndFooters();
    void keepsToolTextsAsStored();
    void writingAgainReplacesDocument();
    void reportsTemplateFaults_data();
    void reportsTemplateFaults();
    void failureKeepsEarlierDocument();
    void reportsUnwritableTarget_data();
    void reportsUnwritableTarget();
};

void TestActDocument::choosesTemplateByLanguageAndNamesDocumentByAct()
{
    const ActDocument russian(QStringLiteral("/opt/desk/"), 0);
    QCOMPARE(russian.templatePath(), QStringLiteral("/opt/desk/Data/Templates/AKT_RU.docx"));
    QCOMPARE(russian.documentPath(12), QStringLiteral("/opt/desk/WriteOff/\u2116_12_.docx"));
    QCOMPARE(ActDocument(QStringLiteral("/opt/desk"), 1).templatePath(),
             QStringLiteral("/opt/desk/Data/Templates/AKT_EN.docx"));
    QVERIFY(ActDocument(QStringLiteral("/opt/desk/"), 2).templatePath().isEmpty());
    QVERIFY(ActDocument(QStringLiteral("/opt/desk/"), -1).templatePath().isEmpty());
}

void TestActDocument::fillsOneRowPerTool_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("no tools") << 0;
    QTest::newRow("one tool, no row added") << 1;
    QTest::newRow("three tools, two rows added") << 3;
    QTest::newRow("many tools") << 60;
}

void TestActDocument::fillsOneRowPerTool()
{
    QFETCH(int, count);
    ActFolder folder;
    const QList<ActTool> list = tools(count);
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(7, list);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    QCOMPARE(result.file, folder.document(7));

    const QMap<QString, QByteArray> before = docx::readZip(folder.russianTemplate());
    const QMap<QString, QByteArray> after = docx::readZip(result.file);
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key() != u"word/document.xml")
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }

    pugi::xml_document original, written;
    QVERIFY(docx::parse(before.value(QStringLiteral("word/document.xml")), original));
    QVERIFY(docx::parse(after.value(QStringLiteral("word/document.xml")), written));
    const QList<QStringList> rows = docx::tableTexts(written);
    QCOMPARE(rows.size(), 1 + std::max(1, count));
    QCOMPARE(rows.first(), docx::tableTexts(original).first());
    if (count == 0) {
        QCOMPARE(docx::xml(docx::tableRows(written).at(1)), docx::xml(docx::tableRows(original).at(1)));
    }
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        QCOMPARE(rows.at(i + 1), toolRow(i + 1, list.at(i), QString::number(100 * (i + 1)) + QStringLiteral(",25")));
        total += 100 * (i + 1);
    }
    QCOMPARE(paragraphWith(written, QStringLiteral("Итого")), QStringLiteral("Итого на сумму: %1").arg(total));
    QVERIFY(!after.value(QStringLiteral("word/document.xml")).contains(Placeholder.toUtf8()));
}

void TestActDocument::showsPricesAsStoredAndRoundedTotal_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("prices");
    QTest::addColumn<QString>("totalLine");
    QTest::newRow("russian") << 0 << QStringList{QStringLiteral("10,5"), QStringLiteral("20,5"), QString()}
                             << QStringLiteral("Итого на сумму: 30");
    QTest::newRow("english") << 1 << QStringList{QStringLiteral("10.5"), QStringLiteral("20.5"), QString()}
                             << QStringLiteral("Total amount: 30");
}

void TestActDocument::showsPricesAsStoredAndRoundedTotal()
{
    QFETCH(int, language);
    QFETCH(QStringList, prices);
    QFETCH(QString, totalLine);
    ActFolder folder;
    const QList<ActTool> list{{QStringLiteral("Ключ"), 10.5, QStringLiteral("1")},
                              {QStringLiteral("Отвёртка"), 20.5, QStringLiteral("2")},
                              {QStringLiteral("Метчик"), std::nullopt, QStringLiteral("3")}};
    const ActDocumentResult result = ActDocument(folder.folder(), language).create(3, list);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    const QList<QStringList> rows = docx::tableTexts(doc);
    QCOMPARE(rows.size(), 4);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rows.at(i + 1).at(3), prices.at(i));
    QCOMPARE(paragraphWith(doc, totalLine.left(5)), totalLine);
}

void TestActDocument::appendedRowsKeepFormatting_data()
{
    QTest::addColumn<QString>("body");
    // The delivered template: an empty row whose paragraph marks carry the size.
    QTest::newRow("delivered template") << QString();
    // A row with its own properties and formatted sample text in each cell.
    const QString cell = QStringLiteral(
        "<w:tc><w:tcPr><w:tcW w:w=\"1200\" w:type=\"dxa\"/><w:shd w:val=\"clear\" w:fill=\"FFF2CC\"/></w:tcPr>"
        "<w:p w14:paraId=\"1A2B3C4D\"><w:pPr><w:jc w:val=\"right\"/></w:pPr>"
        "<w:r><w:rPr><w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\"/><w:b/><w:i/><w:color w:val=\"C00000\"/></w:rPr>"
        "<w:t>образец</w:t></w:r><w:r><w:t>хвост</w:t></w:r></w:p><w:p><w:r><w:t>второй "
        "абзац</w:t></w:r></w:p></w:tc>");
    QTest::newRow("formatted sample row")
        << QStringLiteral(
               "<w:tbl><w:tblPr/><w:tr><w:tc><w:p/></w:tc></w:tr>"
               "<w:tr w14:paraId=\"0F0F0F0F\"><w:trPr><w:cantSplit/><w:trHeight w:val=\"567\"/></w:trPr>%1</w:tr>"
               "</w:tbl>")
               .arg(cell.repeated(6));
}

void TestActDocument::appendedRowsKeepFormatting()
{
    QFETCH(QString, body);
    ActFolder folder;
    if (!body.isEmpty())
        QVERIFY(docx::writeTemplate(folder.russianTemplate(), body));
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(1, tools(3));
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    const QList<pugi::xml_node> rows = docx::tableRows(doc);
    QCOMPARE(rows.size(), 4);

    const pugi::xml_node first = rows.at(1);
    for (int r = 2; r < rows.size(); ++r) {
        const pugi::xml_node row = rows.at(r);
        QCOMPARE(docx::xml(row.child("w:trPr")), docx::xml(first.child("w:trPr")));
        QVERIFY(!row.attribute("w14:paraId") || QString::fromUtf8(row.attribute("w14:paraId").value()) != u"0F0F0F0F");
        pugi::xml_node cell = row.child("w:tc");
        pugi::xml_node firstCell = first.child("w:tc");
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(docx::xml(cell.child("w:tcPr")), docx::xml(firstCell.child("w:tcPr")));
            const pugi::xml_node p = cell.child("w:p");
            QCOMPARE(docx::xml(p.child("w:pPr")), docx::xml(firstCell.child("w:p").child("w:pPr")));
            QVERIFY(!p.next_sibling("w:p")); // the cell is one paragraph, as after Word's Range.Text
            // The text takes the first run's formatting, or the paragraph mark's.
            const pugi::xml_node templateRun = firstCell.child("w:p").child("w:r").child("w:rPr");
            const pugi::xml_node sample = templateRun ? templateRun
                                                      : firstCell.child("w:p").child("w:pPr").child("w:rPr");
            QVERIFY(sample);
            QCOMPARE(docx::xml(p.child("w:r").child("w:rPr")).replace("w:rPr", "x"),
                     docx::xml(sample).replace("w:rPr", "x"));
            cell = cell.next_sibling("w:tc");
            firstCell = firstCell.next_sibling("w:tc");
        }
        // A sixth cell gets no tool text: row 2 keeps the template's, added rows are empty.
        if (cell)
            QCOMPARE(docx::text(cell), QString());
    }
    if (!body.isEmpty())
        QCOMPARE(docx::tableTexts(doc).at(1).at(5), QStringLiteral("образецхвоствторой абзац"));
}

void TestActDocument::replacesPlaceholderSplitOverRuns_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("text");
    auto run = [](const QString& text, const QString& props = {}) {
        return QStringLiteral("<w:r>%1<w:t xml:space=\"preserve\">%2</w:t></w:r>").arg(props, text);
    };
    QTest::newRow("one run") << run(QStringLiteral("Итого: #SUMM# руб.")) << QStringLiteral("Итого: 30 руб.");
    QTest::newRow("three runs") << run(QStringLiteral("Итого: "))
            + run(QStringLiteral("#SU"), QStringLiteral("<w:rPr><w:b/></w:rPr>"))
            + run(QStringLiteral("MM"), QStringLiteral("<w:rPr><w:i/></w:rPr>")) + run(QStringLiteral("# руб."))
                                << QStringLiteral("Итого: 30 руб.");
    QString letters;
    for (const QChar c : Placeholder)
        letters += run(c);
    QTest::newRow("letter by letter") << letters << QStringLiteral("30");
    QTest::newRow("proofing and bookmark marks between")
        << QStringLiteral("<w:proofErr w:type=\"spellStart\"/>") + run(QStringLiteral("#SUMM"))
            + QStringLiteral("<w:bookmarkStart w:id=\"0\" w:name=\"sum\"/><w:proofErr w:type=\"spellEnd\"/>")
            + run(QStringLiteral("#")) + QStringLiteral("<w:bookmarkEnd w:id=\"0\"/>")
        << QStringLiteral("30");
    QTest::newRow("inside a hyperlink") << QStringLiteral("<w:hyperlink w:anchor=\"x\">") + run(QStringLiteral("#SU"))
            + QStringLiteral("</w:hyperlink>")
            + run(QStringLiteral("MM#")) << QStringLiteral("30");
    QTest::newRow("twice") << run(QStringLiteral("#SUMM# и #SU")) + run(QStringLiteral("MM#"))
                           << QStringLiteral("30 и 30");
    QTest::newRow("deleted text between") << run(QStringLiteral("#SU"))
            + QStringLiteral("<w:del w:id=\"1\" w:author=\"a\"><w:r><w:delText>xx</w:delText></w:r></w:del>")
            + run(QStringLiteral("MM#")) << QStringLiteral("30");
    QTest::newRow("a tab is not part of it")
        << QStringLiteral("<w:r><w:t>#SU</w:t><w:tab/><w:t>MM#</w:t></w:r>") << QStringLiteral("#SUMM#");
    QTest::newRow("placeholder-like text stays")
        << run(QStringLiteral("#SUM# #summ#")) << QStringLiteral("#SUM# #summ#");
}

void TestActDocument::replacesPlaceholderSplitOverRuns()
{
    QFETCH(QString, content);
    QFETCH(QString, text);
    ActFolder folder;
    QVERIFY(docx::writeTemplate(folder.russianTemplate(), plainTable() + QStringLiteral("<w:p>%1</w:p>").arg(content)));
    const QList<ActTool> list{{QStringLiteral("a"), 10.5, {}}, {QStringLiteral("b"), 20.5, {}}};
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(1, list);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    QCOMPARE(docx::paragraphTexts(doc), QStringList{text});
}

void TestActDocument::totalTakesFormattingOfRunWherePlaceholderStarts()
{
    ActFolder folder;
    QVERIFY(docx::writeTemplate(
        folder.russianTemplate(),
        plainTable()
            + QStringLiteral(
                "<w:p><w:r><w:rPr><w:u w:val=\"single\"/></w:rPr><w:t xml:space=\"preserve\">Итого: </w:t></w:r>"
                "<w:r><w:rPr><w:b/></w:rPr><w:t>#SU</w:t></w:r>"
                "<w:r><w:rPr><w:i/></w:rPr><w:t>MM# руб.</w:t></w:r></w:p>")));
    const ActDocumentResult result =
        ActDocument(folder.folder(), 0).create(1, {{QStringLiteral("a"), 1234.0, QStringLiteral("1")}});
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    const pugi::xml_node p = doc.select_node("/w:document/w:body/w:p").node();
    QStringList runs;
    for (const pugi::xml_node& r : p.children("w:r")) {
        const pugi::xml_node props = r.child("w:rPr").first_child();
        runs.append(QString::fromUtf8(props.name()) + u'|' + docx::text(r));
    }
    QCOMPARE(runs,
             (QStringList{QStringLiteral("w:u|Итого: "), QStringLiteral("w:b|1234"), QStringLiteral("w:i| руб.")}));
}

void TestActDocument::fillsActNumberAndDate_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("body"); // empty: the delivered template
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("heading"); // the paragraph that starts with "№"
    const QDate day(2026, 12, 10);
    QTest::newRow("delivered russian") << 0 << QString() << day << QStringLiteral("№ 7 от 10.12.2026");
    QTest::newRow("delivered english") << 1 << QString() << day << QStringLiteral("№ 7 dated 12/10/2026");
    QTest::newRow("no date yet") << 0 << QString() << QDate() << QStringLiteral("№ 7 от ");
    QTest::newRow("split over runs, with the total")
        << 0
        << QStringLiteral("<w:p><w:r><w:t xml:space=\"preserve\">№ #NUM</w:t></w:r><w:r><w:rPr><w:b/></w:rPr>"
                          "<w:t xml:space=\"preserve\">BER#, #DA</w:t></w:r><w:r><w:t>TE#: #SUMM#</w:t></w:r></w:p>")
        << day << QStringLiteral("№ 7, 10.12.2026: 5");
    QTest::newRow("template without them")
        << 0 << paragraph(QStringLiteral("№ ____ от «__» ____")) << day << QStringLiteral("№ ____ от «__» ____");
}

void TestActDocument::fillsActNumberAndDate()
{
    QFETCH(int, language);
    QFETCH(QString, body);
    QFETCH(QDate, date);
    QFETCH(QString, heading);
    ActFolder folder;
    const QString templatePath = folder.templates() + (language == 0 ? "AKT_RU.docx" : "AKT_EN.docx");
    if (!body.isEmpty())
        QVERIFY(docx::writeTemplate(templatePath, plainTable() + body));
    const ActDocumentResult result =
        ActDocument(folder.folder(), language).create(7, {{QStringLiteral("a"), 5.0, {}}}, date);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    QCOMPARE(paragraphWith(doc, QStringLiteral("№ ")), heading);
    const QString all = docx::paragraphTexts(doc).join(u'\n');
    QVERIFY2(!all.contains("#NUMBER#") && !all.contains("#DATE#"), qPrintable(all));
}

void TestActDocument::replacesPlaceholderInHeadersAndFooters()
{
    ActFolder folder;
    const QByteArray quietFooter = docx::storyXml("w:ftr", paragraph(QStringLiteral("стр.")));
    const Parts extra{
        {QStringLiteral("word/header1.xml"),
         docx::storyXml("w:hdr",
                        QStringLiteral("<w:p><w:r><w:t>Сумма #SU</w:t></w:r><w:r><w:t>MM#</w:t></w:r></w:p>"))},
        {QStringLiteral("word/footer2.xml"), docx::storyXml("w:ftr", paragraph(QStringLiteral("Итого #SUMM#")))},
        {QStringLiteral("word/footer3.xml"), quietFooter},
    };
    QVERIFY(docx::writeTemplate(folder.russianTemplate(), plainTable() + paragraph(Placeholder), extra));
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(1, {{QStringLiteral("a"), 7.0, {}}});
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    const QMap<QString, QByteArray> parts = docx::readZip(result.file);
    pugi::xml_document header, footer;
    QVERIFY(docx::parse(parts.value(QStringLiteral("word/header1.xml")), header));
    QVERIFY(docx::parse(parts.value(QStringLiteral("word/footer2.xml")), footer));
    QCOMPARE(docx::text(header), QStringLiteral("Сумма 7"));
    QCOMPARE(docx::text(footer), QStringLiteral("Итого 7"));
    QCOMPARE(parts.value(QStringLiteral("word/footer3.xml")), quietFooter);
}

void TestActDocument::keepsToolTextsAsStored()
{
    ActFolder folder;
    const QList<ActTool> list{
        {QStringLiteral("<b>Tom & \"Jerry\"</b>"), 1.0, QStringLiteral("A&B")},
        {QStringLiteral("  Ключ 12  "), std::nullopt, QString()},
        {Placeholder, 2.0, Placeholder}, // a tool's text is not the template's placeholder
        {QStringLiteral("Бит\x01ый\x1F"), 3.0, QStringLiteral("7")},
    };
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(5, list);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    const QList<QStringList> rows = docx::tableTexts(doc);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(1), toolRow(1, list.at(0), QStringLiteral("1")));
    QCOMPARE(rows.at(2), toolRow(2, list.at(1), QString()));
    QCOMPARE(rows.at(3), toolRow(3, list.at(2), QStringLiteral("2")));
    // Characters XML cannot hold are left out rather than breaking the file.
    QCOMPARE(rows.at(4).at(1), QStringLiteral("Битый"));
    QCOMPARE(paragraphWith(doc, QStringLiteral("Итого")), QStringLiteral("Итого на сумму: 6"));
}

void TestActDocument::writingAgainReplacesDocument()
{
    ActFolder folder;
    const ActDocument act(folder.folder(), 0);
    QVERIFY(act.create(7, tools(3)).ok());
    const QList<ActTool> again{{QStringLiteral("Пила"), 5.0, QStringLiteral("П-1")}};
    const ActDocumentResult result = act.create(7, again);
    QVERIFY2(result.ok(), qPrintable(result.message(false)));
    pugi::xml_document doc;
    QVERIFY(ActFolder::readMain(result.file, doc));
    const QList<QStringList> rows = docx::tableTexts(doc);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1), toolRow(1, again.first(), QStringLiteral("5")));
    QCOMPARE(paragraphWith(doc, QStringLiteral("Итого")), QStringLiteral("Итого на сумму: 5"));
    QCOMPARE(folder.writeOffFiles(), QStringList{QStringLiteral("\u2116_7_.docx")});
}

using Setup = std::function<void(const ActFolder&)>;

void TestActDocument::reportsTemplateFaults_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("toolCount");
    QTest::addColumn<ActDocumentError>("error");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("russian");
    QTest::addColumn<QString>("english");

    const QString notFoundRu = QStringLiteral("Шаблон АКТ-а списания не найден");
    const QString notFoundEn = QStringLiteral("Write-off ACT template not found");
    const QString notDocxRu = QStringLiteral("не является документом Word");
    const QString notDocxEn = QStringLiteral("is not a Word document");
    auto body = [](const QString& xml) {
        return Setup([xml](const ActFolder& f) { QVERIFY(docx::writeTemplate(f.russianTemplate(), xml)); });
    };

    QTest::newRow("missing") << Setup([](const ActFolder& f) { QVERIFY(QFile::remove(f.russianTemplate())); }) << 0 << 1
                             << ActDocumentError::TemplateNotFound << 0 << notFoundRu << notFoundEn;
    QTest::newRow("a folder of that name") << Setup([](const ActFolder& f) {
        QVERIFY(QFile::remove(f.russianTemplate()));
        QVERIFY(QDir().mkpath(f.russianTemplate()));
    }) << 0 << 1 << ActDocumentError::TemplateNotFound
                                           << 0 << notFoundRu << notFoundEn;
    QTest::newRow("English with only the Russian one")
        << Setup([](const ActFolder& f) { QVERIFY(QFile::remove(f.templates() + QStringLiteral("AKT_EN.docx"))); }) << 1
        << 1 << ActDocumentError::TemplateNotFound << 0 << notFoundRu << notFoundEn;
    QTest::newRow("no language") << Setup([](const ActFolder&) {}) << 5 << 1 << ActDocumentError::TemplateNotFound << 0
                                 << notFoundRu << notFoundEn;
    QTest::newRow("not a zip") << Setup([](const ActFolder& f) {
        QFile file(f.russianTemplate());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\\rtf1 an old RTF act}");
    }) << 0 << 1 << ActDocumentError::NotDocx
                               << 0 << QStringLiteral("Шаблон АКТ-а списания не является документом Word") << notDocxEn;
    QTest::newRow("cut short") << Setup([](const ActFolder& f) {
        const QByteArray whole = fileBytes(f.russianTemplate());
        QFile file(f.russianTemplate());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(whole.left(whole.size() / 2));
    }) << 0 << 1 << ActDocumentError::NotDocx
                               << 0 << notDocxRu << notDocxEn;
    QTest::newRow("no main text") << Setup([](const ActFolder& f) {
        QVERIFY(docx::writeZip(f.russianTemplate(), {{QStringLiteral("word/other.xml"), docx::documentXml({})}}));
    }) << 0 << 1 << ActDocumentError::NoMainText
                                  << 0 << QStringLiteral("нет основного текста (word/document.xml)")
                                  << QStringLiteral("has no main text (word/document.xml)");
    QTest::newRow("main text not XML") << body(plainTable() + QStringLiteral("<w:p><w:r>")) << 0 << 1
                                       << ActDocumentError::BadXml << 0 << QStringLiteral("word/document.xml: ")
                                       << QStringLiteral("its XML cannot be read");
    QTest::newRow("footer not XML") << Setup([](const ActFolder& f) {
        QVERIFY(docx::writeTemplate(f.russianTemplate(), plainTable(),
                                    {{QStringLiteral("word/footer1.xml"), QByteArray("<w:ftr><w:p>")}}));
    }) << 0 << 1 << ActDocumentError::BadXml
                                    << 0 << QStringLiteral("word/footer1.xml: ")
                                    << QStringLiteral("word/footer1.xml: ");
    QTest::newRow("no table") << body(paragraph(Placeholder)) << 0 << 1 << ActDocumentError::NoTable << 0
                              << QStringLiteral("нет таблицы") << QStringLiteral("has no table");
    QTest::newRow("only a table in a text box")
        << body(QStringLiteral("<w:p><w:r><w:pict><w:txbxContent>%1<w:p/></w:txbxContent></w:pict></w:r></w:p>")
                    .arg(plainTable()))
        << 0 << 1 << ActDocumentError::NoTable << 0 << QStringLiteral("нет таблицы") << QStringLiteral("has no table");
    QTest::newRow("a header row only") << body(tableXml({5})) << 0 << 1 << ActDocumentError::ShortRow << 2
                                       << QStringLiteral("В строке 2 первой таблицы")
                                       << QStringLiteral("Row 2 of the first table");
    QTest::newRow("row 2 of four cells") << body(tableXml({5, 4})) << 0 << 1 << ActDocumentError::ShortRow << 2
                                         << QStringLiteral("меньше пяти ячеек")
                                         << QStringLiteral("fewer than five cells");
    QTest::newRow("row 2 short, act without tools") << body(tableXml({5, 4})) << 0 << 0 << ActDocumentError::ShortRow
                                                    << 2 << QStringLiteral("строке 2") << QStringLiteral("Row 2");
    QTest::newRow("row 3 short for the second tool")
        << body(tableXml({5, 5, 3})) << 0 << 2 << ActDocumentError::ShortRow << 3 << QStringLiteral("строке 3")
        << QStringLiteral("Row 3");
    QTest::newRow("first table short, a later one fine")
        << body(tableXml({5, 2}) + paragraph({}) + tableXml({5, 5})) << 0 << 1 << ActDocumentError::ShortRow << 2
        << QStringLiteral("строке 2") << QStringLiteral("Row 2");
}

void TestActDocument::reportsTemplateFaults()
{
    QFETCH(Setup, setup);
    QFETCH(int, language);
    QFETCH(int, toolCount);
    QFETCH(ActDocumentError, error);
    QFETCH(int, row);
    QFETCH(QString, russian);
    QFETCH(QString, english);
    ActFolder folder;
    setup(folder);
    const ActDocument act(folder.folder(), language);
    const ActDocumentResult result = act.create(9, tools(toolCount));
    QCOMPARE(result.error, error);
    QVERIFY(!result.ok());
    QCOMPARE(result.row, row);
    QCOMPARE(result.file, act.templatePath());
    QVERIFY2(result.message(true).contains(russian), qPrintable(result.message(true)));
    QVERIFY2(result.message(false).contains(english), qPrintable(result.message(false)));
    if (!act.templatePath().isEmpty())
        QVERIFY(result.message(false).contains(QStringLiteral("Data/Templates/AKT_")));
    QVERIFY(!QFileInfo::exists(folder.writeOff()));
}

void TestActDocument::failureKeepsEarlierDocument()
{
    ActFolder folder;
    const ActDocument act(folder.folder(), 0);
    QVERIFY(act.create(7, tools(2)).ok());
    const QByteArray earlier = fileBytes(folder.document(7));
    QVERIFY(docx::writeTemplate(folder.russianTemplate(), paragraph(Placeholder)));
    QCOMPARE(act.create(7, tools(3)).error, ActDocumentError::NoTable);
    QCOMPARE(fileBytes(folder.document(7)), earlier);
    QCOMPARE(folder.writeOffFiles(), QStringList{QStringLiteral("\u2116_7_.docx")});
}

void TestActDocument::reportsUnwritableTarget_data()
{
    QTest::addColumn<bool>("writeOffIsFile");
    QTest::addColumn<FileWriteError::Cause>("cause");
    QTest::newRow("WriteOff is a file") << true << FileWriteError::Cause::NotAFolder;
    QTest::newRow("a folder holds the document's name") << false << FileWriteError::Cause::NotRegularFile;
}

void TestActDocument::reportsUnwritableTarget()
{
    QFETCH(bool, writeOffIsFile);
    QFETCH(FileWriteError::Cause, cause);
    ActFolder folder;
    QString blocked;
    if (writeOffIsFile) {
        QFile file(folder.writeOff());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
        blocked = folder.writeOff();
    } else {
        QVERIFY(QDir().mkpath(folder.document(4)));
        blocked = folder.document(4);
    }
    const ActDocumentResult result = ActDocument(folder.folder(), 0).create(4, tools(2));
    QCOMPARE(result.error, ActDocumentError::CannotWrite);
    QCOMPARE(result.writeCause, cause);
    QCOMPARE(result.file, blocked);
    QVERIFY(result.message(true).startsWith(QStringLiteral("Не удалось записать документ АКТ-а списания")));
    QVERIFY(result.message(false).contains(result.detail));
    if (writeOffIsFile) {
        QVERIFY2(!result.detail.isEmpty(), "the system's own reason");
        QCOMPARE(fileBytes(folder.writeOff()), QByteArray("not a folder"));
    } else {
        QCOMPARE(folder.writeOffFiles(), QStringList{QStringLiteral("\u2116_4_.docx")}); // no temporary left
        QVERIFY(QFileInfo(folder.document(4)).isDir());
    }
}

QTEST_GUILESS_MAIN(TestActDocument)
#include "tst_actdocument.moc"
