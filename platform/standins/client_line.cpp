// The far-end panel's lines go to the client stand-in of this process through the channel.
#include "platform/standins/far_end_panel.h"
#include "platform/standins/remote_channel.h"

namespace mivo::standins {

bool SendToClient(const std::string& line, std::string* error) {
  const ::HWND client = channel::FindEndpoint(channel::kClientEndpoint);
  if (client == nullptr) {
    *error = "the VoIP client is not running";
    return false;
  }
  std::vector<std::string> output;
  return channel::SendLine(client, line, &output, error);
}

}  // namespace mivo::standins
