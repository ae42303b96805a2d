#pragma once

#include <QString>

// The administrator password as the settings file keeps it: the MD5 of the
// UTF-8 bytes of the password without blanks around it, as 32 upper-case
// hexadecimal digits. The password itself is never stored.
QString adminPasswordDigest(const QString& password);

// The digest is the one of the password the program is delivered with.
bool isDeliveredPasswordDigest(const QString& digest);
