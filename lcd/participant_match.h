// Which contact a conference participant is. A participant keeps the row it was chosen from,
// but the contact table is fetched again (and sorted again) on every visit of the contact
// pages, so the row may hold another contact by then: the handle is what names the party.
#pragma once

#include "app/controller_dialog.h"

namespace mivo::lcd {

// Whether `party` was made from `contact`: the contact's handle, cut to a participant's field
// as the entry holds it, equals the entry's handle.
bool IsContactOf(const Participant& party, const ContactRecord& contact);

// Whether `contact` is one of the controller's participants.
bool IsParticipantContact(const ControllerDialog& c, const ContactRecord& contact);

}  // namespace mivo::lcd
