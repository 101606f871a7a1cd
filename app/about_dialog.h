// The About box: a small modal dialog (template 100) with the product picture, its caption
// the language's About text.
#pragma once

#include "platform/framework.h"

namespace mivo {

class AboutDialog : public Dialog {
 public:
  explicit AboutDialog(WindowHost& window_host);

  const char* CaptionText() const override { return caption_text_; }
  void set_caption_text(const char* text);

 protected:
  bool OnInitDialog() override;

 private:
  char caption_text_[64] = {};
};

}  // namespace mivo
