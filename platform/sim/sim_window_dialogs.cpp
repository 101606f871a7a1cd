// The simulated window system's dialog surfaces: the About box's modal run, the controls of
// the dialogs (the key panel's check boxes, the buttons), the default processing of a dialog,
// the end of a modal dialog, GDI objects and the painting of the minimised window.
#include "platform/framework.h"
#include "platform/sim/sim_window.h"

namespace mivo::sim {

namespace {

constexpr std::uintptr_t kBoxControlBase = 0x12000;
// Device contexts: the controller window's paint context and the box's drawing context.
constexpr DeviceContext kMainPaintDc = 0x60000;
constexpr DeviceContext kBoxDc = 0x61000;
// The colour the system fills dialogs and controls with by default (COLOR_3DFACE).
constexpr COLORREF kFaceColour = Rgb(240, 240, 240);
// The size of a large icon.
constexpr int kIconSize = 32;
// BN_CLICKED, the high word of a button's WM_COMMAND.
constexpr WPARAM kButtonClicked = 0;

}  // namespace

Rect SimWindowHost::ClientArea() {
  // The key panel's 322 by 177 dialog units in its 9-point font on a 96 DPI screen.
  Rect rect;
  rect.right = 483;
  rect.bottom = 265;
  return rect;
}

SimDialogControls* SimWindowHost::ControlsOf(HWND dialog) {
  if (InMainWindow(dialog)) return &main_controls_;
  if (box_open_ && dialog == BoxWindow()) return &box_controls_;
  return nullptr;
}

// ---- The box ----

int SimWindowHost::RunBox(Dialog& dialog) {
  // A box on top of the controller: it shows, initialises and draws itself; its modal loop
  // dispatches the messages already posted to the controller, as a message box's does; then
  // the user presses OK.
  box_open_ = true;
  box_ending_ = false;
  box_result_ = 0;
  last_box_ = BoxRecord{};
  last_box_.shown = true;
  box_controls_.Create(dialog.TemplateId(), kBoxControlBase);
  dialog.m_hWnd = BoxWindow();
  dialog.WindowProc(WM_INITDIALOG, 0, 0);

  if (!box_ending_) {
    last_box_.dialog = DrawBoxPart(dialog, CTLCOLOR_DLG, BoxWindow());
    for (const SimDialogControls::Control& control : box_controls_.controls()) {
      if (control.kind == SimDialogControls::Kind::kStatic) {
        last_box_.picture = DrawBoxPart(dialog, CTLCOLOR_STATIC, control.window);
      } else {
        last_box_.ok_button = DrawBoxPart(dialog, CTLCOLOR_BTN, control.window);
      }
    }
    if (const SimDialogControls::Control* ok = box_controls_.FindById(IDOK)) {
      const SimGdi::Object* bitmap = gdi_.Find(ok->image);
      if (bitmap != nullptr && bitmap->kind == SimGdi::Kind::kBitmap) {
        last_box_.ok_bitmap_resource = bitmap->resource_id;
      }
    }
    loop_.PumpMessages();
  }
  if (!box_ending_) {
    const SimDialogControls::Control* ok = box_controls_.FindById(IDOK);
    dialog.WindowProc(WM_COMMAND, IDOK | kButtonClicked << 16,
                      reinterpret_cast<LPARAM>(ok != nullptr ? ok->window : nullptr));
  }
  // A box that does not end on OK is closed by the user all the same.
  const int result = box_ending_ ? box_result_ : IDOK;
  dialog.WindowProc(WM_DESTROY, 0, 0);
  box_controls_.Destroy();
  box_open_ = false;
  box_ending_ = false;
  dialog.m_hWnd = nullptr;
  last_box_.result = result;
  return result;
}

SimWindowHost::BoxRecord::Drawn SimWindowHost::DrawBoxPart(Dialog& dialog, UINT kind,
                                                           HWND control) {
  gdi_.ResetDc(kBoxDc);
  BoxRecord::Drawn drawn;
  drawn.brush = static_cast<BrushHandle>(dialog.WindowProc(
      WM_CTLCOLORMSGBOX + kind, static_cast<WPARAM>(kBoxDc), reinterpret_cast<LPARAM>(control)));
  const SimGdi::Object* brush = gdi_.Find(drawn.brush);
  if (brush != nullptr && brush->kind == SimGdi::Kind::kBrush) drawn.brush_colour = brush->colour;
  const SimGdi::DcState state = gdi_.Dc(kBoxDc);
  drawn.bk_mode = state.bk_mode;
  drawn.bk_colour = state.bk_colour;
  return drawn;
}

// ---- Dialogs ----

LRESULT SimWindowHost::DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    // Controls and dialogs are drawn on the system's face colour.
    COLORREF old;
    gdi_.SetBkColor(static_cast<DeviceContext>(wparam), kFaceColour, &old);
    return static_cast<LRESULT>(SimGdi::SystemFaceBrush());
  }
  if (!InMainWindow(window)) return 0;
  switch (message) {
    case WM_CLOSE:
      // A dialog's default processing turns a close into a click of its Cancel button
      // (BN_CLICKED from IDCANCEL; the key panel has no such control, so lParam is null).
      loop_.Post(WM_COMMAND, IDCANCEL | kButtonClicked << 16, 0);
      return 0;
    case WM_ICONERASEBKGND:
      paint_log_.push_back("EraseIconBackground");
      return 1;
    default:
      return 0;
  }
}

bool SimWindowHost::EndDialog(HWND dialog, int result) {
  if (box_open_ && dialog == BoxWindow()) {
    box_ending_ = true;
    box_result_ = result;
    return true;
  }
  if (!InMainWindow(dialog)) return false;
  main_ending_ = true;
  dialog_result_ = result;
  // Outside any message's handling the loop sees the mark at once.
  if (dispatch_depth_ == 0) DestroyMainWindow();
  return true;
}

HWND SimWindowHost::GetDlgItem(HWND dialog, int id) {
  SimDialogControls* controls = ControlsOf(dialog);
  const SimDialogControls::Control* control = controls ? controls->FindById(id) : nullptr;
  return control != nullptr ? control->window : nullptr;
}

UINT SimWindowHost::IsDlgButtonChecked(HWND dialog, int id) {
  SimDialogControls* controls = ControlsOf(dialog);
  const SimDialogControls::Control* control = controls ? controls->FindById(id) : nullptr;
  return control != nullptr ? control->check : 0;
}

bool SimWindowHost::CheckDlgButton(HWND dialog, int id, UINT state) {
  SimDialogControls* controls = ControlsOf(dialog);
  SimDialogControls::Control* control = controls ? controls->FindById(id) : nullptr;
  if (control == nullptr) return false;
  // Only a check box keeps a state; a push button takes the call and stays as it is.
  if (control->kind == SimDialogControls::Kind::kCheckBox && state <= 2) control->check = state;
  return true;
}

bool SimWindowHost::ClickControl(int id) {
  if (!InMainWindow(MainWindow())) return false;
  SimDialogControls::Control* control = main_controls_.FindById(id);
  if (control == nullptr) return false;
  // An automatic check box toggles itself before it tells its dialog.
  if (control->kind == SimDialogControls::Kind::kCheckBox) {
    control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  }
  loop_.Send(WM_COMMAND, static_cast<WPARAM>(id) | kButtonClicked << 16,
             reinterpret_cast<LPARAM>(control->window));
  return true;
}

UINT SimWindowHost::CheckState(int id) const {
  const SimDialogControls::Control* control = main_controls_.FindById(id);
  return control != nullptr ? control->check : 0;
}

// ---- GDI ----

BitmapHandle SimWindowHost::LoadBitmap(int resource_id) {
  return gdi_.LoadBitmap(resource_id);
}

BrushHandle SimWindowHost::CreateSolidBrush(COLORREF colour) {
  return gdi_.CreateSolidBrush(colour);
}

bool SimWindowHost::DeleteObject(GdiObject object) {
  return gdi_.DeleteObject(object);
}

int SimWindowHost::SetBkMode(DeviceContext dc, int mode) {
  int old = 0;
  return gdi_.SetBkMode(dc, mode, &old) ? old : 0;
}

COLORREF SimWindowHost::SetBkColor(DeviceContext dc, COLORREF colour) {
  COLORREF old = 0;
  return gdi_.SetBkColor(dc, colour, &old) ? old : 0xFFFFFFFFu;
}

// ---- Painting ----

bool SimWindowHost::IsIconic(HWND window) {
  return InMainWindow(window) && state_ == WindowState::kMinimized;
}

bool SimWindowHost::GetClientRect(HWND window, Rect* rect) {
  if (rect == nullptr || !InMainWindow(window)) return false;
  *rect = ClientArea();
  return true;
}

int SimWindowHost::GetSystemMetrics(int index) {
  return index == SM_CXICON || index == SM_CYICON ? kIconSize : 0;
}

DeviceContext SimWindowHost::BeginPaint(HWND window, PaintStruct* paint) {
  if (paint == nullptr || !InMainWindow(window)) return 0;
  gdi_.ResetDc(kMainPaintDc);
  painting_ = true;
  paint->dc = kMainPaintDc;
  paint_log_.push_back("BeginPaint");
  return kMainPaintDc;
}

bool SimWindowHost::EndPaint(HWND window, const PaintStruct& paint) {
  if (!painting_ || window != MainWindow() || paint.dc != kMainPaintDc) return false;
  painting_ = false;
  paint_log_.push_back("EndPaint");
  return true;
}

bool SimWindowHost::DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) {
  if (!gdi_.DrawIcon(dc, x, y, icon)) return false;
  if (dc == kMainPaintDc) {
    paint_log_.push_back("DrawIcon(" + std::to_string(icon) + ", " + std::to_string(x) + ", " +
                         std::to_string(y) + ")");
  }
  return true;
}

}  // namespace mivo::sim
