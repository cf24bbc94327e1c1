#pragma once
// A full text export of registry key trees below HKEY_LOCAL_MACHINE (64-bit view): every
// key's owner, its DACL entry by entry and its values with type and data, and the same for
// every key below it. Two exports are equal when nothing of the trees changed.
#include <string>
#include <vector>

std::string ExportKeys(const std::vector<std::string>& paths);
