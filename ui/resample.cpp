#include "ui/resample.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The source pixels one target pixel covers along an axis, with the share of each.
struct TSpan {
  int First;
  std::vector<float> Weights;
};

std::vector<TSpan> Spans(int sourceLength, int targetLength) {
  std::vector<TSpan> spans(static_cast<size_t>(targetLength));
  const double step = static_cast<double>(sourceLength) / targetLength;
  for (int i = 0; i < targetLength; ++i) {
    const double begin = i * step, end = (i + 1) * step;
    TSpan& span = spans[static_cast<size_t>(i)];
    span.First = static_cast<int>(begin);
    for (int s = span.First; s < sourceLength && s < end; ++s) {
      const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
      span.Weights.push_back(static_cast<float>(covered / step));
    }
  }
  return spans;
}

using TPixel = std::array<float, 4>;

TPixel Unpack(uint32_t p) {
  return {static_cast<float>(p >> 24), static_cast<float>((p >> 16) & 0xFF),
          static_cast<float>((p >> 8) & 0xFF), static_cast<float>(p & 0xFF)};
}

uint32_t Pack(const TPixel& p) {
  uint32_t result = 0;
  for (float channel : p)
    result = (result << 8) | static_cast<uint32_t>(std::clamp(channel + 0.5f, 0.0f, 255.0f));
  return result;
}

}  // namespace

void ResampleInto(const TBitmap& source, const RECT& from, TBitmap& target, const RECT& to) {
  const int sw = from.right - from.left, sh = from.bottom - from.top;
  const int tw = to.right - to.left, th = to.bottom - to.top;
  if (source.Empty() || target.Empty() || sw <= 0 || sh <= 0 || tw <= 0 || th <= 0) return;
  const auto within = [](const RECT& r, const TBitmap& b) {
    return r.left >= 0 && r.top >= 0 && r.right <= b.Width() && r.bottom <= b.Height();
  };
  if (!within(from, source) || !within(to, target)) return;
  const std::vector<TSpan> columns = Spans(sw, tw), rows = Spans(sh, th);
  // Across first, into a picture of the target's width and the source's height.
  std::vector<TPixel> across(static_cast<size_t>(tw) * static_cast<size_t>(sh));
  for (int y = 0; y < sh; ++y) {
    const uint32_t* line = source.Bits() + (from.top + y) * source.Width() + from.left;
    for (int x = 0; x < tw; ++x) {
      TPixel sum{};
      const TSpan& span = columns[static_cast<size_t>(x)];
      for (size_t k = 0; k < span.Weights.size(); ++k) {
        const TPixel p = Unpack(line[span.First + static_cast<int>(k)]);
        for (size_t c = 0; c < 4; ++c) sum[c] += p[c] * span.Weights[k];
      }
      across[static_cast<size_t>(y * tw + x)] = sum;
    }
  }
  for (int y = 0; y < th; ++y) {
    const TSpan& span = rows[static_cast<size_t>(y)];
    uint32_t* line = target.Bits() + (to.top + y) * target.Width() + to.left;
    for (int x = 0; x < tw; ++x) {
      TPixel sum{};
      for (size_t k = 0; k < span.Weights.size(); ++k) {
        const TPixel& p = across[static_cast<size_t>((span.First + static_cast<int>(k)) * tw + x)];
        for (size_t c = 0; c < 4; ++c) sum[c] += p[c] * span.Weights[k];
      }
      line[x] = Pack(sum);
    }
  }
}

TBitmap Resampled(const TBitmap& source, int width, int height) {
  TBitmap target(width, height);
  ResampleInto(source, {0, 0, source.Width(), source.Height()}, target, {0, 0, width, height});
  return target;
}
