#include "app/wizard/statusprobe.h"

#include <utility>

namespace {

struct TProbeWork {
  HWND Target;
  std::shared_ptr<const TPCSCLibrary> PCSC;
};

DWORD WINAPI Probe(void* parameter) {
  const std::unique_ptr<TProbeWork> work(static_cast<TProbeWork*>(parameter));
  const TLayerStatus status = LayerStatus(*work->PCSC);
  PostMessageW(work->Target, TStatusProbe::DoneMessage, static_cast<WPARAM>(status), 0);
  return 0;
}

}  // namespace

bool TStatusProbe::Busy() const {
  return FThread && WaitForSingleObject(FThread.Get(), 0) == WAIT_TIMEOUT;
}

bool TStatusProbe::Start(std::shared_ptr<const TPCSCLibrary> pcsc) {
  if (Busy()) return false;
  auto work = std::make_unique<TProbeWork>(TProbeWork{FTarget, std::move(pcsc)});
  THandle thread(CreateThread(nullptr, 0, &Probe, work.get(), 0, nullptr));
  if (!thread) {
    Probe(work.release());  // no thread to spare: found out here, as slow as it may be
    return true;
  }
  work.release();  // the thread's now
  FThread = std::move(thread);
  return true;
}
