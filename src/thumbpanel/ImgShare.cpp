#include "thumbpanel/ImgShare.h"

#include "base/Exception.h"
#include "shellview/ShellNames.h"

namespace thumbpanel {
namespace {
int shareCount = 0;
IShellFolder* desktop = nullptr;
}  // namespace

TShellShare::TShellShare() {
  if (shareCount++ > 0) return;
  OleInitialize(nullptr);
  ui::ComPtr<IMalloc> malloc;
  if (FAILED(CoGetMalloc(1, malloc.put())) || FAILED(SHGetDesktopFolder(&desktop))) {
    --shareCount;
    OleUninitialize();
    throw Exception("The shell is not available");
  }
}

TShellShare::~TShellShare() {
  if (--shareCount > 0) return;
  if (desktop) desktop->Release();
  desktop = nullptr;
  OleUninitialize();
}

IShellFolder* TShellShare::Desktop() { return desktop; }

TIdList ToBytes(LPCITEMIDLIST list) { return shellview::CopyIdList(shellview::BytesOf(list)); }

int CompareAbsolute(LPCITEMIDLIST a, LPCITEMIDLIST b) {
  return shellview::CompareItems(TShellShare::Desktop(), 0, a, b);
}

bool IsDesktopIdList(LPCITEMIDLIST list) {
  return shellview::IdCount(shellview::BytesOf(list)) == 0;
}

}  // namespace thumbpanel
