#pragma once
// TForm2, the help and version window: a fixed, read-only text.
#include "ui/Form.h"

class TForm2 : public ui::Form {
 public:
  TForm2();
  HWND TextBox() const { return text_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND text_ = nullptr;
};
