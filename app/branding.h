#pragma once
// Cardmend's own brand: the values that only the maker can give, each kept here once, and
// the theme's texts filled from them and from the program file's version resource.
#include <string>

#include "resources/brand.h"

inline constexpr char ProductName[] = CARDMEND_PRODUCT;
inline constexpr char CopyrightYears[] = CARDMEND_COPYRIGHT_YEARS;
inline constexpr char CompanyName[] = CARDMEND_COMPANY;
inline constexpr char WebAddressGerman[] = "www.cardmend.example/de";
inline constexpr char WebAddressEnglish[] = "www.cardmend.example/en";
// What a copy of the program without a version resource calls itself.
inline constexpr char FallbackVersion[] = "1.2.0.39";

// The full path of the running program.
std::string ProgramFile();

// Fills the theme's product name, trademark, copyright and company.
void BrandTheme();
// Fills the theme's version text from `programFile`'s version resource: "V1.2.0, Build 40",
// or "V1.2.0.39" without one.
void BrandVersion(const std::string& programFile);

// The window caption and application title: the trademark, one space and the product
// name, so " Cardmend" while the trademark is empty.
std::string BrandedCaption();
