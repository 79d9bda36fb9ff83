#include "DialogTestKit.h"

#include "ui/Application.h"

namespace dialogs::test {

bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 250; ++i) {
    ui::Application::ProcessMessages();
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

void PumpFor(int ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < DWORD(ms)) {
    ui::Application::ProcessMessages();
    Sleep(10);
  }
}

}  // namespace dialogs::test
