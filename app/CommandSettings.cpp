#include "CommandSettings.h"

#include "core/Messages.h"
#include "core/Session.h"
#include "core/Settings.h"

std::optional<bool> readCommandLanguage(Session& session, Messages& texts, QTextStream& err)
{
    if (!session.settings().fileExists()) {
        err << kConfigNotFoundRu << QStringLiteral(": ") << session.paths().ini << Qt::endl;
        return std::nullopt;
    }
    const bool russian = session.settings().language() == u"RU";
    setMessages(texts, russian);
    return russian;
}
