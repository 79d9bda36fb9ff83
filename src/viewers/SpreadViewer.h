#pragma once
// TForm7, the two-page spread viewer.
#include "ui/Form.h"

class TForm7 : public ui::Form {
 public:
  TForm7();
};
