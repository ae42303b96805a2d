#include "PlaceLabelCode.h"

#include "Messages.h"

QString placeLabelCodeRefusal(const QString& code, const QString& before, const QString& prefix, const Messages& texts)
{
    if (prefix.isEmpty() || !code.startsWith(prefix, Qt::CaseInsensitive))
        return {};
    if (!before.isEmpty() && code.compare(before, Qt::CaseInsensitive) == 0)
        return {};
    return texts.rsCodeIsPlaceLabel.arg(code, prefix);
}
