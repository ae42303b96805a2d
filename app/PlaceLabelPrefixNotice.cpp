#include "PlaceLabelPrefixNotice.h"

#include "core/Messages.h"
#include "core/PlaceLabelCode.h"
#include "core/Session.h"
#include "core/Settings.h"
#include "platform/Dialogs.h"

#include <QDir>

void noticePlaceLabelPrefixInUse(Session& session, Dialogs& dialogs, QWidget* parent)
{
    if (!session.isAdministrator())
        return;
    const Messages& t = session.texts();
    Settings& settings = session.settings();
    const QString prefix = settings.placeLabelPrefix();
    const PlaceLabelPrefixUse use = codesBeginningWith(session.connection(), prefix);
    if (use.count == 0)
        return;
    if (!dialogs.offer(parent, t.rsPlacePrefixInUse.arg(prefix).arg(use.count).arg(prefixUseText(use)),
                       t.rsChoosePlacePrefix))
        return;
    // Asked again until a prefix fits or the administrator gives up.
    QString typed = prefix;
    for (;;) {
        const auto answer = dialogs.input(parent, t.rsPlacePrefixTitle, t.rsNewPlacePrefix.arg(prefix), typed);
        if (!answer)
            return;
        typed = answer->trimmed();
        const QString refusal = placeLabelPrefixRefusal(session.connection(), typed, t);
        if (refusal.isEmpty())
            break;
        dialogs.message(parent, refusal);
    }
    if (!settings.setPlaceLabelPrefix(typed) || settings.placeLabelPrefix() != typed) {
        dialogs.error(parent, t.rsPlacePrefixNotSaved.arg(QDir::toNativeSeparators(session.paths().ini), prefix));
        return;
    }
    dialogs.message(parent, t.rsPlacePrefixChanged.arg(typed, prefix));
}
