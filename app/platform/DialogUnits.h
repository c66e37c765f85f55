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

// A plain face for the Chinese texts of windows, so that the ornamental
// faces some machines prefer for Chinese (Kai, Song) stay for the places
// that ask for them.
inline constexpr const char* kUiFallbackFamily = "Noto Sans CJK SC";

// The font a template names, at its point size, with the plain face behind it.
QFont DialogFontOf(const DialogTemplate& dialog);
// font with the plain face behind its own.
QFont WithUiFallback(QFont font);

} // namespace rowstone::ui
