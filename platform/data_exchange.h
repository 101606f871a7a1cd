// Dialog data exchange: moving values between a dialog's fields and its controls, in one
// direction per run (into the controls when the dialog initialises, back into the fields when
// its OK processing runs), and binding control objects to the dialog's controls.
#pragma once

#include <cstdint>

#include "platform/framework.h"
#include "platform/win_types.h"

namespace mivo {

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool save_and_validate)
      : dialog_(dialog), save_and_validate_(save_and_validate) {}

  Dialog& dialog() const { return dialog_; }
  // True: controls into fields (OK processing); false: fields into controls (initialisation).
  bool save_and_validate() const { return save_and_validate_; }
  // Whether every exchange so far succeeded.
  bool ok() const { return ok_; }
  void Fail() { ok_ = false; }

 private:
  Dialog& dialog_;
  bool save_and_validate_;
  bool ok_ = true;
};

// A control of a dialog, held by the dialog as a field and bound to the control's window by
// DDX_Control.
class DialogControl {
 public:
  explicit DialogControl(WindowHost& window_host) : window_host_(window_host) {}
  virtual ~DialogControl() = default;
  DialogControl(const DialogControl&) = delete;
  DialogControl& operator=(const DialogControl&) = delete;

  HWND m_hWnd = nullptr;

 protected:
  WindowHost& window_host_;
};

class Button : public DialogControl {
 public:
  using DialogControl::DialogControl;
  // Puts `bitmap` on the button (BM_SETIMAGE); returns the bitmap it showed before. The
  // button does not take the bitmap over: its owner deletes it after the button is gone.
  BitmapHandle SetBitmap(BitmapHandle bitmap);
};

// Binds `control` to the dialog's control `id` the first time it runs; a missing control
// fails the exchange.
void DDX_Control(DataExchange& dx, int id, DialogControl& control);
// Exchanges the check state of button `id` with `value` (0 clear, 1 checked, 2 indeterminate).
// A value outside 0..2 going into the control is taken as 0.
void DDX_Check(DataExchange& dx, int id, std::int32_t& value);

}  // namespace mivo
