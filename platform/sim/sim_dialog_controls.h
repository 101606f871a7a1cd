// The controls of a simulated dialog window, as its dialog template makes them: the
// controller's key panel (template 102: the "Exit" button and 32 automatic check boxes) and
// the About box (template 100: the picture and the "OK" button). Check boxes keep their check
// state and buttons the bitmap put on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace mivo::sim {

class SimDialogControls {
 public:
  enum class Kind { kPushButton, kCheckBox, kStatic };

  struct Control {
    int id = 0;  // -1: a control without an id (a static)
    Kind kind = Kind::kStatic;
    std::string label;
    HWND window = nullptr;
    UINT check = 0;          // BST_ state of a check box
    BitmapHandle image = 0;  // the bitmap on a button (BM_SETIMAGE)
  };

  // Makes the controls of `template_id` (none for a template without controls of interest),
  // their window handles counted up from `handle_base`. Replaces what was there.
  void Create(int template_id, std::uintptr_t handle_base);
  void Destroy() { controls_.clear(); }

  // The control with `id`, or null. A control without an id is never found by id.
  Control* FindById(int id);
  const Control* FindById(int id) const;
  Control* FindByWindow(HWND window);
  const std::vector<Control>& controls() const { return controls_; }

 private:
  std::vector<Control> controls_;
};

}  // namespace mivo::sim
