#pragma once
// TFileDataObject: the file list of a dropped or pasted OLE data object, as the panel's
// owner events receive it.
#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/Handles.h"

namespace thumbpanel {

// Whether the data object offers CF_HDROP in global memory with the content aspect.
bool OffersFileList(IDataObject* data);

class TFileDataObject {
 public:
  explicit TFileDataObject(IDataObject* data) {
    if (data) data->AddRef();
    *data_.put() = data;
  }
  IDataObject* DataObject() const { return data_.get(); }
  // Number of files in the CF_HDROP data, asked once.
  int Count();
  // The file paths, read once on first use.
  const std::vector<std::string>& Files();

 private:
  // Runs read on the CF_HDROP block, if the object hands one out.
  template <typename Read>
  void WithDrop(Read read);
  ui::ComPtr<IDataObject> data_;
  std::optional<int> count_;
  std::optional<std::vector<std::string>> files_;
};

}  // namespace thumbpanel
