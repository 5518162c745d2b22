#pragma once
// Plain geometry of the headless views: points, sizes and rectangles in
// points. Nothing is drawn; frames only record where a view would stand so
// that layout code (row heights, constraints copying a superview's frame)
// has something to read and compare.

namespace trc::ui {

struct CGPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    double width = 0;
    double height = 0;
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;

    CGRect() = default;
    CGRect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

    double minY() const { return origin.y; }
    double maxY() const { return origin.y + size.height; }
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

}  // namespace trc::ui
