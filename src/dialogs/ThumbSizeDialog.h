#pragma once
// TForm3, the thumbnail-size dialog: one scroll bar whose every change reloads the
// thumbnail panel at the new size (away to an empty dummy folder, size, hover boxes, back).
#include <functional>
#include <string>

#include "ui/Form.h"

class TForm3 : public ui::Form {
 public:
  TForm3();

  HWND ScrollBar1 = nullptr;
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;

  // Hooks to the main window's thumbnail panel and hidden image boxes.
  std::function<int()> GetImageHeight;         // ViewImage.ImageHeight
  std::function<std::string()> GetFolderPath;  // panel's FolderPath
  std::function<void(const std::string& path)> SetFolderPath;
  std::function<void(int size)> SetImageSize;     // ImageWidth and ImageHeight
  std::function<void(int size)> PlaceImageBoxes;  // ImgBox1..3, size x size

  // The exe's folder + "dmyfld": kept empty, made when missing, never deleted.
  std::string DummyFolder;

  int Position() const { return position_; }
  // Moves the bar (kept within 20..500); a real change is applied at once.
  void SetPosition(int position);

  void FormShow();
  void ScrollBar1Change();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override { ModalResult = IDCANCEL; }

 private:
  int position_ = 32;
};
