#include "platform/framework.h"

#include "platform/data_exchange.h"

namespace mivo {

Dialog::Dialog(int template_id, WindowHost& window_host)
    : window_host_(window_host), template_id_(template_id) {}

int Dialog::DoModal() {
  return window_host_.RunModal(*this);
}

LRESULT Dialog::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  // Handlers may call Default() for the message they handle; nested messages (a SendMessage
  // from inside a handler) keep their own copy.
  const UINT saved_message = current_message_;
  const WPARAM saved_wparam = current_wparam_;
  const LPARAM saved_lparam = current_lparam_;
  current_message_ = message;
  current_wparam_ = wparam;
  current_lparam_ = lparam;

  LRESULT result = 0;
  if (message == WM_INITDIALOG) {
    result = OnInitDialog() ? 1 : 0;
  } else if (!OnWndMsg(message, wparam, lparam, &result)) {
    result = DefWindowProc(message, wparam, lparam);
  }

  current_message_ = saved_message;
  current_wparam_ = saved_wparam;
  current_lparam_ = saved_lparam;
  return result;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool Dialog::UpdateData(bool save_and_validate) {
  DataExchange dx(*this, save_and_validate);
  DoDataExchange(dx);
  return dx.ok();
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool Dialog::EndDialog(int result) {
  return window_host_.EndDialog(m_hWnd, result);
}

LRESULT Dialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return window_host_.DefWindowProc(m_hWnd, message, wparam, lparam);
}

bool Dialog::OnWndMsg(UINT message, WPARAM wparam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND) return false;
  // A command is routed by its id, the low word.
  const auto id = static_cast<int>(wparam & 0xFFFF);
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  } else {
    return false;
  }
  *result = 0;
  return true;
}

LRESULT Dialog::Default() {
  return DefWindowProc(current_message_, current_wparam_, current_lparam_);
}

bool Dialog::DestroyWindow() {
  return window_host_.DestroyWindow(m_hWnd);
}

}  // namespace mivo
