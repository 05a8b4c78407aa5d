#pragma once

// Points of the global display space: origin at the top left of the main
// display, y downwards.
namespace quillon::platform {

struct Point {
  double x = 0;
  double y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  double minX() const { return x; }
  double minY() const { return y; }
  double maxX() const { return x + width; }
  double maxY() const { return y + height; }
  // Half-open, as CGRectContainsPoint: the right and bottom edges are outside.
  bool contains(Point p) const {
    return width > 0 && height > 0 && p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace quillon::platform
