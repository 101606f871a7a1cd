// The world of the simulated platform: what the scenario script's world commands set and what
// the simulated handset, VoIP client and PC read. Plain data; the components own behaviour.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mivo::sim {

struct SimContact {
  std::string handle;
  std::string name;
  std::int32_t status = 1;
  std::int32_t time_zone = 0;  // raw field: seconds from GMT plus 86400, 0 = none
  std::string speed;
  std::string profile1 = "UNKNOWN";
  std::string profile2 = "UNKNOWN";
  std::string profile3 = "UNKNOWN";
};

struct SimCall {
  std::string id;
  std::string handle;
  std::string name;
  std::int32_t type = 0;
  std::int32_t status = 0;
  std::string time;  // date and time text
};

struct SimVoicemail {
  std::string id;
  std::string handle;
  std::string name;
};

// The VoIP client's side of the world.
struct VoipWorld {
  std::vector<SimContact> contacts;
  std::vector<SimCall> history;
  std::vector<SimCall> active;
  std::vector<SimVoicemail> voicemails;
  int missed = 0;
  int unplayed = 0;
  bool online = true;
  bool client_found = true;  // `client missing` makes fRunAP fail
  bool auto_mode = false;
  int language = 9;  // what the client reports in auto mode
};

struct SimMixerDevice {
  std::string name;
  std::uint32_t volume = 32768;
};

// The PC's side of the world.
struct PcWorld {
  // Local date and time as set by `time` (seconds since 1970-01-01 of the local calendar, as if
  // it were UTC), and the time zone: UTC = local + bias minutes, less one hour in DST.
  std::int64_t local_seconds = 0;
  std::int32_t bias_minutes = 0;
  bool daylight = false;

  std::vector<SimMixerDevice> mixers;
  bool registry_key_present = true;
  std::optional<std::string> registry_record;  // raw REG_SZ data as written
  std::optional<std::string> registry_playback;
  bool control_device_present = true;
  std::map<std::string, bool> programs;      // command line -> found (default found)
  std::vector<std::string> window_captions;  // other programs' top-level windows
  std::string start_directory;               // the process's current directory
};

// The handset's side of the world.
struct HandsetWorld {
  bool plugged = false;  // fConnectDevice posts the arrival message
  bool driver_ok = true;
};

struct SimWorld {
  PcWorld pc;
  HandsetWorld handset;
  VoipWorld voip;
};

}  // namespace mivo::sim
