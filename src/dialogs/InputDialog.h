#pragma once
// TPasswordDlg, the program's one single-line input dialog.
#include "ui/Form.h"

class TPasswordDlg : public ui::Form {
 public:
  TPasswordDlg();
};
