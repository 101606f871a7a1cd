// The event lines of the handset and the VoIP client (`handset arrive`, `key K`, `ring "TEXT"`,
// `finished`, ...): what message each one delivers to the controller's window and what it does
// to the devices' models on the way. One piece for the script runner, which pumps its virtual
// event loop after each, and for the stand-in libraries, which post the message for real; and
// the handset's observations, printed alike by both.
// Portable C++ (no system headers).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/script_parser.h"
#include "platform/sim/sim_handset.h"
#include "platform/sim/sim_voip_client.h"
#include "platform/win_types.h"

namespace mivo::sim {

// How the event command `name` is written, or null when `name` is not an event command.
const char* DeviceEventUsage(const std::string& name);

struct DeviceEvent {
  // Who delivers it: the handset library, the VoIP bridge, or the system (power, mixer and
  // raw messages, posted to the controller's window as Windows or another program would).
  enum class Source { kHandset, kClient, kSystem };
  // What the models do before the message goes out.
  enum class Effect {
    kNone,
    kWorld,           // `handset plugged`: a world command, nothing is delivered
    kLosePower,       // the handset forgets its display and LEDs (removal, loss, suspend)
    kNoteRinging,     // the client rings with `text`
    kNoteInProgress,  // the client has a call in progress from now on
    kDropCall,        // the call ended at the client, which leaves the message to the line
    kFarEndHangsUp,   // `finished` in auto mode: the client ends the call and posts itself
  };

  Source source = Source::kSystem;
  Effect effect = Effect::kNone;
  UINT message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  // Bytes whose address goes in lParam (caller text, call id, key report), held by the
  // deliverer until the message is handled.
  std::optional<std::string> text;
  // `press`: the release follows after this many milliseconds.
  std::optional<std::int64_t> release_after_ms;
};

// Reads an event command's words. Throws ScriptError with the usage or the wrong word; nothing
// has changed then.
DeviceEvent ParseDeviceEvent(const ScriptCommand& command);

// Carries out the event's model effects. `handset` or `client` may be null for a deliverer
// that has no such model (the effects on it are then skipped). Returns true when the model
// has already posted the message itself (auto mode's hang-up); the caller then delivers
// nothing more. `auto_mode` is the client's world setting.
bool ApplyDeviceEvent(const DeviceEvent& event, SimHandset* handset, SimVoipClient* client,
                      bool auto_mode);

// The observations of the handset, as a script prints them: `lcd` (four lines, top row first)
// and `leds`.
std::vector<std::string> LcdLines(const SimHandset& handset);
std::string LedsLine(const SimHandset& handset);

}  // namespace mivo::sim
