#include "thumbpanel/FileDataObject.h"

#include <shellapi.h>

namespace thumbpanel {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

bool OffersFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

std::vector<std::string> DropFilePaths(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    if (length == 0 || length >= MAX_PATH) continue;
    char path[MAX_PATH] = {};
    if (DragQueryFileA(drop, i, path, MAX_PATH) == length) files.emplace_back(path, length);
  }
  return files;
}

template <typename Read>
void TFileDataObject::WithDrop(Read read) {
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (!data_ || FAILED(data_->GetData(&format, &medium))) return;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal)
    read(static_cast<HDROP>(medium.hGlobal));
  ReleaseStgMedium(&medium);
}

int TFileDataObject::Count() {
  if (!count_) {
    count_ = 0;
    WithDrop([this](HDROP drop) { count_ = int(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0)); });
  }
  return *count_;
}

const std::vector<std::string>& TFileDataObject::Files() {
  if (!files_) {
    files_.emplace();
    WithDrop([this](HDROP drop) { files_ = DropFilePaths(drop); });
  }
  return *files_;
}

}  // namespace thumbpanel
