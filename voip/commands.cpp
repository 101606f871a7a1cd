// The raw command texts sent to the VoIP client: voicemail playback and conference joining.
#include <cstdio>
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

// Voicemail commands are formatted in a buffer of this size.
constexpr std::size_t kVoicemailCommandSize = 100;

// Formats `pattern` with the voicemail id into `out`; false when the whole text does not fit
// (a cut id would name another voicemail).
bool FormatVoicemailCommand(const char* pattern, const char* voicemail_id,
                            char (&out)[kVoicemailCommandSize]) {
  std::memset(out, 0, sizeof out);
  const int written = std::snprintf(out, sizeof out, pattern, voicemail_id ? voicemail_id : "");
  if (written < 0 || static_cast<std::size_t>(written) >= sizeof out) {
    std::memset(out, 0, sizeof out);
    return false;
  }
  return true;
}

}  // namespace

void ControllerDialog::OpenVoicemail(const char* voicemail_id) {
  char command[kVoicemailCommandSize];
  if (FormatVoicemailCommand("open voicemail %s", voicemail_id, command)) {
    bridge_.fSending(command);
  }
}

bool ControllerDialog::CloseVoicemail(const char* voicemail_id) {
  char command[kVoicemailCommandSize];
  if (!FormatVoicemailCommand("close voicemail %s", voicemail_id, command)) return false;
  return bridge_.fSending(command);
}

bool ControllerDialog::BuildJoinCommand(const char* new_call_id, const char* held_call_id,
                                        char* out, std::size_t out_size) {
  if (out == nullptr || out_size == 0) return false;
  out[0] = 0;
  const int written =
      std::snprintf(out, out_size, "set call %s join_conference %s", new_call_id ? new_call_id : "",
                    held_call_id ? held_call_id : "");
  if (written < 0 || static_cast<std::size_t>(written) >= out_size) {
    std::memset(out, 0, out_size);
    return false;
  }
  return true;
}

}  // namespace mivo
