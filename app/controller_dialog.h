// The controller: the program's one long-lived object. It binds the handset (through the
// handset library) to the VoIP client (through the VoIP bridge) and holds all run-time state.
// Every operation is a member function that reads and writes the fields directly; each is
// defined in the folder of its subsystem (core/, keys/, lcd/, voip/, config/, audio/, app/).
#pragma once

#include <cstdint>
#include <vector>

#include "core/constants.h"
#include "platform/framework.h"
#include "platform/handset_library.h"
#include "platform/host.h"
#include "platform/voip_bridge.h"

namespace mivo {

// One contact of the controller's table, built from a phone-book entry. The texts are copied
// out of the bridge's block (bounded by their fields), so a record stays valid after the
// block is replaced.
struct ContactRecord {
  char name[65] = {};      // display name
  char handle[66] = {};    // the name that a call is placed to
  char speed[6] = {};      // speed-dial text, at most 3 characters
  char profile1[65] = {};  // profile texts; empty when the bridge gave "UNKNOWN"
  char profile2[65] = {};
  char profile3[65] = {};
  std::int32_t status = 0;
  std::int32_t time_zone = 0;  // seconds from GMT plus 86400; 0 = no time zone
};

// One conference participant.
struct Participant {
  char call_id[16] = {};
  char handle[64] = {};
  char name[64] = {};
  std::int32_t contact_index = 0;  // 0-based row in `contacts`
};

// The scroll state of one list page: the cursor's row (1..3, 0 = none) and the entry shown
// in row 2 (1-based).
struct ListWindow {
  int cursor_row = 0;
  int window_top = 0;
};

class ControllerDialog : public Dialog {
 public:
  ControllerDialog(HandsetLibrary& handset, VoipBridge& bridge, const Host& host);
  ~ControllerDialog() override;

  // ---- Application shell (app/) ----
  bool OnInitDialog() override;
  void OnCloseCommand();
  void OnDestroy();
  void OnAbout();
  void AddTrayIcon();
  bool UpdateTrayIcon(bool handset_ready, bool voip_ready);
  bool RemoveTrayIcon();
  void OnTrayNotify(WPARAM id, LPARAM mouse_message);
  void ShowTrayMenu();

  // ---- Event core (core/) ----
  LRESULT DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnTimer(UINT id);
  void RedrawCurrentScreen();
  // Shared reaction steps.
  void LightMainLed();
  void UpdateVoicemailLed();
  void UpdateTray();
  void ResetDialState();
  void DispatchKey(int key);

  // ---- Key handling (keys/) ----
  void HandleKey(int screen_id, int key);
  void DialKey(int key);
  void DeleteDialChar();
  void PlaceDialledCall();
  void CallContact();
  void DialSpeedEntry(int key);
  void CallBackHistory();
  void CallBackVoicemail();
  void StartVoicemailPlayback();
  void AnswerCall();
  void HangUp();
  void ToggleHold();
  void ToggleMute();
  void VolumeStep(bool up);
  void SendDtmf(int key);
  void StartConference();
  void EndParty();
  void EmptyParticipants();

  // ---- LCD pages (lcd/) ----
  void DrawIdle();
  void DrawContactDetail(const ContactRecord& contact);
  void DrawContactsPage();
  void DrawConferencePage();
  void DrawDialPad();
  void DrawDialing();
  void DrawSpeedDial();
  void DrawContactList(int step, int key);
  void DrawConferenceList(int step, int key);
  void ShowConferenceList(int step);
  void ToggleParticipant(int contact_index);
  void ShowHistoryPage();
  void ShowHistoryMenu(int step);
  void DrawHistoryMenu(int step);
  void OpenIncomingCalls();
  void OpenMissedCalls();
  void OpenOutgoingCalls();
  void DrawHistoryEntry(int step, const char* title);
  void ShowVoicemailPage();
  void ShowVoicemailMenu(int step);
  void DrawVoicemailMenu(int step);
  void DrawVoicemailInbox(int step);
  void DrawIncomingCall(const char* caller);
  // `party` null keeps the remembered text; `mode` -10 keeps the remembered mode.
  void DrawCallPage(const char* party, int mode);
  void DrawCallWithList(int step);
  void DrawVolume();
  void DrawWrongNumber();
  void DrawCallClock();

  // ---- VoIP data (voip/) ----
  void FetchContacts();
  static void SortContacts(ContactRecord* table, int first, int last);
  bool FetchCalls();
  bool FetchActiveCalls();
  bool FetchVoicemails();
  void MatchParticipantCalls();
  static char KeypadLetter(int key, int press_count);
  void OpenVoicemail(const char* voicemail_id);
  bool CloseVoicemail(const char* voicemail_id);

  // ---- Configuration (config/) ----
  void LoadLanguageTexts(int language);
  void SaveVolumeSetting();

  // ---- Audio (audio/) ----
  int EnumerateMixers();
  bool OpenMixer(int device, HWND window);
  bool CloseMixer();
  int GetMixerVolume(DWORD component_type);
  bool SetMixerVolume(DWORD component_type, int value);
  bool SelectVoipAudioDevice();
  void ResetVoipAudioDevice();
  bool SetSoundMapperDevices();
  void ApplyUsbAudioSettings();

  // ==== Fields ====
  // Key panel and window.
  std::int32_t key_indicator[32] = {};
  IconHandle icon = 0;
  std::uint32_t tray_icon_id = 0;

  // Navigation and keys.
  std::int32_t letter_press_count = 0;
  std::int32_t held_key = 0;
  std::int32_t screen = 0;
  std::int32_t voicemail_cursor = 0;
  std::int32_t contact_cursor = 0;
  std::int32_t history_cursor = 0;
  std::int32_t participant_count = 0;

  // Lists and counts.
  std::int32_t contact_count = 0;
  std::int32_t contact_count_status_set = 0;
  std::int32_t contact_count_status_zero = 0;

  // Dialling, audio and language.
  std::int32_t dial_len = 0;
  std::int32_t usb_mixer_index = -1;
  std::int32_t mixer_count = 0;
  std::int32_t speaker_volume = 0;
  std::int32_t call_page_mode = 0;
  std::int32_t missed_call_count = 0;
  std::int32_t language_id = 9;
  std::int32_t alt_mode = 0;
  char caller_text[64] = {};
  // The bridge may fill all 50 bytes without a terminator; the spare byte stays 0.
  char dial_buf[kDialMax + 1] = {};
  char call_digits[50] = {};
  char usb_audio_device_name[50] = {};
  char other_audio_device_name[50] = {};
  char active_call_id[16] = {};

  // Language texts.
  char text_contacts[128] = {};
  char text_call_history[128] = {};
  char text_incoming[128] = {};
  char text_missed[128] = {};
  char text_outgoing[128] = {};
  char text_voicemail[128] = {};
  char text_inbox[128] = {};
  char text_conference_call[128] = {};
  char text_dial_pad[128] = {};
  char text_speed_dial[128] = {};
  char text_enter_number[128] = {};
  char text_volume[128] = {};
  char text_call_with[128] = {};
  char text_incoming_call[128] = {};
  char text_about[64] = {};
  char text_close[64] = {};
  char text_play_voicemail[128] = {};
  char text_wrong_number[128] = {};

  // Start directory.
  char program_directory[128] = {};

  // Flags.
  bool on_hold = false;
  bool muted = false;
  bool call_active = false;
  bool voip_online = false;
  bool handset_present = false;
  bool ring_led_phase = false;
  bool volume_overlay = false;
  bool reinit_pending = false;

  // Call time and lists.
  // Seconds since 1970-01-01 UTC, in 64 bits: a 32-bit value runs out in January 2038.
  std::int64_t call_start_time = 0;
  const std::uint8_t* call_list = nullptr;
  const std::uint8_t* history_list = nullptr;
  const std::uint8_t* active_calls = nullptr;
  const std::uint8_t* voicemail_list = nullptr;
  ContactRecord contacts[kMaxContacts];
  Participant participants[kMaxParticipants];

  // ==== Page and module state ====
  // Kept for the life of the controller by the part that owns it (one controller per process,
  // so this is the program's life).
  ListWindow contact_list_window;           // lcd/contact_lists.cpp
  ListWindow conference_list_window;        // lcd/contact_lists.cpp
  ListWindow call_with_window;              // lcd/call_pages.cpp
  ListWindow inbox_window;                  // lcd/history_pages.cpp
  int history_menu_selection = 0;           // lcd/history_pages.cpp
  int voicemail_menu_selection = 0;         // lcd/history_pages.cpp
  char history_title[30] = {};              // lcd/history_pages.cpp
  std::vector<std::uint8_t> history_block;  // the filtered list behind history_list
  char call_page_text[50] = {};             // lcd/call_pages.cpp: remembered party text
  int call_page_remembered_mode = 0;        // lcd/call_pages.cpp
  int last_letter_key = 0;                  // keys/key_dispatch.cpp
  MixerHandle mixer_handle = 0;             // audio/mixer.cpp
  char mixer_names[kMaxMixers][64] = {};    // audio/mixer.cpp

  // ==== Subsystem helpers ====
  // Each subsystem may declare further members of its own below, inside its block only.
  // -- app --
  // WM_PAINT: while minimised the icon, centred on its erased background; else the default.
  void OnPaint();
  // WM_QUERYDRAGICON: the icon shown while the minimised window is dragged.
  IconHandle OnQueryDragIcon() const;
  // -- core --
  // One diagnostics line (core/diagnostics.cpp): what the controller drops silently, for a
  // person looking into it; changes nothing.
  void Diagnose(const char* what);
  // A diagnostics line when a block fetched by `call` is read as empty (null, a negative
  // count or one beyond belief).
  void CheckBlock(const char* call, const std::uint8_t* block);
  // Reactions of the event dispatch that take more than a few lines (core/voip_events.cpp,
  // core/device_events.cpp).
  void OnCallInProgress(LPARAM id_text);
  void OnCallFinished();
  void OnSecondCall(LPARAM id_text);
  void OnCallRinging(WPARAM count, LPARAM caller);
  void OnVoipAttached();
  void OnHandsetArrived();
  void OnHandsetRemoved();
  void OnHandsetKey(WPARAM kind, LPARAM key_or_report);
  void OnDriverCheck();
  // Chooses the handset's mixer among the enumerated devices and opens it.
  void ChooseHandsetMixer();
  // Starts a repair program hidden and waits for it; a program that cannot start is skipped.
  void RunRepairProgram(const char* command_line, DWORD wait_ms);
  // Whether TIMER_RING_BLINK runs, that is, a call rings (core/voip_events.cpp).
  bool ring_blink_running = false;
  // The handset forgets its display and LEDs when it loses power; at its arrival and at the
  // resume from suspend these show again what the call state calls for
  // (core/handset_restore.cpp): the page, then the ring, hold, mute and voicemail LEDs.
  void ShowCallStatePage();
  void RestoreCallStateLeds();
  // The repeat and long-press actions carried by MSG_REPEAT_ACTION (core/timers.cpp).
  void RunRepeatAction(WPARAM timer_id);
  void RepeatListStep(int key, UINT timer_id, int step);
  void RepeatVolumeStep(int key, UINT timer_id, int delta);
  // The CANCEL hold that fired last took the handset home from the dialing page: the long
  // press of the same CANCEL, due at the same moment, still belongs to that page.
  bool cancel_hold_left_dialing = false;
  // How many bytes of the text or report that a message's lParam points to can be read, at
  // most `max_bytes`; 0 for a null pointer and for one into memory that cannot be read.
  std::size_t ReadableMessageBytes(LPARAM pointer, std::size_t max_bytes);
  // -- keys --
  // Sends the close-voicemail command for the voicemail on the inbox cursor's row; nothing
  // when the cursor is not on a row of `voicemail_list`.
  void CloseVoicemailAtCursor();
  // The record of `voicemail_list` under `voicemail_cursor`, or null when the cursor is not
  // within the list.
  const std::uint8_t* VoicemailAtCursor() const;
  // Zeroes `dial_buf` and hands `key` to the bridge with the number; the length it returns is
  // kept within the buffer.
  void SendNumberKey(int key, int long_press);
  // -- lcd --
  // The hour rule: English (language 9) shows a 12-hour clock with "am"/"pm", every other
  // language the hour 0..23 and no suffix.
  struct HourText {
    int hour;
    const char* suffix;
  };
  static HourText ApplyHourRule(int language, int hour);
  // The volume page stopped the idle refresh: the idle page starts it again whenever it comes
  // back, whichever way.
  bool idle_refresh_stopped = false;
  // -- voip --
  // The rows of `contacts` that the last fetch filled: the next fetch clears only those of
  // them that its own list does not cover.
  int contact_rows_filled = 0;
  // Builds the conference join command "set call NEW join_conference HELD" into `out`;
  // returns false (and leaves `out` empty) when the whole text does not fit.
  static bool BuildJoinCommand(const char* new_call_id, const char* held_call_id, char* out,
                               std::size_t out_size);
  // -- config --
  // -- audio --

 protected:
  bool OnWndMsg(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  // The key panel's 32 check boxes and `key_indicator` (app/key_panel.cpp).
  void DoDataExchange(DataExchange& dx) override;

 public:
  HandsetLibrary& handset_;
  VoipBridge& bridge_;
  Host host_;
};

}  // namespace mivo
