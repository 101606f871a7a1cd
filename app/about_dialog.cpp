#include "app/about_dialog.h"

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {
// The About box's background and the colour behind its static controls.
constexpr COLORREF kSilver = Rgb(192, 192, 192);
}  // namespace

AboutDialog::AboutDialog(WindowHost& window_host)
    : Dialog(IDD_ABOUT, window_host), ok_button_(window_host) {}

AboutDialog::~AboutDialog() {
  if (background_brush_ != 0) window_host_.DeleteObject(background_brush_);
  if (ok_bitmap_ != 0) window_host_.DeleteObject(ok_bitmap_);
}

void AboutDialog::set_caption_text(const char* text) {
  CopyText(caption_text_, text);
}

void AboutDialog::DoDataExchange(DataExchange& dx) {
  DDX_Control(dx, IDOK, ok_button_);
}

bool AboutDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  window_host_.SetWindowText(m_hWnd, caption_text_);
  // A missing bitmap leaves the button without a picture.
  ok_bitmap_ = window_host_.LoadBitmap(IDB_ABOUT_OK);
  if (ok_bitmap_ != 0 && ok_button_.m_hWnd != nullptr) ok_button_.SetBitmap(ok_bitmap_);
  background_brush_ = window_host_.CreateSolidBrush(kSilver);
  return true;
}

bool AboutDialog::OnWndMsg(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    *result = static_cast<LRESULT>(
        OnCtlColor(static_cast<DeviceContext>(wparam), message - WM_CTLCOLORMSGBOX));
    return true;
  }
  return Dialog::OnWndMsg(message, wparam, lparam, result);
}

BrushHandle AboutDialog::OnCtlColor(DeviceContext dc, UINT control_kind) {
  const auto base_brush = static_cast<BrushHandle>(Default());
  if (control_kind != CTLCOLOR_STATIC) return base_brush;
  window_host_.SetBkMode(dc, TRANSPARENT);
  window_host_.SetBkColor(dc, kSilver);
  // Without a brush of its own (the system refused one) the control keeps the default.
  return background_brush_ != 0 ? background_brush_ : base_brush;
}

void ControllerDialog::OnAbout() {
  // A new box every time, so it shows the About text of the moment.
  AboutDialog about(host_.window);
  about.set_caption_text(text_about);
  about.DoModal();
}

}  // namespace mivo
