#pragma once
// The start page's three "additional information" links: what each explains, in the
// selected language, and the hint window that shows it where the user clicked.
#include <string>

class TWindow;

std::string WindowsHintText();
std::string AdminHintText();
// With `awaitingReader`, also why a resource manager that waits for a reader is in order.
std::string PCSCHintText(bool awaitingReader = false);

// Opens the hint window with `text` at the pointer, owned by `owner`; returns when it is
// closed. While one shows, another click opens nothing.
void ShowInfoHint(const std::string& text, const TWindow& owner);
