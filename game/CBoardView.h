#pragma once

#include "DrawSurface.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <optional>

namespace rowstone {

// The board control of the game page: the engine draws into a backing
// image through the drawing surface, and every paint shows that image.
// Mouse events are left to the page.
class CBoardView : public QWidget, public DrawSurface {
public:
    explicit CBoardView(QWidget* parent = nullptr);

    ClientSize GetClientSize() const override;
    bool BeginDrawing() override;
    void EndDrawing() override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;
    void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
    void DrawEllipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline) override;

    const QImage& Image() const { return image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void SetPixel(int x, int y, QRgb colour);

    QImage image;
    std::optional<QPainter> painter;
};

} // namespace rowstone
