#include "ui/Window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <vector>

#include "ui/Dialogs.h"

namespace ui {
namespace {
// The property that marks our windows and holds their object.
LPCSTR ObjectProperty() {
  static const ATOM atom = GlobalAddAtomA("Mirabelo.Window");
  return MAKEINTATOM(atom);
}
}  // namespace

Window::~Window() {
  if (hwnd_) {
    HWND h = hwnd_;
    Detach();
    DestroyWindow(h);
  }
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropA(hwnd, ObjectProperty())) : nullptr;
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, ObjectProperty(), this);
}

void Window::Detach() {
  if (subclassed_) RemoveWindowSubclass(hwnd_, SubclassProc, 1);
  RemovePropA(hwnd_, ObjectProperty());
  hwnd_ = nullptr;
  subclassed_ = false;
}

void Window::Create(const ClassSpec& cls, DWORD exStyle, DWORD style, const std::string& title,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(inst, cls.name, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = cls.style;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = cls.cursor ? cls.cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = cls.background;
    wc.hIcon = cls.icon;
    wc.lpszClassName = cls.name;
    RegisterClassExA(&wc);
  }
  CreateWindowExA(exStyle, cls.name, title.c_str(), style, x, y, width, height, parent, menuOrId,
                  inst, this);
}

void Window::CreateControl(const char* className, DWORD exStyle, DWORD style, int x, int y,
                           int width, int height, HWND parent, int id) {
  hwnd_ = CreateWindowExA(exStyle, className, "", style, x, y, width, height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return;
  Attach(hwnd_);
  subclassed_ = SetWindowSubclass(hwnd_, SubclassProc, 1, 0) != FALSE;
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = FromHandle(hwnd);
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->Attach(hwnd);
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR) {
  Window* self = FromHandle(hwnd);
  if (!self) return DefSubclassProc(hwnd, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

// Nothing escapes a window procedure: a handler's exception becomes the error box.
LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown error");
  }
  if (msg == WM_NCDESTROY) Detach();
  return result;
}

LRESULT Window::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
  return subclassed_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

namespace {
MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MouseButton::Right;
    default:
      return MouseButton::Middle;
  }
}
}  // namespace

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL: {
      HWND from =
          msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : reinterpret_cast<HWND>(lp);
      LRESULT result = 0;
      if (Window* child = FromHandle(from);
          child && child != this && child->Reflect(msg, wp, lp, result))
        return result;
      // Tooltips of a toolbar ask the toolbar's parent: offer them to every child.
      if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TTN_GETDISPINFOA) {
        for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
          if (Window* w = FromHandle(c); w && w->Reflect(msg, wp, lp, result)) return result;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(*this, ButtonOf(msg), wp, x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (OnMouseUp) OnMouseUp(*this, ButtonOf(msg), wp, x, y);
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(*this, wp, x, y);
      break;
    case WM_SIZE:
      if (OnResize) OnResize(*this);
      break;
  }
  return CallDefault(msg, wp, lp);
}

void Window::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, width, height, TRUE);
}

RECT Window::Bounds() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  if (HWND parent = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr)
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Window::Width() const {
  const RECT r = Bounds();
  return r.right - r.left;
}

int Window::Height() const {
  const RECT r = Bounds();
  return r.bottom - r.top;
}

int Window::ClientWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}

int Window::ClientHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Window::SetClientSize(int width, int height) {
  RECT outer{}, client{};
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  SetWindowPos(hwnd_, nullptr, 0, 0, (outer.right - outer.left) - client.right + width,
               (outer.bottom - outer.top) - client.bottom + height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::Show() { ShowWindow(hwnd_, SW_SHOW); }
void Window::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Window::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
void Window::SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }

std::string Window::Text() const {
  std::vector<char> buf(GetWindowTextLengthA(hwnd_) + 1);
  GetWindowTextA(hwnd_, buf.data(), int(buf.size()));
  return buf.data();
}

void Window::Invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }

void ShowException(const char* message) { MessageDlg(message, MB_ICONERROR | MB_OK); }

}  // namespace ui
