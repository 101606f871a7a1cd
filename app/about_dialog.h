// The About box: a small modal dialog (template 100) with the product picture on a silver
// background, a bitmap on its OK button, and the language's About text as its caption.
#pragma once

#include "platform/data_exchange.h"
#include "platform/framework.h"

namespace mivo {

class AboutDialog : public Dialog {
 public:
  explicit AboutDialog(WindowHost& window_host);
  // Releases the background brush and the button's bitmap; the box's window is gone by then.
  ~AboutDialog() override;

  const char* CaptionText() const override { return caption_text_; }
  void set_caption_text(const char* text);

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;
  bool OnWndMsg(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

 private:
  // The brush a control of kind `control_kind` (CTLCOLOR_) is drawn with: static controls
  // transparently on silver, every other kind as the dialog's default gives it.
  BrushHandle OnCtlColor(DeviceContext dc, UINT control_kind);

  BrushHandle background_brush_ = 0;
  Button ok_button_;
  char caption_text_[64] = {};
  BitmapHandle ok_bitmap_ = 0;
};

}  // namespace mivo
