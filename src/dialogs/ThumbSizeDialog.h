#pragma once
// TForm3, the thumbnail-size dialog.
#include "ui/Form.h"

class TForm3 : public ui::Form {
 public:
  TForm3();
};
