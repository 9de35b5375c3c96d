#pragma once

class QWidget;

// The .ui format stores whole point sizes only; controls designed at a
// fractional size (9.75 pt, 8.25 pt, 13.5 pt) carry it in a
// "designPointSize" property, applied here once after setupUi().
void apply_design_point_sizes(QWidget &window);
