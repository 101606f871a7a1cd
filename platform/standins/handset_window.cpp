#include "platform/standins/handset_window.h"

#include <string>

namespace mivo::standins {

namespace {

constexpr char kClassName[] = "MivoRunVirtualHandset";
constexpr char kCaption[] = "Tr520 virtual handset";
constexpr int kLineHeight = 20;

}  // namespace

HandsetWindow::HandsetWindow(HINSTANCE module, sim::SimHandset& model, sim::DevicePort&,
                             sim::SimWorld&)
    : module_(module), model_(model) {}

HandsetWindow::~HandsetWindow() {
  Close();
}

void HandsetWindow::Show(mivo::HWND) {
  if (window_ != nullptr) return;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &HandsetWindow::Proc;
  window_class.hInstance = module_;
  window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  ::RegisterClassA(&window_class);
  window_ =
      ::CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX,
                        CW_USEDEFAULT, CW_USEDEFAULT, 480, 200, nullptr, nullptr, module_, nullptr);
  if (window_ == nullptr) return;
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

void HandsetWindow::Refresh() {
  if (window_ != nullptr) ::InvalidateRect(window_, nullptr, TRUE);
}

void HandsetWindow::Close() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK HandsetWindow::Proc(::HWND window, ::UINT message, ::WPARAM wparam,
                                     ::LPARAM lparam) {
  auto* self = reinterpret_cast<HandsetWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_CLOSE) return 0;  // the window goes with fCloseDevice only
  if (message != WM_PAINT || self == nullptr) {
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  ::SetBkMode(dc, TRANSPARENT);
  for (int r = 3; r >= 0; --r) {
    const std::string line = self->model_.RowLine(r);
    ::TextOutA(dc, 8, 8 + (3 - r) * kLineHeight, line.c_str(), static_cast<int>(line.size()));
  }
  const sim::Leds& leds = self->model_.leds();
  const std::string text = "main " + std::to_string(leds.main) + "  hold " +
                           std::to_string(leds.hold) + "  mute " + std::to_string(leds.mute) +
                           "  voicemail " + std::to_string(leds.voicemail);
  ::TextOutA(dc, 8, 8 + 5 * kLineHeight, text.c_str(), static_cast<int>(text.size()));
  ::EndPaint(window, &paint);
  return 0;
}

}  // namespace mivo::standins
