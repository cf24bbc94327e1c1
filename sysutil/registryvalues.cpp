#include "sysutil/registryvalues.h"

#include "sysutil/registryfault.h"
#include "sysutil/textconv.h"

namespace {

LONG Write(HKEY key, const std::string& name, DWORD type, const void* data, size_t size) {
  if (const LONG fault = InjectedRegistryFault(TRegistryCall::Write, name)) return fault;
  return RegSetValueExW(key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size));
}

LONG WriteText(HKEY key, const std::string& name, DWORD type, const std::string& value) {
  const std::wstring wide = Widen(value);
  return Write(key, name, type, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

}  // namespace

bool RegValueExists(HKEY key, const std::string& name) {
  return RegQueryValueExW(key, Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

LONG ReadRegDword(HKEY key, const std::string& name, DWORD& value) {
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  const LONG status = RegQueryValueExW(key, Widen(name).c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&data), &size);
  if (status == ERROR_MORE_DATA) return ERROR_INVALID_DATATYPE;
  if (status != ERROR_SUCCESS) return status;
  if (type != REG_DWORD || size != sizeof(data)) return ERROR_INVALID_DATATYPE;
  value = data;
  return ERROR_SUCCESS;
}

LONG ReadRegString(HKEY key, const std::string& name, std::string& value) {
  const std::wstring wideName = Widen(name);
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
      value.clear();
      return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    // One spare character, so data stored without its terminating NUL still ends in one.
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_MORE_DATA) continue;  // it grew between the two questions
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    data.resize(got / sizeof(wchar_t));
    const size_t end = data.find(L'\0');
    if (end != std::wstring::npos) data.resize(end);
    value = Narrow(data);
    return ERROR_SUCCESS;
  }
}

LONG WriteRegDword(HKEY key, const std::string& name, DWORD value) {
  return Write(key, name, REG_DWORD, &value, sizeof(value));
}

LONG WriteRegString(HKEY key, const std::string& name, const std::string& value) {
  return WriteText(key, name, REG_SZ, value);
}

LONG WriteRegExpandString(HKEY key, const std::string& name, const std::string& value) {
  return WriteText(key, name, REG_EXPAND_SZ, value);
}

LONG WriteRegMultiString(HKEY key, const std::string& name,
                         const std::vector<std::string>& value) {
  std::wstring list;
  for (const std::string& item : value) {
    list += Widen(item);
    list += L'\0';
  }
  list += L'\0';
  return Write(key, name, REG_MULTI_SZ, list.data(), list.size() * sizeof(wchar_t));
}

LONG DeleteRegValue(HKEY key, const std::string& name) {
  if (const LONG fault = InjectedRegistryFault(TRegistryCall::DeleteValue, name)) return fault;
  return RegDeleteValueW(key, Widen(name).c_str());
}
