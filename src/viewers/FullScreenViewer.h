#pragma once
// TForm5, the full-screen viewer.
#include "ui/Form.h"

class TForm5 : public ui::Form {
 public:
  TForm5();
};
