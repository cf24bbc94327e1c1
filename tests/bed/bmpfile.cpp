#include "tests/bed/bmpfile.h"

#include <windows.h>

#include <vector>

#include "sysutil/handles.h"
#include "ui/bitmap.h"

bool SaveBmp(const TBitmap& picture, const std::wstring& path) {
  if (picture.Empty()) return false;
  const DWORD pixels = static_cast<DWORD>(picture.Width() * picture.Height());
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = picture.Width();
  info.biHeight = -picture.Height();  // top-down, as the picture is kept
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + pixels * 4;
  std::vector<uint32_t> opaque(picture.Bits(), picture.Bits() + pixels);
  for (uint32_t& p : opaque) p |= 0xFF000000u;

  THandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (out.Get() == INVALID_HANDLE_VALUE) {
    out.Release();
    return false;
  }
  DWORD written = 0;
  return WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
         WriteFile(out.Get(), &info, sizeof(info), &written, nullptr) &&
         WriteFile(out.Get(), opaque.data(), pixels * 4, &written, nullptr);
}
