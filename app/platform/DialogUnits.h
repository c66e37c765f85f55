#pragma once

#include "DialogTemplate.h"

#include <QFont>
#include <QRect>

namespace rowstone::ui {

// The pixel size of one horizontal and one vertical "base unit" of a dialog
// font: the average width of the Latin letters and the font's line height.
// A dialog unit is a quarter of the horizontal and an eighth of the
// vertical base unit.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
QRect DluToPixels(const DluRect& rect, DialogBaseUnits units);
int DluToPixelsX(int dlu, DialogBaseUnits units);
int DluToPixelsY(int dlu, DialogBaseUnits units);

// The font a template names, at its point size.
QFont DialogFontOf(const DialogTemplate& dialog);

} // namespace rowstone::ui
