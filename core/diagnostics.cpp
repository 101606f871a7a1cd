// Diagnostics: one line for each thing the controller drops without a word to the user (a
// block it does not believe, a repair program that does not start, ...). The line goes to the
// platform's diagnostics output and changes nothing else.
#include <cstdio>

#include "app/controller_dialog.h"
#include "voip/blocks.h"

namespace mivo {

void ControllerDialog::Diagnose(const char* what) {
  char line[320];
  std::snprintf(line, sizeof line, "MivoRun: %s", what != nullptr ? what : "");
  host_.system.OutputDebugString(line);
}

void ControllerDialog::CheckBlock(const char* call, const std::uint8_t* block) {
  std::int64_t count = 0;
  const char* reason = blocks::RejectReason(block, &count);
  if (reason == nullptr) return;
  char what[160];
  if (block == nullptr) {
    std::snprintf(what, sizeof what, "%s: %s, read as an empty list", call, reason);
  } else {
    std::snprintf(what, sizeof what, "%s: block rejected (%s %lld), read as an empty list", call,
                  reason, static_cast<long long>(count));
  }
  Diagnose(what);
}

}  // namespace mivo
