#pragma once

#include <QColor>

// Contrast between colours as WCAG 2 measures it: 1 (the same) to 21
// (black on white); 3 is the least for parts of a control to tell apart.
double contrast_ratio(const QColor &a, const QColor &b);

// The colour moved towards black or white, whichever goes further from
// `against`, just until it contrasts with `against` by at least `ratio`.
QColor with_contrast(const QColor &colour, const QColor &against, double ratio);
