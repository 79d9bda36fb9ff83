#pragma once
// A multi-line tab strip with the tabs at the bottom and fixed tab size.
#include <functional>
#include <string>

#include "ui/Window.h"

namespace ui {

class TabControl : public Window {
 public:
  void CreateTabControl(HWND parent, int x, int y, int width, int height, int tabWidth,
                        int tabHeight);
  int AddTab(const std::string& caption);
  void DeleteTab(int index);
  void Clear();
  int Count() const;
  int RowCount() const;
  int TabIndex() const;
  void SetTabIndex(int index);  // -1 selects none
  std::string Caption(int index) const;
  int TabAt(int x, int y) const;

  std::function<void(TabControl& sender)> OnChange;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

}  // namespace ui
