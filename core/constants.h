// Numbers shared by every subsystem of the controller: window messages, timers, key codes,
// screens, LCD row styles, list steps, bitmaps, and the limits of the fixed tables.
#pragma once

#include "platform/win_types.h"

namespace mivo {

// Window messages of the VoIP bridge (1125..1152), the handset library (1225..1233) and the
// controller itself.
inline constexpr UINT MSG_VOIP_ATTACHED = 1125;
inline constexpr UINT MSG_VOIP_DETACHED = 1126;
inline constexpr UINT MSG_CALL_IN_PROGRESS = 1128;
inline constexpr UINT MSG_CALL_FINISHED = 1129;
inline constexpr UINT MSG_SECOND_CALL = 1134;
inline constexpr UINT MSG_CALL_ON_HOLD = 1135;
inline constexpr UINT MSG_CALL_RESUMED = 1136;
inline constexpr UINT MSG_CALL_RINGING = 1141;
inline constexpr UINT MSG_VOIP_ONLINE = 1143;
inline constexpr UINT MSG_VOICEMAIL_CHANGED = 1144;
inline constexpr UINT MSG_CALL_FAILED = 1149;
inline constexpr UINT MSG_VOICEMAIL_ENDED = 1150;
inline constexpr UINT MSG_MISSED_CALLS_CHANGED = 1151;
inline constexpr UINT MSG_LANGUAGE = 1152;
inline constexpr UINT MSG_HANDSET_ARRIVED = 1225;
inline constexpr UINT MSG_HANDSET_REMOVED = 1226;
inline constexpr UINT MSG_HANDSET_KEY = 1227;
inline constexpr UINT MSG_HANDSET_LOST = 1232;
inline constexpr UINT MSG_DRIVER_CHECK = 1233;
inline constexpr UINT MSG_REPEAT_ACTION = 11026;
// MSG_TRAY_NOTIFY (11027) lives in platform/framework.h with the menu commands.

// Timers of the controller window.
inline constexpr UINT TIMER_HIDE = 0;
inline constexpr UINT TIMER_IDLE_REFRESH = 1;
inline constexpr UINT TIMER_CALL_CLOCK = 9;
inline constexpr UINT TIMER_CANCEL_HOLD = 10;
inline constexpr UINT TIMER_LONG_PRESS = 31;
inline constexpr UINT TIMER_UP_REPEAT = 104;
inline constexpr UINT TIMER_DOWN_REPEAT = 107;
inline constexpr UINT TIMER_VOLUME_UP_REPEAT = 1001;
inline constexpr UINT TIMER_VOLUME_DOWN_REPEAT = 1002;
inline constexpr UINT TIMER_LED_OFF = 1003;
inline constexpr UINT TIMER_RING_BLINK = 1004;
inline constexpr UINT TIMER_VOLUME_SCREEN = 1005;
inline constexpr UINT TIMER_WRONG_NUMBER = 1006;

// Key codes of the handset.
inline constexpr int KEY_RELEASE = 0;
inline constexpr int KEY_VOL_UP = 1;
inline constexpr int KEY_VOL_DOWN = 2;
inline constexpr int KEY_SKYPE = 3;
inline constexpr int KEY_UP = 4;
inline constexpr int KEY_VOICE_MAIL = 5;
inline constexpr int KEY_HOLD = 6;
inline constexpr int KEY_DOWN = 7;
inline constexpr int KEY_RECONNECT = 8;
inline constexpr int KEY_CALL = 9;
inline constexpr int KEY_CANCEL = 10;
inline constexpr int KEY_END_CALL = 11;
inline constexpr int KEY_1 = 12;
inline constexpr int KEY_9 = 20;
inline constexpr int KEY_STAR = 21;
inline constexpr int KEY_0 = 22;
inline constexpr int KEY_HASH = 23;
inline constexpr int KEY_MUTE = 100;

// Screens (values of `screen`).
inline constexpr int SCREEN_NONE = 0;
inline constexpr int SCREEN_IDLE = 1;
inline constexpr int SCREEN_CONTACTS = 2;
inline constexpr int SCREEN_DIAL_PAD = 3;
inline constexpr int SCREEN_SPEED_DIAL = 4;
inline constexpr int SCREEN_HISTORY = 5;
inline constexpr int SCREEN_VOICEMAIL = 6;
inline constexpr int SCREEN_CONFERENCE = 7;
inline constexpr int SCREEN_INCOMING_CALL = 8;
inline constexpr int SCREEN_IN_CALL = 9;
inline constexpr int SCREEN_CONTACT_LIST = 21;
inline constexpr int SCREEN_CONTACT_DETAIL = 22;
inline constexpr int SCREEN_DIALING = 31;
inline constexpr int SCREEN_HISTORY_MENU = 50;
inline constexpr int SCREEN_HISTORY_INCOMING = 51;
inline constexpr int SCREEN_HISTORY_MISSED = 52;
inline constexpr int SCREEN_HISTORY_OUTGOING = 53;
inline constexpr int SCREEN_VOICEMAIL_MENU = 61;
inline constexpr int SCREEN_VOICEMAIL_INBOX = 62;
inline constexpr int SCREEN_CONFERENCE_LIST = 71;
inline constexpr int SCREEN_CALL_WITH = 72;

// LCD row styles.
inline constexpr int ROW_PLAIN = 0;
inline constexpr int ROW_SELECTED = 1;
inline constexpr int ROW_TITLE = 2;
inline constexpr int ROW_ENTRY = 4;
inline constexpr int ROW_MORE = 8;

// List steps.
inline constexpr int LIST_DOWN = -1;
inline constexpr int LIST_UP = -2;
inline constexpr int LIST_LETTER = -3;
inline constexpr int LIST_RESET = 0;
inline constexpr int LIST_FIRST = 1;
inline constexpr int LIST_REDRAW = -10;
inline constexpr int LIST_OPEN = -20;

// Bitmaps of the handset library.
inline constexpr int ICON_MISSED_CALL = 115;

// LCD text arguments.
inline constexpr const char* kFont = "Tahoma";
inline constexpr int WEIGHT_BOLD = 700;
inline constexpr int WEIGHT_THIN = 100;
inline constexpr int WEIGHT_NORMAL = 0;

// Resources.
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_CONTROLLER = 102;
inline constexpr int IDR_TRAY_MENU = 131;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_READY = 149;
inline constexpr int IDI_NOT_READY = 150;
inline constexpr int IDB_ABOUT_PICTURE = 167;
inline constexpr int IDB_ABOUT_OK = 169;

// Limits of the fixed tables.
inline constexpr int kMaxContacts = 500;
inline constexpr int kMaxParticipants = 50;
inline constexpr int kMaxMixers = 8;
inline constexpr int kDialMax = 50;

}  // namespace mivo
