#pragma once

#include <QTextStream>
#include <optional>

class Session;
struct Messages;

// What a command-line mode reads first: the Data folder's Config.ini. Without
// it nothing is done and the reason goes to err; with it texts speak the
// stored interface language, which is returned (true: Russian).
std::optional<bool> readCommandLanguage(Session& session, Messages& texts, QTextStream& err);
