#pragma once
// Named pages on top of each other; one shows at a time.
#include <memory>
#include <string>
#include <vector>

#include "ui/panel.h"

class TNotebookPage : public TPanel {
 public:
  TNotebookPage(TWindow* notebook, std::string name);
  const std::string& Name() const { return FName; }

 private:
  std::string FName;
};

class TNotebook : public TPanel {
 public:
  explicit TNotebook(TWindow* parent);

  TNotebookPage& AddPage(const std::string& name);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TNotebookPage& Page(int index) { return *FPages.at(static_cast<size_t>(index)); }

  int PageIndex() const { return FPageIndex; }
  void SetPageIndex(int index);
  std::string ActivePage() const;
  void SetActivePage(const std::string& name);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void MoveFocusTo(TNotebookPage& page);

  std::vector<std::unique_ptr<TNotebookPage>> FPages;
  int FPageIndex = -1;
};
