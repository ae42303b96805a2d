#pragma once

#include "import/ImportWriter.h"

// Photos taken in as the editors take a chosen picture: decoded (JPEG
// through libjpeg, BMP), stretched to the stored size and kept as BMP; a
// tool's file also copied into its picture folder under the Data folder dataFolder.
ImportPhotos editorPhotos(const QString& dataFolder, bool russian);
