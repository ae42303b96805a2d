#pragma once

#include <QStyle>

class QAbstractButton;

// Gives the button one of the style's standard icons. Finding it means a
// look through the desktop's icon theme (about half a millisecond), so a
// button not yet on screen, as on the windows built at start, gets it when
// it is first shown.
void setStandardIcon(QAbstractButton* button, QStyle::StandardPixmap icon);
