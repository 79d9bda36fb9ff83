#pragma once
// TForm8, the loupe over the spread viewer.
#include "ui/Form.h"

class TForm8 : public ui::Form {
 public:
  TForm8();
};
