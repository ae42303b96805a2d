#pragma once

#include "LabelLayout.h"

#include <QList>
#include <optional>

struct Messages;

// The sheets and rolls stores use, and a site's own from a plain text file
// in Data, one layout a line:
//   NAME page=WxH label=WxH [grid=COLUMNSxROWS] [margins=LEFT,TOP] [gaps=ACROSS,DOWN] [module=MM]
// sizes in mm; '#' starts a comment. Without grid the layout is a roll (one
// label a page); a site layout named as a built-in one replaces it.
class LabelLayouts
{
public:
    static QList<LabelLayout> builtIn();
    // The site's file in a Data folder (with its trailing separator).
    static QString siteFile(const QString& dataFolder);
    // Throws LabelError naming the line of a bad entry.
    static QList<LabelLayout> parse(const QString& text, const QString& fileName, const Messages& texts);
    // The built-in layouts with the site's file (when present) applied.
    // Throws LabelError.
    static QList<LabelLayout> all(const QString& dataFolder, const Messages& texts);
    // By name, ignoring letter case.
    static std::optional<LabelLayout> find(const QList<LabelLayout>& layouts, const QString& name);
    // The layout used when none is named.
    static QString defaultName();
};
