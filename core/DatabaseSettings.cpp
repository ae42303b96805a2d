#include "DatabaseSettings.h"

#include "IniFile.h"
#include "data/DbError.h"

#include <QStringList>

namespace {

// setting: the line at fault as written ("Port=abc"), which the user's
// message quotes; what: the same in a sentence for logs and the command line.
[[noreturn]] void refuse(const QString& iniPath, const QString& setting, const QString& what)
{
    throw DbError(DbError::Cause::BadSetting, iniPath, QStringLiteral("[DATABASE] ") + what, setting);
}

} // namespace

ConnectionDescription DatabaseSettings::read(const QString& iniPath, const QString& databaseFile)
{
    const IniFile ini(iniPath);
    const QString section = QLatin1String(kSection);
    const QString engine = ini.read(section, QStringLiteral("Engine"), QString()).trimmed();
    if (engine.isEmpty() || engine.compare(u"SQLite", Qt::CaseInsensitive) == 0)
        return ConnectionDescription::file(databaseFile);
    if (engine.compare(u"PostgreSQL", Qt::CaseInsensitive) != 0)
        refuse(iniPath, QStringLiteral("Engine=") + engine,
               QStringLiteral("Engine=%1: the engines are SQLite and PostgreSQL").arg(engine));

    ConnectionDescription d = ConnectionDescription::server(
        ini.read(section, QStringLiteral("Host"), QString()).trimmed(),
        ini.read(section, QStringLiteral("Name"), QString()).trimmed(),
        ini.read(section, QStringLiteral("User"), QString()).trimmed());
    d.sslMode = ini.read(section, QStringLiteral("SSLMode"), QString()).trimmed().toLower();
    const QString port = ini.read(section, QStringLiteral("Port"), QString()).trimmed();
    if (!port.isEmpty()) {
        const std::optional<int> n = IniFile::toInt(port);
        if (!n || *n < 1 || *n > 65535)
            refuse(iniPath, QStringLiteral("Port=") + port, QStringLiteral("Port=%1 is not a port number").arg(port));
        d.port = *n;
    }
    if (d.name.isEmpty())
        refuse(iniPath, QStringLiteral("Name="), QStringLiteral("Name, the database on the server, is missing"));
    static const QStringList sslModes{QStringLiteral("disable"),   QStringLiteral("allow"),
                                      QStringLiteral("prefer"),    QStringLiteral("require"),
                                      QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
    if (!d.sslMode.isEmpty() && !sslModes.contains(d.sslMode))
        refuse(iniPath, QStringLiteral("SSLMode=") + d.sslMode,
               QStringLiteral("SSLMode=%1: one of %2").arg(d.sslMode, sslModes.join(QStringLiteral(", "))));
    // Values go to libpq as "key=value" pairs, which these characters would break.
    const std::pair<const char*, const QString*> values[] = {{"Host", &d.host}, {"Name", &d.name}, {"User", &d.user}};
    for (const auto& [key, value] : values) {
        if (value->contains(u';') || value->contains(u'=') || value->contains(u'\'') || value->contains(u'\\'))
            refuse(iniPath, QLatin1String(key) + u'=' + *value,
                   QStringLiteral("Host, Name and User may not hold ; = ' or \\: %1").arg(*value));
    }
    return d;
}
