#include "fsservices/LeftOutMessage.h"

#include <windows.h>

#include "ui/Dialogs.h"
#include "ui/WideText.h"

namespace fsservices {

void ShowLeftOut(const char* reason, const std::vector<std::wstring>& paths) {
  if (paths.empty()) return;
  std::wstring text = ui::ToWide(reason);
  for (const std::wstring& path : paths) text += L"\n\r" + path;
  ui::MessageDlg(text, MB_OK | MB_ICONWARNING);
}

}  // namespace fsservices
