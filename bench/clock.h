#pragma once
// The benchmarks' clock: wall-clock milliseconds from the performance counter, and the
// median that every figure reports.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
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

namespace bench_detail {

inline double FileTimeMs(const FILETIME& t) {
  return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                             t.dwLowDateTime) / 10000.0;
}

inline std::string ReadSmallFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char text[512];
  DWORD read = 0;
  const BOOL ok = ReadFile(file, text, sizeof(text), &read, nullptr);
  CloseHandle(file);
  return ok ? std::string(text, read) : std::string();
}

// The numerically named entries of a /proc folder, through drive Z:.
inline std::vector<std::wstring> Numbered(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] >= L'0' && found.cFileName[0] <= L'9') names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Under Wine, this process's /proc folder: the one process named like this program (Wine
// names it after the file). Empty elsewhere, or when the name is not unique. Found by
// name because Wine resolves /proc/self in its server, which opens the files.
inline std::wstring OwnProcFolder() {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return {};
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  name = name.substr(name.find_last_of(L"\\/") + 1).substr(0, 15);  // as the kernel keeps it
  const std::string wanted = "(" + std::string(name.begin(), name.end()) + ") ";
  std::wstring own;
  for (const std::wstring& pid : Numbered(L"Z:\\proc")) {
    const std::string stat = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\stat");
    const size_t at = stat.find(wanted);
    if (at == std::string::npos || stat.compare(at + wanted.size(), 1, "Z") == 0) continue;
    if (!own.empty()) return {};
    own = L"Z:\\proc\\" + pid;
  }
  return own;
}

}  // namespace bench_detail

// The CPU time of this whole process, in milliseconds. Under Wine the process is a Linux
// one, and the scheduler's own run times of its threads (/proc/PID/task/*/schedstat, in
// nanoseconds) count it exactly; GetProcessTimes there counts whole 10 ms clock ticks, each
// charged to the thread that runs when it strikes, which a thread that wakes often and
// briefly meets far more often than its share. Elsewhere, and when that folder cannot be
// found, GetProcessTimes.
inline double ProcessCpuMs() {
  using namespace bench_detail;
  static const std::wstring own = OwnProcFolder();
  if (!own.empty()) {
    double ns = 0;
    for (const std::wstring& task : Numbered(own + L"\\task"))
      ns += std::strtod(ReadSmallFile(own + L"\\task\\" + task + L"\\schedstat").c_str(), nullptr);
    if (ns > 0) return ns / 1e6;
  }
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return FileTimeMs(kernel) + FileTimeMs(user);
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
