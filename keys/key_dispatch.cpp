// The key dispatcher: what each handset key does on each screen.
//
// A key first passes the steps that hold on every screen (END CALL hangs up, VOICE MAIL opens
// the inbox, HOLD holds or resumes, CANCEL arms its long press, the volume and mute keys),
// then the screen table gives it its meaning on the screen showing. Screens change only
// through the drawers, each of which records its own screen id.
#include <algorithm>

#include "app/controller_dialog.h"

namespace mivo {

namespace {

constexpr UINT kCancelHoldMs = 1500;
constexpr DWORD kReconnectPauseMs = 500;

bool IsDigitKey(int key) {
  return key >= KEY_1 && key <= KEY_9;
}
// The digits 1 to 9 and 0: the letter keys of the lists.
bool IsLetterKey(int key) {
  return IsDigitKey(key) || key == KEY_0;
}
// Every key that types a character of a number or a tone.
bool IsDialKey(int key) {
  return IsLetterKey(key) || key == KEY_STAR || key == KEY_HASH;
}

}  // namespace

void ControllerDialog::HandleKey(int screen_id, int key) {
  // END CALL hangs up wherever it comes, except on the Call-with page, which ends one party.
  if (key == KEY_END_CALL && screen_id != SCREEN_CALL_WITH) HangUp();

  // VOICE MAIL and HOLD act the same on every screen and leave held_key alone.
  if (key == KEY_VOICE_MAIL) {
    if (call_active) return;
    FetchVoicemails();
    DrawVoicemailInbox(LIST_FIRST);
    return;
  }
  if (key == KEY_HOLD) {
    if (call_active) ToggleHold();
    return;
  }

  // CANCEL held for a while goes back to the idle page (the timers' long-press action).
  if (key == KEY_CANCEL) {
    host_.window.KillTimer(m_hWnd, TIMER_CANCEL_HOLD);
    host_.window.SetTimer(m_hWnd, TIMER_CANCEL_HOLD, kCancelHoldMs);
  }

  held_key = key;

  if (key == KEY_VOL_UP || key == KEY_VOL_DOWN) {
    VolumeStep(key == KEY_VOL_UP);
    return;
  }
  if (key == KEY_MUTE) {
    if (call_active) ToggleMute();
    return;
  }

  // A new letter key starts its letter cycle again; the same key pressed again (with or
  // without a release between) goes on from where the last search stopped.
  if (key > 0 && key != last_letter_key) {
    last_letter_key = key;
    letter_press_count = 0;
  }

  switch (screen_id) {
    case SCREEN_IDLE:
      if (key == KEY_SKYPE) {
        DrawContactsPage();
      } else if (key == KEY_RECONNECT) {
        alt_mode = alt_mode == 0 ? 1 : 0;
        bridge_.fDisconnectVoIP();
        host_.window.Sleep(kReconnectPauseMs);
        host_.window.Sleep(kReconnectPauseMs);
        bridge_.fConnectVoIP(m_hWnd, 0);
      } else if (key == KEY_STAR) {
        DrawSpeedDial();
      } else if (key == KEY_0) {
        DrawDialPad();
      }
      break;

    case SCREEN_CONTACTS:
      if (key == KEY_SKYPE) {
        FetchVoicemails();
        ShowHistoryPage();
      } else if (key == KEY_DOWN) {
        DrawContactList(LIST_FIRST, 0);
      } else if (key == KEY_CANCEL) {
        DrawIdle();
      } else if (IsLetterKey(key)) {
        DrawContactList(LIST_LETTER, key);
      }
      break;

    case SCREEN_DIAL_PAD:
      if (IsDialKey(key)) {
        DialKey(key);
      } else if (key == KEY_CANCEL) {
        DrawIdle();
      }
      break;

    case SCREEN_DIALING:
      if (IsDialKey(key)) {
        DialKey(key);
      } else if (key == KEY_CALL) {
        PlaceDialledCall();
      } else if (key == KEY_CANCEL) {
        DeleteDialChar();
      } else if (key == KEY_END_CALL) {
        DrawIdle();
      }
      break;

    case SCREEN_SPEED_DIAL:
      if (IsDigitKey(key)) {
        DialSpeedEntry(key);
      } else if (key == KEY_CANCEL) {
        DrawIdle();
      }
      break;

    case SCREEN_HISTORY:
      if (key == KEY_SKYPE) {
        ShowVoicemailPage();
      } else if (key == KEY_DOWN) {
        FetchCalls();
        ShowHistoryMenu(LIST_FIRST);
      } else if (key == KEY_CANCEL) {
        DrawContactsPage();
      }
      break;

    case SCREEN_VOICEMAIL:
      if (key == KEY_SKYPE) {
        // A conference selection starts empty.
        EmptyParticipants();
        DrawConferencePage();
      } else if (key == KEY_DOWN) {
        ShowVoicemailMenu(LIST_FIRST);
      } else if (key == KEY_CANCEL) {
        FetchVoicemails();
        ShowHistoryPage();
      }
      break;

    case SCREEN_CONFERENCE:
      if (key == KEY_SKYPE) {
        // The page ring closes here outside calls; during a call the ring stops.
        if (!call_active) DrawIdle();
      } else if (key == KEY_DOWN) {
        // The list opens on its first contact: its window starts at the top with the cursor,
        // wherever a conference started earlier left it.
        contact_cursor = 0;
        conference_list_window = ListWindow{};
        ShowConferenceList(LIST_DOWN);
      } else if (key == KEY_CANCEL) {
        if (call_active) {
          DrawCallPage(nullptr, 0);  // back to the call, showing the party shown last
        } else {
          FetchVoicemails();
          ShowVoicemailPage();
        }
      } else if (IsDigitKey(key)) {
        ShowConferenceList(LIST_RESET);
        DrawConferenceList(LIST_LETTER, key);
      }
      break;

    case SCREEN_INCOMING_CALL:
      if (key == KEY_CALL) {
        AnswerCall();
      } else if (key == KEY_END_CALL) {
        host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
        DrawIdle();
      }
      break;

    case SCREEN_IN_CALL:
      if (key == KEY_SKYPE) {
        if (call_active) {
          host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
          DrawConferencePage();
        }
      } else if (key == KEY_CANCEL) {
        // Leaves voicemail playback for the inbox; a call page stays.
        if (call_page_mode == 2) {
          CloseVoicemailAtCursor();
          DrawVoicemailInbox(LIST_FIRST);
        }
      } else if (key == KEY_END_CALL) {
        // Only a call page of a call leaves; playback and the call page shown again from
        // the conference page stay after the hang-up.
        if (call_page_mode == 1) {
          if (alt_mode == 1) bridge_.fSetCallFinished("0");
          host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
          DrawIdle();
        }
      } else if (IsDialKey(key)) {
        SendDtmf(key);
      }
      break;

    case SCREEN_CONTACT_LIST:
      if (key == KEY_SKYPE) {
        if (contact_cursor >= 1 && contact_cursor <= std::min(contact_count, kMaxContacts)) {
          DrawContactDetail(contacts[contact_cursor - 1]);
        }
      } else if (key == KEY_UP) {
        DrawContactList(LIST_UP, 0);
      } else if (key == KEY_DOWN) {
        DrawContactList(LIST_DOWN, 0);
      } else if (key == KEY_CALL) {
        CallContact();
      } else if (key == KEY_CANCEL) {
        if (contact_cursor > 0) {
          DrawContactsPage();
        } else {
          DrawIdle();
        }
      } else if (IsLetterKey(key)) {
        DrawContactList(LIST_LETTER, key);
      }
      break;

    case SCREEN_CONTACT_DETAIL:
      if (key == KEY_CALL) {
        CallContact();
      } else if (key == KEY_CANCEL) {
        DrawContactList(LIST_REDRAW, 0);
        screen = SCREEN_CONTACT_LIST;
      }
      break;

    case SCREEN_HISTORY_MENU:
      if (key == KEY_SKYPE) {
        ShowHistoryMenu(LIST_OPEN);
      } else if (key == KEY_UP) {
        ShowHistoryMenu(LIST_UP);
      } else if (key == KEY_DOWN) {
        ShowHistoryMenu(LIST_DOWN);
      } else if (key == KEY_CANCEL) {
        ShowHistoryPage();
      }
      break;

    case SCREEN_HISTORY_INCOMING:
    case SCREEN_HISTORY_MISSED:
    case SCREEN_HISTORY_OUTGOING:
      if (key == KEY_UP) {
        DrawHistoryEntry(LIST_UP, "");  // an empty title keeps the one shown
      } else if (key == KEY_DOWN) {
        DrawHistoryEntry(LIST_DOWN, "");
      } else if (key == KEY_CALL) {
        CallBackHistory();
      } else if (key == KEY_CANCEL) {
        ShowHistoryMenu(LIST_REDRAW);
      }
      break;

    case SCREEN_VOICEMAIL_MENU:
      if (key == KEY_SKYPE) {
        ShowVoicemailMenu(LIST_OPEN);
      } else if (key == KEY_UP) {
        ShowVoicemailMenu(LIST_UP);
      } else if (key == KEY_DOWN) {
        ShowVoicemailMenu(LIST_DOWN);
      } else if (key == KEY_CANCEL) {
        ShowVoicemailPage();
      }
      break;

    case SCREEN_VOICEMAIL_INBOX:
      if (key == KEY_SKYPE) {
        StartVoicemailPlayback();
      } else if (key == KEY_UP) {
        DrawVoicemailInbox(LIST_UP);
      } else if (key == KEY_DOWN) {
        DrawVoicemailInbox(LIST_DOWN);
      } else if (key == KEY_CALL) {
        CallBackVoicemail();
      } else if (key == KEY_CANCEL) {
        if (voicemail_cursor > 0) {
          DrawVoicemailInbox(LIST_RESET);
        } else {
          ShowVoicemailMenu(LIST_FIRST);
        }
      }
      break;

    case SCREEN_CONFERENCE_LIST:
      if (key == KEY_SKYPE) {
        // Marks or unmarks the contact under the cursor, then shows the list from its top.
        if (contact_cursor >= 1 && contact_cursor <= std::min(contact_count, kMaxContacts)) {
          ToggleParticipant(contact_cursor - 1);
        }
        DrawConferenceList(LIST_LETTER, 0);
      } else if (key == KEY_UP) {
        DrawConferenceList(LIST_UP, 0);
      } else if (key == KEY_DOWN) {
        DrawConferenceList(LIST_DOWN, 0);
      } else if (key == KEY_CALL) {
        StartConference();
      } else if (key == KEY_CANCEL) {
        EmptyParticipants();
        screen = SCREEN_CONFERENCE;
        DrawConferenceList(LIST_RESET, 0);
      } else if (IsLetterKey(key)) {
        DrawConferenceList(LIST_LETTER, key);
      }
      break;

    case SCREEN_CALL_WITH:
      if (key == KEY_UP) {
        DrawCallWithList(LIST_UP);
      } else if (key == KEY_DOWN) {
        DrawCallWithList(LIST_DOWN);
      } else if (key == KEY_CANCEL) {
        DrawCallWithList(LIST_RESET);
      } else if (key == KEY_END_CALL) {
        EndParty();
      }
      break;

    default:
      break;
  }
}

}  // namespace mivo
