#pragma once

#include <QColor>
#include <QPalette>

// The favourites' state colours are those of a light desktop: black, grey, blue, red
// and purple text, and a light grey ground for the servers one administers. On a dark
// palette they would not read, so there each text colour becomes a light tone of its
// own hue (black becomes the palette's text colour) and the ground a shade lighter
// than the palette's base. On a light palette they stay exactly as they are.
class PaletteColours {
public:
    static bool isDark(const QPalette& palette);
    static QColor textOn(const QColor& lightDesktopColour, const QPalette& palette);
    static QColor groundOn(const QColor& lightDesktopGround, const QPalette& palette);
};
