// Redrawing the page that shows, without moving any cursor (after a language change and when
// the volume page times out).
#include <algorithm>

#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::RedrawCurrentScreen() {
  switch (screen) {
    case SCREEN_IDLE:
      // The refresh starts here, once, whether or not the volume page stopped it.
      idle_refresh_stopped = false;
      DrawIdle();
      host_.window.SetTimer(m_hWnd, TIMER_IDLE_REFRESH, 10000);
      break;
    case SCREEN_CONTACTS:
      DrawContactsPage();
      break;
    case SCREEN_DIAL_PAD:
    case SCREEN_DIALING:
      DrawDialing();
      break;
    case SCREEN_SPEED_DIAL:
      DrawSpeedDial();
      break;
    case SCREEN_HISTORY:
      ShowHistoryPage();
      break;
    case SCREEN_VOICEMAIL:
      ShowVoicemailPage();
      break;
    case SCREEN_CONFERENCE:
      DrawConferencePage();
      break;
    case SCREEN_INCOMING_CALL:
      DrawIncomingCall(caller_text);
      break;
    case SCREEN_IN_CALL:
      DrawCallPage(nullptr, LIST_REDRAW);
      break;
    case SCREEN_CONTACT_LIST:
      DrawContactList(LIST_REDRAW, 0);
      break;
    case SCREEN_CONTACT_DETAIL:
      // The selected contact; a cursor that names no contact draws nothing.
      if (contact_cursor >= 1 && contact_cursor <= std::clamp(contact_count, 0, kMaxContacts)) {
        DrawContactDetail(contacts[contact_cursor - 1]);
      }
      break;
    case SCREEN_HISTORY_MENU:
      ShowHistoryMenu(LIST_REDRAW);
      break;
    case SCREEN_HISTORY_INCOMING:
      DrawHistoryEntry(LIST_REDRAW, text_incoming);
      break;
    case SCREEN_HISTORY_MISSED:
      DrawHistoryEntry(LIST_REDRAW, text_missed);
      break;
    case SCREEN_HISTORY_OUTGOING:
      DrawHistoryEntry(LIST_REDRAW, text_outgoing);
      break;
    case SCREEN_VOICEMAIL_MENU:
      ShowVoicemailMenu(LIST_REDRAW);
      break;
    case SCREEN_VOICEMAIL_INBOX:
      DrawVoicemailInbox(LIST_REDRAW);
      break;
    case SCREEN_CONFERENCE_LIST:
      ShowConferenceList(LIST_REDRAW);
      break;
    case SCREEN_CALL_WITH:
      DrawCallWithList(LIST_REDRAW);
      break;
    default:
      break;
  }
}

}  // namespace mivo
