#include "PlaceLabelCode.h"

#include "Messages.h"
#include "SearchPattern.h"

#include "data/Columns.h"
#include "data/Connection.h"
#include "data/Select.h"
#include "data/SqlDialect.h"

namespace {

// A place's code is the prefix and a key of several digits, typed into the
// entry box of 16 characters and into code lists separated by commas.
constexpr int kLongestPrefix = 10;

} // namespace

QString placeLabelCodeRefusal(const QString& code, const QString& before, const QString& prefix, const Messages& texts)
{
    if (prefix.isEmpty() || !code.startsWith(prefix, Qt::CaseInsensitive))
        return {};
    if (!before.isEmpty() && code.compare(before, Qt::CaseInsensitive) == 0)
        return {};
    return texts.rsCodeIsPlaceLabel.arg(code, prefix);
}

PlaceLabelPrefixUse codesBeginningWith(Connection& db, const QString& prefix, int firstCount)
{
    PlaceLabelPrefixUse use;
    const std::pair<QString, QString> registers[] = {{col::Tools::Table, col::Tools::ID_Tool},
                                                     {col::Users::Table, col::Users::ID_User}};
    for (const auto& [table, column] : registers) {
        Select select(table);
        select.columns({column})
            .where(db.dialect().caselessLike(column), {startsWithPattern(prefix)})
            .orderBy(col::Key);
        use.count += db.count(select);
        if (use.first.size() >= firstCount)
            continue;
        Statement rows = db.run(select.limit(firstCount - static_cast<int>(use.first.size())));
        while (rows->next())
            use.first << rows->value(0).toString().trimmed();
    }
    return use;
}

QString placeLabelPrefixRefusal(Connection& db, const QString& prefix, const Messages& texts)
{
    const QString p = prefix.trimmed();
    if (p.isEmpty())
        return texts.rsPlacePrefixEmpty;
    if (p.size() > kLongestPrefix || p.contains(u',') || p.contains(u' ') || p.contains(u'\t'))
        return texts.rsPlacePrefixUnfit.arg(p).arg(kLongestPrefix);
    const PlaceLabelPrefixUse use = codesBeginningWith(db, p);
    if (use.count > 0)
        return texts.rsPlacePrefixAlsoUsed.arg(p, prefixUseText(use));
    return {};
}

QString prefixUseText(const PlaceLabelPrefixUse& use)
{
    QString text = use.first.join(QStringLiteral(", "));
    if (use.count > use.first.size())
        text += QStringLiteral(", ...");
    return text;
}
