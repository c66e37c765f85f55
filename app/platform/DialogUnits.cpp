#include "DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace rowstone::ui {

namespace {

// Rounded a * b / c, as the classic MulDiv does for positive values.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.x = (letters / 26 + 1) / 2;
    units.y = metrics.height();
    if (units.x < 1)
        units.x = 1;
    if (units.y < 1)
        units.y = 1;
    return units;
}

int DluToPixelsX(int dlu, DialogBaseUnits units) {
    return MulDiv(dlu, units.x, 4);
}

int DluToPixelsY(int dlu, DialogBaseUnits units) {
    return MulDiv(dlu, units.y, 8);
}

QRect DluToPixels(const DluRect& rect, DialogBaseUnits units) {
    return QRect(DluToPixelsX(rect.x, units), DluToPixelsY(rect.y, units),
                 DluToPixelsX(rect.width, units), DluToPixelsY(rect.height, units));
}

QFont DialogFontOf(const DialogTemplate& dialog) {
    QFont font;
    font.setFamilies(
        QStringList{QString::fromUtf8(dialog.fontFace), QString::fromUtf8(kUiFallbackFamily)});
    font.setPointSize(dialog.fontPoints);
    return font;
}

QFont WithUiFallback(QFont font) {
    font.setFamilies(QStringList{font.family(), QString::fromUtf8(kUiFallbackFamily)});
    return font;
}

} // namespace rowstone::ui
