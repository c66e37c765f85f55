#pragma once

#include "DrawSurface.h"

#include <sstream>
#include <string>
#include <vector>

namespace rowstone::test {

// A drawing surface that writes down every call instead of drawing.
class RecordingSurface : public DrawSurface {
public:
    RecordingSurface(int width, int height) : size_{width, height} {}

    std::vector<std::string> calls;
    bool available = true;
    int openScopes = 0;

    ClientSize GetClientSize() const override { return size_; }
    bool BeginDrawing() override {
        if (available) {
            ++openScopes;
        }
        return available;
    }
    void EndDrawing() override { --openScopes; }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
        Record("fill", {left, top, right, bottom}, colour);
    }
    void DrawLine(int x1, int y1, int x2, int y2, Rgb colour) override {
        Record("line", {x1, y1, x2, y2}, colour);
    }
    void DrawEllipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline) override {
        Record("ellipse", {left, top, right, bottom}, fill, &outline);
    }

    static std::string Line(int x1, int y1, int x2, int y2, Rgb colour) {
        return Describe("line", {x1, y1, x2, y2}, colour, nullptr);
    }
    static std::string Ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline) {
        return Describe("ellipse", {left, top, right, bottom}, fill, &outline);
    }
    static std::string Fill(int left, int top, int right, int bottom, Rgb colour) {
        return Describe("fill", {left, top, right, bottom}, colour, nullptr);
    }

private:
    static std::string Describe(const char* what, std::initializer_list<int> numbers, Rgb colour,
                                const Rgb* outline) {
        std::ostringstream text;
        text << what;
        for (int n : numbers) {
            text << ' ' << n;
        }
        text << " rgb(" << int{colour.red} << ',' << int{colour.green} << ',' << int{colour.blue}
             << ')';
        if (outline != nullptr) {
            text << " outline rgb(" << int{outline->red} << ',' << int{outline->green} << ','
                 << int{outline->blue} << ')';
        }
        return text.str();
    }
    void Record(const char* what, std::initializer_list<int> numbers, Rgb colour,
                const Rgb* outline = nullptr) {
        calls.push_back(Describe(what, numbers, colour, outline));
    }

    ClientSize size_;
};

} // namespace rowstone::test
