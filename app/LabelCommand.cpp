#include "LabelCommand.h"

#include "CommandSettings.h"
#include "CommandStatus.h"
#include "core/FailureText.h"
#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "data/DbError.h"
#include "data/FileWriteError.h"
#include "labels/LabelError.h"
#include "labels/LabelItems.h"
#include "labels/LabelLayouts.h"
#include "labels/LabelRun.h"

#include <QHash>
#include <stdexcept>

namespace {

using namespace command;

// More copies of one label than a store would want is a typing slip.
constexpr int kMostCopies = 1000;

struct LabelArguments {
    QString kind;
    QStringList codes;
    QString layout = LabelLayouts::defaultName();
    LabelSymbol symbol = LabelSymbol::Code128;
    int skip = 0;
    int copies = 1;
    QString file;
};

int count(const QString& option, const QString& text, int least, int most)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < least || value > most)
        throw BadArguments(QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
                               .arg(option)
                               .arg(least)
                               .arg(most)
                               .arg(text));
    return value;
}

LabelArguments parse(const QStringList& options)
{
    static const QStringList kinds = {QStringLiteral("tools"), QStringLiteral("recipients"), QStringLiteral("places")};
    static const QStringList known = {QStringLiteral("--codes"), QStringLiteral("--layout"), QStringLiteral("--symbol"),
                                      QStringLiteral("--skip"),  QStringLiteral("--copies"), QStringLiteral("--pdf")};
    LabelArguments a;
    a.kind = options.first();
    if (!kinds.contains(a.kind))
        throw BadArguments(QStringLiteral("unknown register: %1").arg(a.kind));
    QHash<QString, QString> values;
    for (int i = 1; i < options.size(); i += 2) {
        const QString& option = options.at(i);
        if (!known.contains(option))
            throw BadArguments(QStringLiteral("unknown option: %1").arg(option));
        if (i + 1 >= options.size() || options.at(i + 1).isEmpty())
            throw BadArguments(QStringLiteral("%1 needs a value").arg(option));
        if (values.contains(option))
            throw BadArguments(QStringLiteral("%1 given twice").arg(option));
        values.insert(option, options.at(i + 1));
    }
    if (!values.contains(QStringLiteral("--pdf")))
        throw BadArguments(QStringLiteral("give --pdf FILE"));
    a.file = values.value(QStringLiteral("--pdf"));
    if (values.contains(QStringLiteral("--codes"))) {
        for (const QString& code : values.value(QStringLiteral("--codes")).split(u',')) {
            if (!code.trimmed().isEmpty())
                a.codes << code.trimmed();
        }
        if (a.codes.isEmpty())
            throw BadArguments(QStringLiteral("--codes names no code"));
    }
    if (values.contains(QStringLiteral("--layout")))
        a.layout = values.value(QStringLiteral("--layout"));
    if (values.contains(QStringLiteral("--symbol"))) {
        const auto symbol = labelSymbolFromName(values.value(QStringLiteral("--symbol")));
        if (!symbol)
            throw BadArguments(QStringLiteral("unknown symbol: %1").arg(values.value(QStringLiteral("--symbol"))));
        a.symbol = *symbol;
    }
    if (values.contains(QStringLiteral("--skip")))
        a.skip = count(QStringLiteral("--skip"), values.value(QStringLiteral("--skip")), 0, 999);
    if (values.contains(QStringLiteral("--copies")))
        a.copies = count(QStringLiteral("--copies"), values.value(QStringLiteral("--copies")), 1, kMostCopies);
    return a;
}

int listLayouts(const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    Messages texts;
    setMessages(texts, Settings(paths.ini).language() == u"RU");
    try {
        out << texts.rsLabelLayoutsHeading << Qt::endl;
        for (const LabelLayout& l : LabelLayouts::all(paths.data, texts))
            out << l.name << '\t' << l.describe() << Qt::endl;
    } catch (const LabelError& e) {
        err << e.text() << Qt::endl;
        return kFailed;
    }
    return kDone;
}

} // namespace

int runLabelCommand(const QStringList& options, const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    if (options.isEmpty())
        return listLayouts(paths, out, err);
    LabelArguments arguments;
    try {
        arguments = parse(options);
    } catch (const BadArguments& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl << kLabelUsage << Qt::endl;
        return kBadArguments;
    }

    Messages texts;
    setMessages(texts, true);
    try {
        Session session(paths);
        if (!readCommandLanguage(session, texts, err))
            return kFailed;
        Settings& settings = session.settings();
        const QList<LabelLayout> layouts = LabelLayouts::all(session.paths().data, texts);
        const auto layout = LabelLayouts::find(layouts, arguments.layout);
        if (!layout) {
            QStringList names;
            for (const LabelLayout& l : layouts)
                names << l.name;
            throw LabelError(texts.rsLabelUnknownLayout.arg(arguments.layout, names.join(QStringLiteral(", "))));
        }
        if (arguments.skip >= layout->perPage()) {
            err << QStringLiteral("--skip must be less than the %1 labels of a page of %2")
                       .arg(layout->perPage())
                       .arg(layout->name)
                << Qt::endl
                << kLabelUsage << Qt::endl;
            return kBadArguments;
        }
        session.open({});
        Connection& db = session.connection();
        QList<LabelItem> items;
        if (arguments.kind == u"tools")
            items = LabelItems::tools(db, arguments.codes, texts);
        else if (arguments.kind == u"recipients")
            items = LabelItems::recipients(db, arguments.codes, texts);
        else
            items = LabelItems::places(db, settings.placeLabelPrefix(), arguments.codes, texts);
        LabelRequest request;
        request.layout = *layout;
        request.symbol = arguments.symbol;
        request.skip = arguments.skip;
        request.copies = arguments.copies;
        request.offset = QPointF(settings.labelOffsetRight(), settings.labelOffsetDown());
        const LabelRun run(items, request, texts);
        run.writePdf(arguments.file);
        out << texts.rsLabelsWritten.arg(arguments.file).arg(run.placements().size()).arg(run.pageCount()) << Qt::endl;
    } catch (const LabelError& e) {
        err << texts.rsLabelsNotWritten.arg(arguments.file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    } catch (const FileWriteError& e) {
        err << fileWriteFailureText(e, texts.rsLabelsNotWritten, arguments.file, texts) << Qt::endl;
        return kFailed;
    } catch (const DbError& e) {
        err << texts.rsLabelsNotWritten.arg(arguments.file) << Qt::endl << e.text() << Qt::endl;
        return kFailed;
    }
    return kDone;
}
