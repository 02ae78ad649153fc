#include "tests/geometry/clip_window/window_cases.h"

namespace clip_window_test {

const std::vector<RectSet> &RectSets() {
  static const std::vector<RectSet> sets = {
      {"one rectangle, the whole window", {{0, 0, 64, 48}}},
      {"one rectangle inside the window", {{10, 6, 50, 40}}},
      {"two halves touching at x = 32", {{0, 0, 32, 48}, {32, 0, 64, 48}}},
      {"four quadrants", {{0, 0, 32, 24}, {32, 0, 64, 24}, {0, 24, 32, 48}, {32, 24, 64, 48}}},
      {"an L around a covering window", {{0, 0, 64, 16}, {0, 16, 24, 48}}},
      {"two separate, neither touching", {{2, 3, 20, 20}, {30, 10, 50, 40}}},
      {"reaching outside the window", {{-10, -10, 20, 20}, {40, 30, 80, 60}}},
      {"six horizontal strips",
       {{0, 0, 64, 8},
        {0, 8, 64, 16},
        {0, 16, 64, 24},
        {0, 24, 64, 32},
        {0, 32, 64, 40},
        {0, 40, 64, 48}}},
      {"a grid of twelve",
       {{0, 0, 16, 16},
        {16, 0, 32, 16},
        {32, 0, 48, 16},
        {48, 0, 64, 16},
        {0, 16, 16, 32},
        {16, 16, 32, 32},
        {32, 16, 48, 32},
        {48, 16, 64, 32},
        {0, 32, 16, 48},
        {16, 32, 32, 48},
        {32, 32, 48, 48},
        {48, 32, 64, 48}}},
      {"an empty rectangle among others", {{5, 5, 5, 30}, {5, 5, 40, 30}, {40, 30, 60, 30}}},
  };
  return sets;
}

const std::vector<Triangle> &Triangles() {
  static const std::vector<Triangle> triangles = {
      {"covers the window", {-40, -30}, {110, -20}, {20, 100}},
      {"covers the window, clockwise", {-40, -30}, {20, 100}, {110, -20}},
      {"inside a quadrant", {3.5, 2.25}, {20.75, 4.5}, {10.125, 19.5}},
      {"across the middle", {5.3, 7.7}, {58.1, 12.9}, {30.4, 43.3}},
      {"across the middle, clockwise", {5.3, 7.7}, {30.4, 43.3}, {58.1, 12.9}},
      {"a long thin sliver", {-3.1, 1.7}, {67.9, 44.2}, {66.3, 46.9}},
      {"a corner on the middle lines", {32, 24}, {50.5, 9.25}, {44.75, 40.5}},
      {"beyond the left, reaching in", {-30.5, 5.5}, {12.25, 20.75}, {-22.5, 44.5}},
      {"tall and narrow", {31.3, -12.2}, {33.9, -9.8}, {32.6, 61.7}},
      {"vertical and horizontal sides", {8.5, 4.5}, {56.5, 4.5}, {8.5, 44.5}},
  };
  return triangles;
}

}  // namespace clip_window_test
