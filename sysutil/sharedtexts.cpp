#include "sysutil/sharedtexts.h"

#include <windows.h>

#include "sysutil/fileregistry.h"
#include "sysutil/handles.h"

namespace {

constexpr int Columns = 5;
constexpr std::uint8_t EnglishIndex = 1;
constexpr char SettingsKey[] = "Software\\Orvinta\\ZQM";

// The fifth column has no texts in any row.
const char* const Texts[SharedTextRows][Columns] = {
    {"&OK", "&OK", "&OK", "&OK", ""},
    {"&Ja", "&Yes", "&Oui", "&Sí", ""},
    {"&Nein", "&No", "&Non", "&No", ""},
    {"&Abbrechen", "&Cancel", "&Annuler", "&Cancelar", ""},
    {"&Abbrechen", "&Cancel", "&Annuler", "&Cancelar", ""},
    {"Ü&bernehmen", "&Accept", "&Accepter", "&Aplicar", ""},
    {"&Schließen", "&Close", "&Fermer", "&Cerrar", ""},
    {"Info", "About", "Info", "Info", ""},
    {"Hilfe", "Help", "Aide", "Ayuda", ""},
    {"Sonstige Optionen", "Other settings", "Autres options", "Otras opciones", ""},
    {"&Optionen", "&Options", "&Options", "&Opciones", ""},
    {"Optionen", "Settings", "Options", "Opciones", ""},
    {"&Eigenschaften", "&Properties", "&Propriétés", "&Propiedades", ""},
    {"&Zurück", "&Back", "&Précédent", "&Atrás", ""},
    {"&Weiter", "&Next", "&Suivant", "&Siguiente", ""},
    {"&Fertig stellen", "&Finish", "&Terminer", "&Terminar", ""},
    {"Durchsuchen", "Browse", "Parcourir", "Buscar", ""},
};

enum class TRegistrySetting { Missing, Unreadable, Found };

// The registry decides as soon as the value exists, even when it cannot be read as an
// integer. Opened directly rather than through OpenRegKey: HKCU\Software is one key in both
// views anyway.
TRegistrySetting ReadRegistrySetting(std::int32_t& value) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
    return TRegistrySetting::Missing;
  const TRegKey key(raw);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), "Language", nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return TRegistrySetting::Missing;
  DWORD data = 0;
  size = sizeof data;
  if (type != REG_DWORD ||
      RegQueryValueExA(key.Get(), "Language", nullptr, &type, reinterpret_cast<BYTE*>(&data),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data)
    return TRegistrySetting::Unreadable;
  value = static_cast<std::int32_t>(data);
  return TRegistrySetting::Found;
}

}  // namespace

std::string SharedText(int row, int languageIndex) {
  if (row < 0 || row >= SharedTextRows || languageIndex < 0 || languageIndex >= Columns)
    return {};
  return Texts[row][languageIndex];
}

std::string SharedText(int row) { return SharedText(row, LanguageIndex()); }

// Read once, by the first dialog that needs it (not with the program's start: the settings
// file's folder comes from the shell's library), so every reader sees the same index.
std::uint8_t LanguageIndex() {
  static const std::uint8_t index = DetectLanguageIndex();
  return index;
}

std::uint8_t DetectLanguageIndex() try {
  std::int32_t value = 0;
  switch (ReadRegistrySetting(value)) {
    case TRegistrySetting::Found: return LanguageIndexOf(value);
    case TRegistrySetting::Unreadable: return EnglishIndex;
    case TRegistrySetting::Missing: break;
  }
  TFileRegistry files;
  files.SetRootKey(HKEY_LOCAL_MACHINE);
  std::uint8_t index = EnglishIndex;
  if (files.OpenKeyReadOnly(SettingsKey) && files.ValueExists("Language"))
    index = LanguageIndexOf(files.ReadInteger("Language"));
  files.CloseKey();
  return index;
} catch (...) {
  // Nothing may escape into the dialog that asks, and English is the answer to any trouble.
  return EnglishIndex;
}

std::uint8_t LanguageIndexOf(std::int32_t primaryLanguage) {
  switch (primaryLanguage) {
    case LANG_GERMAN: return 0;
    case LANG_FRENCH: return 2;
    case LANG_SPANISH: return 3;
    case LANG_ITALIAN: return 4;
    default: return EnglishIndex;
  }
}

TLanguage LanguageOfIndex(int languageIndex) {
  switch (languageIndex) {
    case 0: return lgGerman;
    case 2: return lgFrench;
    case 3: return lgSpanish;
    default: return lgEnglish;
  }
}
