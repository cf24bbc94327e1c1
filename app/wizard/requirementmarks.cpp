#include "app/wizard/requirementmarks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Drawn on a 16-unit square and scaled to the list's size; each pixel is the average of
// Samples × Samples points, which gives the disc edge and the strokes their soft rims.
constexpr int Samples = 8;
constexpr float Unit = 16.0f;

struct TColor {
  float R, G, B;
};

struct TPoint {
  float X, Y;
};

struct TPalette {
  TColor Top, Bottom, Rim;
};

constexpr TPalette Green{{0.42f, 0.82f, 0.28f}, {0.04f, 0.50f, 0.07f}, {0.02f, 0.32f, 0.04f}};
constexpr TPalette Red{{0.97f, 0.42f, 0.33f}, {0.74f, 0.06f, 0.04f}, {0.50f, 0.02f, 0.02f}};
constexpr TPalette Blue{{0.45f, 0.68f, 0.97f}, {0.05f, 0.30f, 0.72f}, {0.02f, 0.17f, 0.48f}};

constexpr TPoint Centre{8.0f, 8.0f};
constexpr float Radius = 7.5f;
constexpr float RimWidth = 0.9f;
constexpr float StrokeHalfWidth = 1.1f;

const std::vector<std::vector<TPoint>> TickStrokes = {{{4.3f, 8.2f}, {6.9f, 10.8f}, {11.7f, 5.3f}}};
const std::vector<std::vector<TPoint>> CrossStrokes = {{{5.3f, 5.3f}, {10.7f, 10.7f}},
                                                       {{10.7f, 5.3f}, {5.3f, 10.7f}}};
// A dot is a stroke too short to see its length.
const std::vector<std::vector<TPoint>> InfoStrokes = {{{8.0f, 4.2f}, {8.0f, 4.25f}},
                                                      {{8.0f, 8.0f}, {8.0f, 11.7f}}};

float Mix(float a, float b, float t) { return a + (b - a) * t; }

TColor Mix(TColor a, TColor b, float t) {
  return {Mix(a.R, b.R, t), Mix(a.G, b.G, t), Mix(a.B, b.B, t)};
}

float SegmentDistance(TPoint p, TPoint a, TPoint b) {
  const float dx = b.X - a.X, dy = b.Y - a.Y;
  const float t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  const float ex = p.X - (a.X + t * dx), ey = p.Y - (a.Y + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

// Distance to the nearest stroke: below the half width is inside, with round caps and joins.
float StrokeDistance(TPoint p, const std::vector<std::vector<TPoint>>& strokes) {
  float nearest = Unit;
  for (const auto& line : strokes)
    for (size_t i = 1; i < line.size(); ++i)
      nearest = std::min(nearest, SegmentDistance(p, line[i - 1], line[i]));
  return nearest;
}

struct TSample {
  TColor Color;
  float Alpha;
};

TSample Shade(TPoint p, const TPalette& palette, const std::vector<std::vector<TPoint>>& strokes) {
  const float cx = p.X - Centre.X, cy = p.Y - Centre.Y;
  const float distance = std::sqrt(cx * cx + cy * cy);
  if (distance > Radius) return {{0, 0, 0}, 0};
  if (distance > Radius - RimWidth) return {palette.Rim, 1};

  // Light from above: a vertical gradient, and a soft gloss over the upper half.
  const float height = (p.Y - (Centre.Y - Radius)) / (2 * Radius);
  TColor color = Mix(palette.Top, palette.Bottom, height);
  const float gx = (p.X - Centre.X) / 5.0f, gy = (p.Y - 4.3f) / 3.4f;
  const float gloss = 1 - (gx * gx + gy * gy);
  if (gloss > 0) color = Mix(color, {1, 1, 1}, 0.28f * std::min(1.0f, gloss * 2));
  // Light thrown back from below brightens the lower inside of the rim a little.
  const float glow = (distance - (Radius - 2.6f)) / 1.7f * (p.Y - Centre.Y) / Radius;
  if (glow > 0) color = Mix(color, palette.Top, std::min(0.45f, glow));

  // A faint shadow under the glyph lifts it off the disc.
  if (StrokeDistance({p.X, p.Y - 0.7f}, strokes) < StrokeHalfWidth) color = Mix(color, palette.Rim, 0.5f);
  if (StrokeDistance(p, strokes) < StrokeHalfWidth) color = {1, 1, 1};
  return {color, 1};
}

TBitmap DrawMark(int width, int height, const TPalette& palette,
                 const std::vector<std::vector<TPoint>>& strokes) {
  TBitmap picture(width, height);
  if (picture.Empty()) return picture;
  const float scaleX = Unit / static_cast<float>(width), scaleY = Unit / static_cast<float>(height);
  auto channel = [](float premultiplied) {
    return static_cast<uint32_t>(std::lround(std::clamp(premultiplied, 0.0f, 1.0f) * 255));
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < Samples; ++sy)
        for (int sx = 0; sx < Samples; ++sx) {
          const TPoint p{(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / Samples) * scaleX,
                         (static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / Samples) * scaleY};
          const TSample s = Shade(p, palette, strokes);
          r += s.Color.R * s.Alpha;
          g += s.Color.G * s.Alpha;
          b += s.Color.B * s.Alpha;
          a += s.Alpha;
        }
      constexpr float Count = Samples * Samples;
      // Each sample's colour is at most its alpha, so the rounded averages keep that order.
      picture.Bits()[y * width + x] = (channel(a / Count) << 24) | (channel(r / Count) << 16) |
                                      (channel(g / Count) << 8) | channel(b / Count);
    }
  return picture;
}

}  // namespace

void AddRequirementMarks(TImageList& list) {
  list.Add(DrawMark(list.Width(), list.Height(), Green, TickStrokes));
  list.Add(DrawMark(list.Width(), list.Height(), Red, CrossStrokes));
  list.Add(DrawMark(list.Width(), list.Height(), Blue, InfoStrokes));
}
