#pragma once
// The version of a program file as the user reads it: "V1.2.0, Build 39".
#include <string>

// From the FileVersion text of the file's version resource; "V" + `defaultVersion` when
// the file has none.
std::string FileVersionString(const std::string& file, const std::string& defaultVersion);

// The display form of a version text: four parts give "V1.2.0, Build 39" (the build read
// as a decimal number), three stay as they are, fewer are filled up with ".0". A dot at
// the very end does not count.
std::string FormatFileVersion(const std::string& version);
