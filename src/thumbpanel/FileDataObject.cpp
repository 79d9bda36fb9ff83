#include "thumbpanel/FileDataObject.h"

#include <shellapi.h>

#include "fsservices/DropTarget.h"

namespace thumbpanel {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

bool OffersFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

template <typename Read>
void TFileDataObject::WithDrop(Read read) {
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (!data_ || FAILED(data_->GetData(&format, &medium))) return;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) read(static_cast<HDROP>(medium.hGlobal));
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
    WithDrop([this](HDROP drop) { files_ = fsservices::DroppedFilePaths(drop).Files; });
  }
  return *files_;
}

}  // namespace thumbpanel
