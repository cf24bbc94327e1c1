#pragma once
// Runs a function when the scope ends, however it ends: the undo of a step that an exception
// must not skip.
#include <utility>

template <typename F>
class TScopeExit {
 public:
  explicit TScopeExit(F action) : FAction(std::move(action)) {}
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  ~TScopeExit() { FAction(); }

 private:
  F FAction;
};
