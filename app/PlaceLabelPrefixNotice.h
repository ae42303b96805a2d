#pragma once

class Dialogs;
class QWidget;
class Session;

// Tool or worker codes that begin with the place labels' prefix would be
// taken for places by a scanner. Told to the administrator once a start,
// after sign-in and before the desk takes codes, with the offer to choose
// another prefix that no code begins with; the operator is not told.
void noticePlaceLabelPrefixInUse(Session& session, Dialogs& dialogs, QWidget* parent);
