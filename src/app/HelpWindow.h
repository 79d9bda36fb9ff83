#pragma once
// TForm2, the help and version window.
#include "ui/Form.h"

class TForm2 : public ui::Form {
 public:
  TForm2();
};
