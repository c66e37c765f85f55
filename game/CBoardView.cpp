#include "CBoardView.h"

#include <QMouseEvent>
#include <cstdlib>

namespace rowstone {

namespace {

QColor ToColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

CBoardView::CBoardView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ClientSize CBoardView::GetClientSize() const {
    return ClientSize{width(), height()};
}

bool CBoardView::BeginDrawing() {
    if (painter || width() <= 0 || height() <= 0)
        return false;
    if (image.size() != size()) {
        QImage resized(size(), QImage::Format_RGB32);
        resized.fill(Qt::white);
        if (!image.isNull()) {
            QPainter copy(&resized);
            copy.drawImage(0, 0, image);
        }
        image = std::move(resized);
    }
    painter.emplace(&image);
    painter->setRenderHint(QPainter::Antialiasing, false);
    return true;
}

void CBoardView::EndDrawing() {
    painter.reset();
    update();
}

void CBoardView::FillRect(int left, int top, int right, int bottom, Rgb colour) {
    if (!painter || right <= left || bottom <= top)
        return;
    painter->fillRect(QRect(left, top, right - left, bottom - top), ToColor(colour));
}

void CBoardView::SetPixel(int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
        image.setPixel(x, y, colour);
}

void CBoardView::DrawLine(int x1, int y1, int x2, int y2, Rgb colour) {
    if (!painter)
        return;
    // Pixel by pixel, leaving out the end point, as a pen moved to the first
    // point and drawn to the second does.
    const QRgb value = qRgb(colour.red, colour.green, colour.blue);
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        SetPixel(x, y, value);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void CBoardView::DrawEllipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline) {
    if (!painter || right - left < 1 || bottom - top < 1)
        return;
    painter->setPen(QPen(ToColor(outline), 1));
    painter->setBrush(ToColor(fill));
    painter->drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    painter->setBrush(Qt::NoBrush);
}

void CBoardView::paintEvent(QPaintEvent* /*event*/) {
    QPainter screen(this);
    screen.fillRect(rect(), palette().window());
    if (!image.isNull())
        screen.drawImage(0, 0, image);
    // The frame of the control.
    screen.setPen(Qt::black);
    screen.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CBoardView::mousePressEvent(QMouseEvent* event) {
    event->ignore();
}

void CBoardView::mouseMoveEvent(QMouseEvent* event) {
    event->ignore();
}

} // namespace rowstone
