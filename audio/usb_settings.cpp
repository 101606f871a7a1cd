// The tuning values and the saved speaker volume handed to the handset's USB audio driver at
// every handset arrival.
#include <algorithm>
#include <cstring>

#include "app/controller_dialog.h"
#include "config/ini_file.h"
#include "voip/blocks.h"

namespace mivo {

namespace {

constexpr const char* kControlDevice = "\\\\.\\QRX_AudioExtra0";
// Buffered control requests of the driver (FILE_DEVICE_UNKNOWN, METHOD_BUFFERED,
// FILE_ANY_ACCESS): function 0xB01 takes "MG", function 0xB12 the five values of "SYSTEM".
constexpr DWORD kRequestMg = 0x222C04;
constexpr DWORD kRequestSystemBlock = 0x222C48;
constexpr int kMaxVolume = 65536;

// Reads one integer setting of setup.ini; `store` is null when the file could not be used,
// and then every setting has its default.
int ReadSetting(IniFile* store, const char* section, const char* key, const char* fallback) {
  const char* text = store != nullptr ? store->GetValue(section, key, fallback) : fallback;
  return ParseDecimal(text);
}

}  // namespace

void ControllerDialog::ApplyUsbAudioSettings() {
  const Handle device = host_.system.CreateFile(kControlDevice);
  if (device == INVALID_HANDLE_VALUE || device == 0) return;

  // setup.ini lies in the start directory. A directory too long for the path buffer would
  // leave a cut path that names another file, so the defaults are used instead.
  constexpr const char* kFileName = "setup.ini";
  char path[128] = {};
  IniFile store;
  IniFile* settings = nullptr;
  if (std::strlen(program_directory) + 1 + std::strlen(kFileName) < sizeof path) {
    JoinProgramPath(path, sizeof path, program_directory, kFileName);
    store.Open(path, 0);
    settings = &store;
  }

  std::uint8_t mg[4];
  blocks::WriteInt32(mg, ReadSetting(settings, "USBAUDIO_SET", "MG", "130"));
  host_.system.DeviceIoControl(device, kRequestMg, mg, sizeof mg);

  // The saved volume; speaker_volume follows through the mixer's change notification. A value
  // outside the mixer's range is brought into it.
  const int volume = std::clamp(ReadSetting(settings, "SYSTEM", "VOL", "32768"), 0, kMaxVolume);
  SetMixerVolume(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, volume);

  static constexpr struct {
    const char* key;
    const char* fallback;
  } kSystemBlock[] = {{"P", "2400"}, {"NL", "180"}, {"SV", "6"}, {"VS", "3"}, {"VATS", "20"}};
  std::uint8_t system_block[sizeof kSystemBlock / sizeof kSystemBlock[0] * 4];
  for (std::size_t i = 0; i < sizeof kSystemBlock / sizeof kSystemBlock[0]; ++i) {
    blocks::WriteInt32(system_block + 4 * i, ReadSetting(settings, "SYSTEM", kSystemBlock[i].key,
                                                         kSystemBlock[i].fallback));
  }
  host_.system.DeviceIoControl(device, kRequestSystemBlock, system_block, sizeof system_block);

  host_.system.CloseHandle(device);
  store.Close();
}

}  // namespace mivo
