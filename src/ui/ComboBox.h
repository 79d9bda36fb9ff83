#pragma once
// A drop-down list combo box.
#include <functional>
#include <string>

#include "ui/Window.h"

namespace ui {

class ComboBox : public Window {
 public:
  void CreateComboBox(HWND parent, int x, int y, int width, int visibleRows);
  int AddItem(const std::string& text);
  void InsertItem(int index, const std::string& text);
  void DeleteItem(int index);
  void Clear();
  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;
  void SetItemIndex(int index);

  std::function<void(ComboBox& sender)> OnChange;
  std::function<void(ComboBox& sender)> OnDropDown;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  int visibleRows_ = 10;
};

}  // namespace ui
