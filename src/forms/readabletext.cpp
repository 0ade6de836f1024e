#include "readabletext.h"

#include <QColor>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kLeastContrast = 4.5;

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

} // namespace

double contrastRatio(const QColor& first, const QColor& second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void keepTextReadable(QWidget& widget, QPalette::ColorRole textRole, const QColor& background)
{
    QPalette colours = widget.palette();
    bool changed = false;
    // The disabled colours stay the theme's: they are meant to stand out less.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        if (contrastRatio(colours.color(group, textRole), background) < kLeastContrast) {
            colours.setColor(group, textRole, Qt::black);
            changed = true;
        }
    }
    if (changed)
        widget.setPalette(colours);
}
