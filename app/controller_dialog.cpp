// Construction, start-up, the message map, the Close command and the window's destruction.
#include "app/controller_dialog.h"

#include <cstring>

#include "core/text.h"

namespace mivo {

ControllerDialog::ControllerDialog(HandsetLibrary& handset, VoipBridge& bridge, const Host& host)
    : Dialog(IDD_CONTROLLER, host.window), handset_(handset), bridge_(bridge), host_(host) {
  for (std::int32_t& state : key_indicator) state = 0;
  icon = host_.window.LoadIcon(IDR_MAINFRAME);
}

ControllerDialog::~ControllerDialog() = default;

bool ControllerDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  host_.window.SendMessage(m_hWnd, WM_SETICON, 1, static_cast<LPARAM>(icon));
  host_.window.SendMessage(m_hWnd, WM_SETICON, 0, static_cast<LPARAM>(icon));

  ClearText(program_directory);
  const DWORD length =
      host_.system.GetCurrentDirectory(sizeof program_directory, program_directory);
  if (length >= sizeof program_directory) ClearText(program_directory);

  AddTrayIcon();

  ClearText(dial_buf);
  ClearText(call_digits);
  for (char* slot :
       {text_contacts, text_call_history, text_incoming, text_missed, text_outgoing, text_voicemail,
        text_inbox, text_conference_call, text_dial_pad, text_speed_dial, text_enter_number,
        text_volume, text_call_with, text_incoming_call}) {
    std::memset(slot, 0, 128);
  }
  ClearText(text_about);
  ClearText(text_close);
  ClearText(text_play_voicemail);
  ClearText(text_wrong_number);
  CopyText(text_about, "About");
  CopyText(text_close, "Close");

  contact_cursor = 0;
  dial_len = 0;
  letter_press_count = 0;
  held_key = 0;
  voicemail_cursor = 0;
  history_cursor = 0;
  alt_mode = 0;
  participant_count = 0;
  missed_call_count = 0;
  contact_count_status_set = 0;
  contact_count_status_zero = 0;
  language_id = 9;
  usb_mixer_index = -1;
  screen = SCREEN_NONE;
  voip_online = false;
  on_hold = false;
  muted = false;
  call_active = false;
  handset_present = false;
  volume_overlay = false;
  reinit_pending = false;

  handset_.fConnectDevice(m_hWnd);
  host_.window.Sleep(100);
  if (!bridge_.fRunAP()) {
    host_.window.MessageBox(m_hWnd, "Skype is not found!", "Warning", MB_OK);
  }
  bridge_.fConnectVoIP(m_hWnd, 1);
  host_.window.SetTimer(m_hWnd, TIMER_HIDE, 100);
  host_.window.ShowWindow(m_hWnd, SW_MINIMIZE);
  return true;
}

bool ControllerDialog::OnWndMsg(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_TIMER:
      OnTimer(static_cast<UINT>(wparam));
      return true;
    case WM_COMMAND:
      if ((wparam & 0xFFFF) == ID_CLOSE) {
        OnCloseCommand();
        return true;
      }
      if ((wparam & 0xFFFF) == ID_ABOUT) {
        OnAbout();
        return true;
      }
      // IDOK (the panel's Exit button) and IDCANCEL end the dialog.
      return Dialog::OnWndMsg(message, wparam, lparam, result);
    case MSG_TRAY_NOTIFY:
      OnTrayNotify(wparam, lparam);
      return true;
    case WM_DESTROY:
      OnDestroy();
      return true;
    case WM_SYSCOMMAND:
      // No system-menu item of our own.
      *result = Default();
      return true;
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_QUERYDRAGICON:
      *result = static_cast<LRESULT>(OnQueryDragIcon());
      return true;
    default:
      return Dialog::OnWndMsg(message, wparam, lparam, result);
  }
}

void ControllerDialog::OnCloseCommand() {
  RemoveTrayIcon();
  bridge_.fDisconnectVoIP();
  handset_.fCloseDevice();
  Default();
  DestroyWindow();
}

void ControllerDialog::OnDestroy() {
  Default();
  RemoveTrayIcon();
}

}  // namespace mivo
