#include "platform/standins/handset_window.h"

#include <cstring>
#include <utility>

#include "core/constants.h"
#include "platform/sim/keyboard_map.h"
#include "platform/standins/keypad.h"
#include "platform/standins/lcd_painter.h"

namespace mivo::standins {

namespace {

constexpr char kClassName[] = "MivoRunVirtualHandset";
constexpr char kCaption[] = "Tr520 virtual handset";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The layout of the client area: the handset on the left (display, LEDs, keypad), the
// far-end panel on the right.
constexpr int kLcdLeft = 14, kLcdTop = 12;
constexpr int kLedLeft = kLcdLeft + 10, kLedTop = kLcdTop + kLcdFrameHeight + 10;
constexpr int kPadLeft = kLcdLeft + (kLcdFrameWidth - kPadWidth) / 2;
constexpr int kPadTop = kLedTop + kLedStripHeight + 12;
constexpr int kPanelLeft = kLcdLeft + kLcdFrameWidth + 16, kPanelTop = 6;
constexpr int kClientWidth = kPanelLeft + kPanelWidth + 12;
constexpr int kClientHeight = kPadTop + kPadHeight + 12;
static_assert(kClientWidth <= 560 && kClientHeight <= 520, "the window stays small");

constexpr RECT kDisplayArea{kLcdLeft, kLcdTop, kLcdLeft + kLcdFrameWidth,
                            kLedTop + kLedStripHeight};
constexpr RECT kKeypadArea{kPadLeft, kPadTop, kPadLeft + kPadWidth, kPadTop + kPadHeight};

// The key's scan code with its extended-key bit, from a keyboard message's lParam.
unsigned ScanOf(::LPARAM lparam) {
  return static_cast<unsigned>((lparam >> 16) & 0x1FF);
}

bool Repeated(::LPARAM lparam) {
  return (lparam & (1L << 30)) != 0;
}

// The PC keys that come as virtual keys only (no character).
sim::TermKey KeyOfVirtualKey(WPARAM vk) {
  sim::TermKey key;
  switch (vk) {
    case VK_UP:
      key.kind = sim::TermKey::Kind::kUp;
      break;
    case VK_DOWN:
      key.kind = sim::TermKey::Kind::kDown;
      break;
    case VK_LEFT:
      key.kind = sim::TermKey::Kind::kLeft;
      break;
    case VK_RIGHT:
      key.kind = sim::TermKey::Kind::kRight;
      break;
    case VK_RETURN:
      key.kind = sim::TermKey::Kind::kEnter;
      break;
    case VK_BACK:
      key.kind = sim::TermKey::Kind::kBackspace;
      break;
    case VK_ESCAPE:
      key.kind = sim::TermKey::Kind::kEscape;
      break;
    default:
      break;  // kOther
  }
  return key;
}

int PadIndexOfCode(int code) {
  for (std::size_t i = 0; i < PadKeyCount(); ++i) {
    if (PadKeyAt(i).code == code) return static_cast<int>(i);
  }
  return -1;
}

bool Blank(const sim::SimHandset& model) {
  for (int r = 0; r < 4; ++r) {
    if (!model.row(r).items.empty() || model.row(r).style != 0) return false;
  }
  return model.leds() == sim::Leds{};
}

}  // namespace

HandsetWindow::HandsetWindow(HINSTANCE module, sim::SimHandset& model, sim::DevicePort& port,
                             sim::SimWorld& world, LineSender send_line)
    : module_(module),
      model_(model),
      port_(port),
      world_(world),
      panel_(
          world, std::move(send_line), [this] { Unplug(); }, [this] { Plug(); }) {}

HandsetWindow::~HandsetWindow() {
  Close();
}

RECT HandsetWindow::GlassArea() {
  return GlassRect(kLcdLeft, kLcdTop);
}

bool HandsetWindow::KeyArea(const char* label, RECT* area) {
  for (std::size_t i = 0; i < PadKeyCount(); ++i) {
    if (std::strcmp(PadKeyAt(i).label, label) == 0) {
      *area = PadKeyRect(kPadLeft, kPadTop, i);
      return true;
    }
  }
  return false;
}

void HandsetWindow::Show(mivo::HWND controller) {
  controller_ = controller;
  if (window_ != nullptr) return;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &HandsetWindow::Proc;
  window_class.hInstance = module_;
  window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window_class.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  window_class.lpszClassName = kClassName;
  ::RegisterClassA(&window_class);  // a second window of the library finds it registered
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRect(&frame, kStyle, FALSE);
  ::CreateWindowExA(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, module_,
                    this);
  if (window_ == nullptr) return;
  panel_.Create(module_, window_, kPanelLeft, kPanelTop);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  if (::GetActiveWindow() == window_) ::SetFocus(window_);
}

void HandsetWindow::Close() {
  controller_ = nullptr;  // a key still down is released nowhere
  down_pad_ = down_code_ = -1;
  down_source_ = Source::kNone;
  if (window_ != nullptr) ::DestroyWindow(window_);
  window_ = nullptr;
}

void HandsetWindow::Refresh() {
  bool changed = model_.leds() != shown_leds_ || model_.rotated() != shown_rotated_ ||
                 world_.handset.plugged != shown_plugged_;
  for (int r = 0; r < 4 && !changed; ++r) changed = model_.row(r) != shown_rows_[r];
  if (changed) InvalidateDisplay();
}

void HandsetWindow::InvalidateDisplay() {
  if (window_ != nullptr) ::InvalidateRect(window_, &kDisplayArea, FALSE);
}

void HandsetWindow::InvalidateKeypad() {
  if (window_ != nullptr) ::InvalidateRect(window_, &kKeypadArea, FALSE);
}

void HandsetWindow::Press(int pad_index, int code, Source source, unsigned scan) {
  Release();
  // A handset that is out sends nothing.
  if (!world_.handset.plugged && Blank(model_)) return;
  down_pad_ = pad_index;
  down_code_ = code;
  down_source_ = source;
  down_scan_ = scan;
  port_.PostTo(controller_, MSG_HANDSET_KEY, 1, code);
  InvalidateKeypad();
}

void HandsetWindow::Release() {
  if (down_source_ == Source::kNone) return;
  down_pad_ = down_code_ = -1;
  down_source_ = Source::kNone;
  port_.PostTo(controller_, MSG_HANDSET_KEY, 1, KEY_RELEASE);
  InvalidateKeypad();
}

void HandsetWindow::KeyboardDown(int code, ::LPARAM lparam) {
  Press(PadIndexOfCode(code), code, Source::kKeyboard, ScanOf(lparam));
}

void HandsetWindow::Unplug() {
  Release();
  world_.handset.plugged = false;
  model_.LosePower();
  port_.PostTo(controller_, MSG_HANDSET_REMOVED, 0, 0);
  Refresh();
}

void HandsetWindow::Plug() {
  world_.handset.plugged = true;
  port_.PostTo(controller_, MSG_HANDSET_ARRIVED, 0, 0);
  Refresh();
}

void HandsetWindow::Paint(HDC dc, const RECT& area) {
  HBRUSH background = ::GetSysColorBrush(COLOR_BTNFACE);
  ::FillRect(dc, &area, background);
  // The handset's body behind the display and the keys.
  {
    HBRUSH body = ::CreateSolidBrush(RGB(206, 210, 216));
    HPEN edge = ::CreatePen(PS_SOLID, 1, RGB(150, 154, 160));
    HGDIOBJ old_brush = ::SelectObject(dc, body);
    HGDIOBJ old_pen = ::SelectObject(dc, edge);
    ::RoundRect(dc, kLcdLeft - 8, kLcdTop - 6, kLcdLeft + kLcdFrameWidth + 8, kClientHeight - 4, 24,
                24);
    ::SelectObject(dc, old_pen);
    ::SelectObject(dc, old_brush);
    ::DeleteObject(edge);
    ::DeleteObject(body);
  }
  const bool unplugged = !world_.handset.plugged && Blank(model_);
  PaintLcd(dc, kLcdLeft, kLcdTop, model_, !unplugged);
  PaintLeds(dc, kLedLeft, kLedTop, kLcdFrameWidth - 20, model_.leds());
  PaintKeypad(dc, kPadLeft, kPadTop, down_pad_);
  panel_.PaintFrames(dc);
  for (int r = 0; r < 4; ++r) shown_rows_[r] = model_.row(r);
  shown_leds_ = model_.leds();
  shown_rotated_ = model_.rotated();
  shown_plugged_ = world_.handset.plugged;
}

::LRESULT CALLBACK HandsetWindow::Proc(::HWND window, ::UINT message, ::WPARAM wparam,
                                       ::LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<HandsetWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<HandsetWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) {
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

::LRESULT HandsetWindow::Handle(::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // all of it is painted, off screen first
    case WM_PRINTCLIENT: {
      RECT client;
      ::GetClientRect(window_, &client);
      Paint(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window_, &paint);
      RECT client;
      ::GetClientRect(window_, &client);
      HDC memory = ::CreateCompatibleDC(dc);
      HBITMAP picture = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
      if (memory != nullptr && picture != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, picture);
        Paint(memory, client);
        ::BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top,
                 paint.rcPaint.right - paint.rcPaint.left, paint.rcPaint.bottom - paint.rcPaint.top,
                 memory, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
        ::SelectObject(memory, old);
      } else {
        Paint(dc, client);
      }
      if (picture != nullptr) ::DeleteObject(picture);
      if (memory != nullptr) ::DeleteDC(memory);
      ::EndPaint(window_, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      ::SetFocus(window_);
      const POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const int pad = PadKeyAtPoint(kPadLeft, kPadTop, point);
      if (pad >= 0) {
        ::SetCapture(window_);
        Press(pad, PadKeyAt(static_cast<std::size_t>(pad)).code, Source::kMouse, 0);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (down_source_ == Source::kMouse) {
        // Leaving the key lets it go.
        const POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (PadKeyAtPoint(kPadLeft, kPadTop, point) != down_pad_) {
          Release();
          ::ReleaseCapture();
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (down_source_ == Source::kMouse) {
        Release();
        ::ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (down_source_ == Source::kMouse) Release();
      return 0;
    case WM_KEYDOWN: {
      if (Repeated(lparam)) return 0;  // the key is held: no further presses
      const sim::KeyAction action = sim::ActionOfKey(KeyOfVirtualKey(wparam));
      if (action.kind == sim::KeyAction::Kind::kHandsetKey) KeyboardDown(action.code, lparam);
      return 0;
    }
    case WM_CHAR: {
      if (Repeated(lparam) || wparam >= 0x80) return 0;
      sim::TermKey key;
      key.kind = sim::TermKey::Kind::kChar;
      key.ch = static_cast<char>(wparam);
      const sim::KeyAction action = sim::ActionOfKey(key);
      if (action.kind == sim::KeyAction::Kind::kHandsetKey) KeyboardDown(action.code, lparam);
      return 0;
    }
    case WM_KEYUP:
      if (down_source_ == Source::kKeyboard && ScanOf(lparam) == down_scan_) Release();
      return 0;
    case WM_KILLFOCUS:
      // The key's release would go to another window.
      if (down_source_ == Source::kKeyboard) Release();
      return 0;
    case WM_COMMAND: {
      const bool handled = panel_.OnCommand(wparam);
      const int code = HIWORD(wparam);
      // After a button or a language, the keyboard goes to the handset again.
      if (code == BN_CLICKED ||
          (LOWORD(wparam) == FarEndPanel::kLanguageBox && code == CBN_CLOSEUP)) {
        ::SetFocus(window_);
      }
      return handled ? 0 : ::DefWindowProcA(window_, message, wparam, lparam);
    }
    case WM_ACTIVATE:
      // Activated, the window takes the keyboard (not one of the panel's controls).
      if (LOWORD(wparam) != WA_INACTIVE && HIWORD(wparam) == 0) {
        ::SetFocus(window_);
        return 0;
      }
      return ::DefWindowProcA(window_, message, wparam, lparam);
    case WM_CLOSE:
      // The window goes with the controller only; closing it puts it out of the way.
      ::ShowWindow(window_, SW_MINIMIZE);
      return 0;
    default:
      return ::DefWindowProcA(window_, message, wparam, lparam);
  }
}

}  // namespace mivo::standins
