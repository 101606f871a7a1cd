// The controller's own dialog surface: the key panel of 32 push-like check boxes bound to
// `key_indicator`, and the painting of the window while it is minimised.
#include "app/controller_dialog.h"
#include "platform/data_exchange.h"

namespace mivo {

namespace {

// The check box of each `key_indicator` element, in the order of the elements: the digit
// keys first (0 to 9), then the call and navigation keys, the function keys FN1 to FN8, and
// the rest.
constexpr int kKeyIndicatorBoxes[32] = {
    1028,                                                  // 0 "0 / +"
    1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027,  // 1 to 9
    1013,                                                  // 10 "CALL"
    1016,                                                  // 11 "CANCEL"
    1015,                                                  // 12 "DOWN"
    1018,                                                  // 13 "END CALL"
    1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010,        // 14 to 21 "FN1" to "FN8"
    1030,                                                  // 22 "#"
    1012,                                                  // 23 "HOLD"
    1000,                                                  // 24 "MUTE"
    1011,                                                  // 25 "SKYPE"
    1029,                                                  // 26 "*"
    1014,                                                  // 27 "UP"
    1017,                                                  // 28 "VOICE MAIL"
    1002,                                                  // 29 "VOL-"
    1001,                                                  // 30 "VOL+"
    1031,                                                  // 31 "NO USE"
};

}  // namespace

// Runs only through the framework: into the boxes when the dialog initialises, back into the
// field when its OK processing runs.
void ControllerDialog::DoDataExchange(DataExchange& dx) {
  Dialog::DoDataExchange(dx);
  for (int i = 0; i < 32; ++i) DDX_Check(dx, kKeyIndicatorBoxes[i], key_indicator[i]);
}

void ControllerDialog::OnPaint() {
  if (!host_.window.IsIconic(m_hWnd)) {
    Default();
    return;
  }
  PaintStruct paint;
  const DeviceContext dc = host_.window.BeginPaint(m_hWnd, &paint);
  if (dc == 0) return;
  host_.window.SendMessage(m_hWnd, WM_ICONERASEBKGND, static_cast<WPARAM>(dc), 0);
  // The icon centred in the client area.
  const int icon_width = host_.window.GetSystemMetrics(SM_CXICON);
  const int icon_height = host_.window.GetSystemMetrics(SM_CYICON);
  Rect client;
  host_.window.GetClientRect(m_hWnd, &client);
  const int x = (client.right - client.left - icon_width + 1) / 2;
  const int y = (client.bottom - client.top - icon_height + 1) / 2;
  host_.window.DrawIcon(dc, x, y, icon);
  host_.window.EndPaint(m_hWnd, paint);
}

IconHandle ControllerDialog::OnQueryDragIcon() const {
  return icon;
}

}  // namespace mivo
