#include "ui/notebook.h"

TNotebookPage::TNotebookPage(TWindow* notebook, std::string name)
    : TPanel(notebook), FName(std::move(name)) {
  // Named like the page, so the page can be found from outside the program too.
  SetText(FName);
}

TNotebook::TNotebook(TWindow* parent) : TPanel(parent, L"TNotebook") {}

TNotebookPage& TNotebook::AddPage(const std::string& name) {
  auto page = std::make_unique<TNotebookPage>(this, name);
  const RECT r = ClientRect();
  page->SetBounds(0, 0, r.right, r.bottom);
  page->SetVisible(FPages.empty());
  if (FPages.empty()) FPageIndex = 0;
  FPages.push_back(std::move(page));
  return *FPages.back();
}

void TNotebook::SetPageIndex(int index) {
  if (index < 0 || index >= PageCount() || index == FPageIndex) return;
  TNotebookPage& next = Page(index);
  next.SetVisible(true);
  if (FPageIndex >= 0) {
    TNotebookPage& old = Page(FPageIndex);
    const HWND focus = GetFocus();
    const bool hadFocus = focus && (focus == old.Handle() || IsChild(old.Handle(), focus));
    old.SetVisible(false);
    // A hidden window keeps the keyboard focus unless someone moves it.
    if (hadFocus) MoveFocusTo(next);
  }
  FPageIndex = index;
}

void TNotebook::MoveFocusTo(TNotebookPage& page) {
  HWND root = GetAncestor(Handle(), GA_ROOT);
  HWND first = GetNextDlgTabItem(page.Handle(), nullptr, FALSE);
  ::SetFocus(first && IsChild(page.Handle(), first) ? first : root);
}

std::string TNotebook::ActivePage() const {
  return FPageIndex >= 0 ? FPages[static_cast<size_t>(FPageIndex)]->Name() : std::string();
}

void TNotebook::SetActivePage(const std::string& name) {
  for (int i = 0; i < PageCount(); ++i)
    if (Page(i).Name() == name) SetPageIndex(i);
}

LRESULT TNotebook::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE)
    for (auto& page : FPages) page->SetBounds(0, 0, LOWORD(lp), HIWORD(lp));
  return TPanel::WndProc(msg, wp, lp);
}
