#include "lcd/participant_match.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"

namespace mivo::lcd {

bool IsContactOf(const Participant& party, const ContactRecord& contact) {
  char handle[sizeof party.handle];
  CopyText(handle, contact.handle, sizeof contact.handle);
  return std::strncmp(handle, party.handle, sizeof party.handle) == 0;
}

bool IsParticipantContact(const ControllerDialog& c, const ContactRecord& contact) {
  const int count = std::clamp(c.participant_count, 0, kMaxParticipants);
  for (int i = 0; i < count; ++i) {
    if (IsContactOf(c.participants[i], contact)) return true;
  }
  return false;
}

}  // namespace mivo::lcd
