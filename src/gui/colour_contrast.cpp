#include "gui/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double relative_luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

QColor mixed(const QColor &from, const QColor &to, double share)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                            float(a.greenF() + (b.greenF() - a.greenF()) * share),
                            float(a.blueF() + (b.blueF() - a.blueF()) * share));
}

} // namespace

double contrast_ratio(const QColor &a, const QColor &b)
{
    const double la = relative_luminance(a);
    const double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor with_contrast(const QColor &colour, const QColor &against, double ratio)
{
    // Black reaches more contrast against a light colour, white against a
    // dark one.
    const QColor goal = contrast_ratio(against, Qt::black) >= contrast_ratio(against, Qt::white) ? QColor(Qt::black)
                                                                                                 : QColor(Qt::white);
    for (int step = 0; step <= 20; ++step) {
        const QColor candidate = mixed(colour, goal, step / 20.0);
        if (contrast_ratio(candidate, against) >= ratio)
            return candidate;
    }
    return goal;
}
