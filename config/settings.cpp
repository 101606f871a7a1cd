// The language texts of lang.ini and the volume saved in setup.ini. Both files lie in the
// directory that was current at start-up.
#include <cstdio>
#include <cstring>

#include "app/controller_dialog.h"
#include "config/ini_file.h"
#include "core/text.h"

namespace mivo {

namespace {

constexpr const char* kLanguageFile = "lang.ini";
constexpr const char* kSetupFile = "setup.ini";

// Builds the path of a file in the start directory. A path that does not fit its 128 bytes
// is not used at all: cut short, it would name some other file.
bool BuildProgramPath(char (&path)[128], const char* directory, const char* file_name) {
  JoinProgramPath(path, sizeof path, directory, file_name);
  const std::size_t wanted =
      BoundedLength(directory, 128) + 1 + std::strlen(file_name);  // dir + "\" + name
  return std::strlen(path) == wanted;
}

// The lang.ini section of a Windows primary language identifier.
const char* LanguageSection(int language) {
  switch (language) {
    case 7:
      return "German";
    case 10:
      return "Spanish";
    case 12:
      return "French";
    case 16:
      return "Italian";
    case 19:
      return "Dutch";
    default:
      return "English";
  }
}

}  // namespace

void ControllerDialog::LoadLanguageTexts(int language) {
  language_id = language;

  char path[128] = {};
  const bool path_fits = BuildProgramPath(path, program_directory, kLanguageFile);
  ClearText(dial_buf);

  struct TextSlot {
    const char* key;
    const char* fallback;
    char* slot;
    std::size_t size;
  };
  const TextSlot slots[] = {
      {"Contacts", "Contacts", text_contacts, sizeof text_contacts},
      {"CallHistory", "History", text_call_history, sizeof text_call_history},
      {"Incoming", "Incoming", text_incoming, sizeof text_incoming},
      {"Missed", "Missed", text_missed, sizeof text_missed},
      {"Outgoing", "Outgoing", text_outgoing, sizeof text_outgoing},
      {"Voicemail", "Voicemail", text_voicemail, sizeof text_voicemail},
      {"Inbox", "Inbox", text_inbox, sizeof text_inbox},
      {"ConferenceCall", "Conference Call", text_conference_call, sizeof text_conference_call},
      {"DialPad", "Dial pad", text_dial_pad, sizeof text_dial_pad},
      {"SpeedDial", "Speed dial", text_speed_dial, sizeof text_speed_dial},
      {"EnterNumber", "Enter number", text_enter_number, sizeof text_enter_number},
      {"Volume", "Volume", text_volume, sizeof text_volume},
      {"CallWith", "Call with...", text_call_with, sizeof text_call_with},
      {"IncomingCall", "Incoming Call", text_incoming_call, sizeof text_incoming_call},
      {"About", "About", text_about, sizeof text_about},
      {"Close", "Close", text_close, sizeof text_close},
      {"PlayVoicemail", "Play voicemail", text_play_voicemail, sizeof text_play_voicemail},
      {"WrongNumber", "Wrong Number", text_wrong_number, sizeof text_wrong_number},
  };
  for (const TextSlot& entry : slots) std::memset(entry.slot, 0, entry.size);

  // Missing file, section, key or value: the English text of the key. A text longer than
  // its slot is cut to fit.
  IniFile store;
  if (path_fits) store.Open(path, 1);
  const char* section = LanguageSection(language_id);
  for (const TextSlot& entry : slots) {
    CopyText(entry.slot, entry.size, store.GetValue(section, entry.key, entry.fallback));
  }
  store.Close();

  RedrawCurrentScreen();
}

void ControllerDialog::SaveVolumeSetting() {
  char path[128] = {};
  if (!BuildProgramPath(path, program_directory, kSetupFile)) return;
  char volume[16] = {};
  std::snprintf(volume, sizeof volume, "%d", static_cast<int>(speaker_volume));
  // Saved durably through the platform; a setup.ini that the user made read-only is kept.
  IniFile store(host_.files);
  store.Open(path, 0);
  if (!store.SetValue("SYSTEM", "VOL", volume)) Diagnose("setup.ini: the store refused the volume");
  if (!store.Close())
    Diagnose("setup.ini: the volume could not be saved; the file stays as it was");
}

}  // namespace mivo
