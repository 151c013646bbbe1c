#include "platform/PaletteColours.h"

namespace {

// The lightness given to the state colours on a dark ground: light enough to read,
// dark enough that the hues stay apart.
constexpr int liftedLightness = 200;

}  // namespace

bool PaletteColours::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

QColor PaletteColours::textOn(const QColor& lightDesktopColour, const QPalette& palette)
{
    if (!isDark(palette))
        return lightDesktopColour;
    if (lightDesktopColour.lightness() == 0)
        return palette.color(QPalette::Text);
    QColor lifted = lightDesktopColour.toHsl();
    lifted.setHsl(lifted.hslHue(), lifted.hslSaturation(), std::max(lifted.lightness(), liftedLightness));
    return lifted.toRgb();
}

QColor PaletteColours::groundOn(const QColor& lightDesktopGround, const QPalette& palette)
{
    return isDark(palette) ? palette.color(QPalette::Base).lighter(140) : lightDesktopGround;
}
