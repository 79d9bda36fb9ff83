#pragma once
// The window framework's base: one window procedure for every window of the program and
// every subclassed common control, dispatching to a virtual handler. `this` is stored in a
// window property of the program's own at WM_NCCREATE (own classes) or when a control is
// subclassed, so a window of another kind (whose user data is its own) is never taken for
// one of ours.
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

enum class MouseButton { Left, Right, Middle };

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  // The object of one of our windows; nullptr for any other window.
  static Window* FromHandle(HWND hwnd);

  // Geometry relative to the parent's client area (screen for top-level windows).
  void SetBounds(int left, int top, int width, int height);
  RECT Bounds() const;
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;
  // Outer size for the given client size (top-level windows).
  void SetClientSize(int width, int height);

  void Show();
  void Hide();
  bool Visible() const;
  void SetText(const std::string& text);
  std::string Text() const;
  void Invalidate();

  // Events, fired by the default handler. Coordinates are client coordinates.
  std::function<void(Window& sender, MouseButton, WPARAM keys, int x, int y)> OnMouseDown;
  std::function<void(Window& sender, WPARAM keys, int x, int y)> OnMouseMove;
  std::function<void(Window& sender, MouseButton, WPARAM keys, int x, int y)> OnMouseUp;
  std::function<void(Window& sender)> OnResize;

 protected:
  struct ClassSpec {
    const char* name;
    UINT style = CS_DBLCLKS;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HCURSOR cursor = nullptr;  // arrow when null
    HICON icon = nullptr;
  };
  // Creates a window of one of the program's own classes (registered on first use).
  void Create(const ClassSpec& cls, DWORD exStyle, DWORD style, const std::string& title, int x,
              int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);
  // Creates a system control (tree view, toolbar ...) and subclasses it.
  void CreateControl(const char* className, DWORD exStyle, DWORD style, int x, int y, int width,
                     int height, HWND parent, int id = 0);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

  // Notifications from child controls come back to the child's object first
  // (WM_COMMAND, WM_NOTIFY). Return true when handled, with the result in result.
  virtual bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR data);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void Attach(HWND hwnd);
  void Detach();

  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
};

// Shows an exception's text in the program's standard error box.
void ShowException(const char* message);

}  // namespace ui
