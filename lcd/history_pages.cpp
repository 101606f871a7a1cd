// The call-history and voicemail pages.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::ShowHistoryPage() { screen = SCREEN_HISTORY; }

void ControllerDialog::ShowHistoryMenu(int) { screen = SCREEN_HISTORY_MENU; }

void ControllerDialog::DrawHistoryMenu(int) {}

void ControllerDialog::OpenIncomingCalls() { screen = SCREEN_HISTORY_INCOMING; }

void ControllerDialog::OpenMissedCalls() { screen = SCREEN_HISTORY_MISSED; }

void ControllerDialog::OpenOutgoingCalls() { screen = SCREEN_HISTORY_OUTGOING; }

void ControllerDialog::DrawHistoryEntry(int, const char*) {}

void ControllerDialog::ShowVoicemailPage() { screen = SCREEN_VOICEMAIL; }

void ControllerDialog::ShowVoicemailMenu(int) { screen = SCREEN_VOICEMAIL_MENU; }

void ControllerDialog::DrawVoicemailMenu(int) {}

void ControllerDialog::DrawVoicemailInbox(int) { screen = SCREEN_VOICEMAIL_INBOX; }

}  // namespace mivo
