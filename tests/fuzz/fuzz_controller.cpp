// The controller under a fuzzed sequence of events: handset keys and byte reports, waits,
// messages with arbitrary parameters, changes of the simulated world (phone book, history,
// voicemails, mixers, on-line state) and new setting and language files. After every step the
// controller's counts, cursors and texts are within their tables, the LCD calls address its
// four rows, and only the controller's own timers run.
//
// Input: one operation byte, then the bytes that operation takes (see Step).
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/constants.h"
#include "platform/framework.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/harness.h"
#include "tests/invariants.h"

namespace {

using namespace mivo;

// Messages whose lParam the controller takes as a pointer (1227 only with a wParam other
// than 1): these get a buffer of the input's bytes, 0, or a number below 65536 or -1. Other
// numbers might fall on the sanitizer's own memory, which a real program does not have.
bool PointerMessage(UINT message, WPARAM wparam) {
  return message == MSG_CALL_RINGING || message == MSG_CALL_IN_PROGRESS ||
         message == MSG_SECOND_CALL || (message == MSG_HANDSET_KEY && wparam != 1);
}

class Session {
 public:
  Session(test::Harness& h, fuzz::Reader& in) : h_(h), in_(in) {}

  void Step() {
    switch (in_.Byte() % 12) {
      case 0:
      case 1:
      case 2:
        h_.Key(AnyKey());
        break;
      case 3:
        Report();
        break;
      case 4:
        h_.Wait(in_.U16() % 25001);
        break;
      case 5:
      case 6:
        Message();
        break;
      case 7:
        ChangeWorld();
        break;
      case 8:
        LanguageFile();
        break;
      case 9:
        SetupFile();
        break;
      case 10:
        h_.Post(WM_COMMAND, in_.Byte() % 2 == 0 ? ID_ABOUT : 40000, 0);
        break;
      default:
        h_.Post(MSG_TRAY_NOTIFY, h_.controller()->tray_icon_id,
                in_.Byte() % 2 == 0 ? WM_RBUTTONUP : WM_LBUTTONDBLCLK);
        break;
    }
  }

 private:
  LPARAM Buffer(std::string bytes) {
    buffers_.push_back(std::move(bytes));
    return reinterpret_cast<LPARAM>(buffers_.back().c_str());
  }
  // A text of the input's bytes, terminated (the buffer adds the zero), 0, or a number that
  // points nowhere the program can read (any program may post one).
  LPARAM Text() {
    const std::uint8_t length = in_.Byte();
    if (length == 255) return 0;
    if (length == 254) return static_cast<LPARAM>(in_.U16());
    if (length == 253) return static_cast<LPARAM>(-1);
    return Buffer(in_.Bytes(length));
  }
  int AnyKey() {
    static const int kOdd[] = {-1, 24, 50, 99, 101, INT_MIN, INT_MAX, -128};
    const std::uint8_t b = in_.Byte();
    if (b < 24) return b;
    if (b < 40) return KEY_MUTE;
    if (b < 48) return kOdd[b - 40];
    // Navigation keys more often, so that every page is reached.
    static const int kNavigation[] = {KEY_SKYPE, KEY_DOWN, KEY_UP,      KEY_CANCEL,
                                      KEY_CALL,  KEY_0,    KEY_RELEASE, KEY_DOWN};
    return kNavigation[b % 8];
  }
  void Report() {
    const std::uint8_t w = in_.Byte();
    std::string report = in_.Bytes(2 + w % 7);
    report.resize(std::max<std::size_t>(report.size(), 2), '\0');
    h_.Post(MSG_HANDSET_KEY, w & 0x80 ? 2 : 0, Buffer(report));
  }
  WPARAM AnyParam() {
    static const WPARAM kEdges[] = {0,    1,    4,    7,    31,   104,  107,
                                    1001, 1002, 1003, 1004, 1005, 1006, static_cast<WPARAM>(-1)};
    const std::uint8_t b = in_.Byte();
    if (b < 14 * 12) return kEdges[b % 14];
    return static_cast<WPARAM>(static_cast<std::int32_t>(in_.U32()));
  }
  void Message() {
    static const UINT kMessages[] = {WM_POWERBROADCAST,
                                     MM_MIXM_CONTROL_CHANGE,
                                     MSG_VOIP_ATTACHED,
                                     MSG_VOIP_DETACHED,
                                     MSG_CALL_IN_PROGRESS,
                                     MSG_CALL_FINISHED,
                                     MSG_SECOND_CALL,
                                     MSG_CALL_ON_HOLD,
                                     MSG_CALL_RESUMED,
                                     MSG_CALL_RINGING,
                                     MSG_VOIP_ONLINE,
                                     MSG_VOICEMAIL_CHANGED,
                                     MSG_CALL_FAILED,
                                     MSG_VOICEMAIL_ENDED,
                                     MSG_MISSED_CALLS_CHANGED,
                                     MSG_LANGUAGE,
                                     MSG_HANDSET_ARRIVED,
                                     MSG_HANDSET_REMOVED,
                                     MSG_HANDSET_KEY,
                                     MSG_HANDSET_LOST,
                                     MSG_DRIVER_CHECK,
                                     MSG_REPEAT_ACTION,
                                     WM_TIMER,
                                     WM_CLOSE,
                                     1127,
                                     1153,
                                     1234,
                                     0xFFFFFFFFu};
    const UINT message = kMessages[in_.Byte() % (sizeof kMessages / sizeof kMessages[0])];
    const WPARAM wparam = AnyParam();
    const LPARAM lparam = PointerMessage(message, wparam)
                              ? Text()
                              : static_cast<LPARAM>(static_cast<std::int64_t>(AnyParam()));
    h_.Post(message, wparam, lparam);
  }
  std::string Name() { return in_.Bytes(in_.Byte() % 80); }
  void ChangeWorld() {
    sim::SimWorld& world = h_.world();
    switch (in_.Byte() % 8) {
      case 0: {
        world.voip.contacts.clear();
        const int count = in_.Byte() % 2 == 0 ? in_.Byte() % 16 : in_.U16() % 1100;
        for (int i = 0; i < count; ++i) {
          sim::SimContact contact;
          contact.handle = "h" + std::to_string(i);
          contact.name = i < 16 ? Name() : "n" + std::to_string(count - i);
          contact.status = in_.Byte() % 3 == 0 ? 0 : 1;
          contact.speed = std::to_string(i % 7);
          world.voip.contacts.push_back(contact);
        }
        break;
      }
      case 1:
      case 2: {
        sim::SimCall call;
        call.id = Name();
        call.handle = in_.Byte() % 2 == 0 ? "h0" : Name();
        call.name = Name();
        call.type = static_cast<std::int32_t>(in_.U32());
        call.status = in_.Byte() % 2 == 0 ? 8 : static_cast<std::int32_t>(in_.U32());
        call.time = Name();
        (in_.Byte() % 2 == 0 ? world.voip.history : world.voip.active).push_back(call);
        break;
      }
      case 3:
        world.voip.voicemails.push_back({Name(), Name(), Name()});
        world.voip.unplayed = static_cast<int>(in_.U32());
        break;
      case 4:
        world.voip.history.clear();
        world.voip.active.clear();
        world.voip.voicemails.clear();
        world.voip.missed = static_cast<int>(in_.U32());
        break;
      case 5:
        world.voip.online = !world.voip.online;
        h_.Post(world.voip.online ? MSG_VOIP_ONLINE : MSG_VOIP_DETACHED);
        break;
      case 6:
        // A mixer reports 0..65535; the simulated one keeps 65536 when told so.
        world.pc.mixers.push_back({Name(), in_.U32() % 65537});
        break;
      default:
        world.pc.mixers.clear();
        world.handset.driver_ok = in_.Byte() % 2 == 0;
        break;
    }
  }
  void LanguageFile() {
    h_.WriteFile("lang.ini", in_.Bytes(in_.U16() % 2048));
    static const LPARAM kLanguages[] = {7, 9, 10, 12, 16, 19, 0, 1033};
    h_.Post(MSG_LANGUAGE, 0, kLanguages[in_.Byte() % 8]);
  }
  void SetupFile() {
    h_.WriteFile("setup.ini", in_.Bytes(in_.U16() % 2048));
    h_.Post(in_.Byte() % 2 == 0 ? MSG_HANDSET_ARRIVED : MSG_HANDSET_REMOVED);
  }

  test::Harness& h_;
  fuzz::Reader& in_;
  std::deque<std::string> buffers_;  // the texts whose addresses went out
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  test::Harness h;
  // The first byte: handset plugged at start, client in auto mode, start on line.
  const std::uint8_t setup = in.Byte();
  h.world().handset.plugged = setup & 1;
  h.world().voip.auto_mode = setup & 2;
  h.Run([&](ControllerDialog& c) {
    if (setup & 4) h.Post(MSG_VOIP_ONLINE);
    Session session(h, in);
    for (int step = 0; !in.empty() && step < 500 && h.controller() != nullptr; ++step) {
      session.Step();
      const std::string where = "step " + std::to_string(step);
      if (h.controller() != nullptr) fuzz::CheckEmpty(test::CheckInvariants(h.sim(), c), where);
      fuzz::CheckEmpty(test::CheckLcdRows(h.Text()), where);
      h.ClearTrace();
    }
  });
  return 0;
}
