#pragma once
// TForm4, the splash window shown while the program creates its windows.
#include "ui/Form.h"

class TForm4 : public ui::Form {
 public:
  TForm4();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
};
