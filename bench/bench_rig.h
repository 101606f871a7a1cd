// The controller on the simulated platform with the trace off, for the benchmarks. The
// phone-book block is built once and handed out again at every fetch, so a fetch measures the
// controller and not the simulated client's block building.
#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "platform/sim/sim_platform.h"

namespace mivo::bench {

// A simulated client whose phone-book block is built at the first fetch and then reused.
class PrebuiltBookClient : public sim::SimVoipClient {
 public:
  explicit PrebuiltBookClient(sim::SimPlatform& sim) : SimVoipClient(sim.loop, sim.world) {}
  bool fGetFullPhoneBook(const std::uint8_t** block) override;

 private:
  const std::uint8_t* book_ = nullptr;
};

// The shapes of a phone book that the fetch is measured on.
enum class BookShape {
  kSorted,     // names in ascending order
  kReversed,   // names in descending order
  kEqual,      // every name the same
  kCaseEqual,  // every name the same apart from case
  kRandom,     // random names, some equal apart from case
  kLongNames,  // 64-byte names sharing 63 characters, no terminator, descending
};
const char* ShapeName(BookShape shape);
// `count` contacts of that shape, every one with `status` (0 or 1) unless `mixed_status`,
// which gives every third contact status 0.
std::vector<sim::SimContact> MakeBook(BookShape shape, int count, bool mixed_status = false);

class Rig {
 public:
  // The controller with the given phone book, `calls` history records and `voicemails`
  // voicemails; the shipped lang.ini is in its start directory.
  explicit Rig(std::vector<sim::SimContact> book, int calls = 20, int voicemails = 5);
  ~Rig();
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  // Starts the controller, brings it on line on the idle page (English), and runs `body`
  // while its modal loop runs.
  void Run(const std::function<void(ControllerDialog&)>& body);

  // Posts a message and dispatches it (and whatever it posts) at the current time.
  void Post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // A key message and its release.
  void Press(int key);
  void Wait(int ms) { sim_.loop.Advance(ms); }

  sim::SimPlatform& sim() { return sim_; }
  PrebuiltBookClient& voip() { return voip_; }

 private:
  std::ostringstream out_;
  std::string dir_;
  sim::SimPlatform sim_;
  PrebuiltBookClient voip_;
  ControllerApp app_;
};

}  // namespace mivo::bench
