#include "platform/sim/sim_dialog_controls.h"

namespace mivo::sim {

namespace {

// The key panel's check boxes, ids 1000 to 1031 in order.
constexpr const char* kKeyPanelLabels[32] = {
    "MUTE",    "VOL+",       "VOL-",     "FN1",      "FN2",     "FN3",     "FN4",     "FN5",
    "FN6",     "FN7",        "FN8",      "SKYPE",    "HOLD",    "CALL",    "UP",      "DOWN",
    "CANCEL",  "VOICE MAIL", "END CALL", "1",        "2 / ABC", "3 / DEF", "4 / GHI", "5 / JKL",
    "6 / MNO", "7 / PQRS",   "8 / TUV",  "9 / WXYZ", "0 / +",   "*",       "#",       "NO USE"};
constexpr int kFirstKeyBox = 1000;

}  // namespace

void SimDialogControls::Create(int template_id, std::uintptr_t handle_base) {
  controls_.clear();
  const auto add = [&](int id, Kind kind, const char* label) {
    Control control;
    control.id = id;
    control.kind = kind;
    control.label = label;
    control.window = reinterpret_cast<HWND>(handle_base + controls_.size() + 1);
    controls_.push_back(control);
  };
  if (template_id == 102) {
    add(IDOK, Kind::kPushButton, "Exit");
    for (int i = 0; i < 32; ++i) add(kFirstKeyBox + i, Kind::kCheckBox, kKeyPanelLabels[i]);
  } else if (template_id == 100) {
    add(-1, Kind::kStatic, "bitmap 167");
    add(IDOK, Kind::kPushButton, "OK");
  }
}

SimDialogControls::Control* SimDialogControls::FindById(int id) {
  for (Control& control : controls_) {
    if (control.id == id && id != -1) return &control;
  }
  return nullptr;
}

const SimDialogControls::Control* SimDialogControls::FindById(int id) const {
  return const_cast<SimDialogControls*>(this)->FindById(id);
}

SimDialogControls::Control* SimDialogControls::FindByWindow(HWND window) {
  for (Control& control : controls_) {
    if (control.window == window && window != nullptr) return &control;
  }
  return nullptr;
}

}  // namespace mivo::sim
