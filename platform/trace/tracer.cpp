#include "platform/trace/tracer.h"

#include "platform/framework.h"
#include "platform/trace/trace_text.h"

namespace mivo::trace {

void Tracer::set_main_dialog(const Dialog* dialog) {
  main_window();  // remembers the window of the dialog that ends
  main_dialog_ = dialog;
}

HWND Tracer::main_window() const {
  if (main_dialog_ != nullptr && main_dialog_->m_hWnd != nullptr) {
    main_window_ = main_dialog_->m_hWnd;
  }
  return main_window_;
}

std::string Tracer::Window(HWND window) const {
  return trace::Window(window, main_window());
}

}  // namespace mivo::trace
