#pragma once

#include "widgets/Localization.h"

// The captions "Label1" to "Label7" of a recipient's details, the same on
// the card and in the editor.
QList<Localization::Text> recipientCaptionTexts(const char* window);
