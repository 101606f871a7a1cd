#include "app/about_dialog.h"

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

AboutDialog::AboutDialog(WindowHost& window_host) : Dialog(IDD_ABOUT, window_host) {}

void AboutDialog::set_caption_text(const char* text) {
  CopyText(caption_text_, text);
}

bool AboutDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  window_host_.SetWindowText(m_hWnd, caption_text_);
  return true;
}

void ControllerDialog::OnAbout() {
  AboutDialog about(host_.window);
  about.set_caption_text(text_about);
  about.DoModal();
}

}  // namespace mivo
