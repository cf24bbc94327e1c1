#pragma once
// The benchmarks' clock: wall-clock milliseconds from the performance counter, and the
// median that every figure reports.
#include <windows.h>

#include <algorithm>
#include <vector>

inline double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// The middle value; of an even count, the mean of the two middle ones. 0 when empty.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median over `rounds` rounds of the time of one `work`, each round running it
// `repeats` times and waiting for GDI to finish the drawing it queued; in microseconds.
template <typename Work>
double MedianMicroseconds(int rounds, int repeats, Work work) {
  std::vector<double> each;
  for (int r = 0; r < rounds; ++r) {
    const double start = NowMs();
    for (int i = 0; i < repeats; ++i) work();
    GdiFlush();
    each.push_back((NowMs() - start) * 1000.0 / repeats);
  }
  return Median(std::move(each));
}
