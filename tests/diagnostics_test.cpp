// Diagnostics lines: what the controller drops silently is reported through the platform's
// diagnostics output, which changes nothing else and stays out of scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "core/constants.h"
#include "platform/sim/sim_platform.h"
#include "sim/script_runner.h"
#include "tests/harness.h"
#include "voip/blocks.h"

namespace mivo {
namespace {

// A client whose active-call list is whatever block the test gives it.
class BlockClient : public sim::SimVoipClient {
 public:
  using SimVoipClient::SimVoipClient;
  const std::uint8_t* active_block = nullptr;
  bool fGetActiveCalls(const std::uint8_t** block) override {
    SimVoipClient::fGetActiveCalls(block);
    *block = active_block;
    return true;
  }
};

// The controller over the simulated platform with that client; returns the trace and collects
// the diagnostics lines when `lines` is given.
std::string RunWithActiveBlock(const std::uint8_t* block, std::vector<std::string>* lines) {
  std::ostringstream out;
  sim::SimPlatform sim(out);
  BlockClient client(sim.loop, sim.world);
  trace::TracingVoipBridge traced_client(client, sim.trace);
  client.active_block = block;
  if (lines != nullptr) {
    sim.system.set_diagnostics([lines](const std::string& line) { lines->push_back(line); });
  }
  ControllerApp app(sim.traced_handset, traced_client, sim.host());
  static const char kId[] = "17";
  sim.window.set_modal_driver([&] {
    sim.loop.Post(MSG_CALL_IN_PROGRESS, 0, reinterpret_cast<LPARAM>(kId));
    sim.loop.Pump();
  });
  app.InitInstance();
  return out.str();
}

TEST(Diagnostics, RejectedBlocksAreReportedAndChangeNothing) {
  std::uint8_t negative[4];
  blocks::WriteInt32(negative, -3);
  std::uint8_t huge[4];
  blocks::WriteInt32(huge, 100001);
  std::uint8_t believed[4];
  blocks::WriteInt32(believed, 0);

  struct Case {
    const std::uint8_t* block;
    const char* line;
  };
  const Case cases[] = {
      {nullptr, "MivoRun: fGetActiveCalls: no block, read as an empty list"},
      {negative,
       "MivoRun: fGetActiveCalls: block rejected (negative count -3), read as an empty list"},
      {huge,
       "MivoRun: fGetActiveCalls: block rejected (count above the limit 100001), read as an "
       "empty list"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    const std::string traced = RunWithActiveBlock(c.block, &lines);
    EXPECT_EQ(lines, std::vector<std::string>{c.line});
    // The same run without anyone listening traces the same.
    EXPECT_EQ(RunWithActiveBlock(c.block, nullptr), traced);
  }
  std::vector<std::string> lines;
  RunWithActiveBlock(believed, &lines);
  EXPECT_TRUE(lines.empty());
}

TEST(Diagnostics, RepairProgramThatCannotStart) {
  test::Harness h;
  std::vector<std::string> lines;
  h.sim().system.set_diagnostics([&](const std::string& line) { lines.push_back(line); });
  h.world().handset.driver_ok = false;
  h.world().pc.programs["edDevice_Q5.exe"] = false;
  h.Run([&](ControllerDialog&) { h.Post(MSG_DRIVER_CHECK); });
  EXPECT_EQ(lines, std::vector<std::string>{
                       "MivoRun: the repair program edDevice_Q5.exe cannot start; skipped"});
  // The other program ran as usual.
  EXPECT_TRUE(h.Has("CreateProcess(\"rmfilter_Q5.exe\")"));
}

TEST(Diagnostics, VolumeThatCannotBeSaved) {
  test::Harness h;
  std::vector<std::string> lines;
  h.sim().system.set_diagnostics([&](const std::string& line) { lines.push_back(line); });
  // A folder where setup.ini should be: the store cannot read it and will not replace it.
  std::filesystem::create_directory(h.dir() + "/setup.ini");
  h.Run([&](ControllerDialog&) {
    h.Post(MSG_HANDSET_ARRIVED);
    EXPECT_TRUE(lines.empty());
    h.Post(MSG_HANDSET_REMOVED);
  });
  EXPECT_EQ(lines, std::vector<std::string>{
                       "MivoRun: setup.ini: the volume could not be saved; the file stays as it "
                       "was"});
  EXPECT_TRUE(std::filesystem::is_directory(h.dir() + "/setup.ini"));
}

TEST(Diagnostics, ScriptsSeeNone) {
  std::istringstream script(
      "driver broken\n"
      "program rmfilter_Q5.exe missing\n"
      "start\n"
      "handset driver-check\n");
  std::ostringstream out;
  std::ostringstream err;
  sim::ScriptRunner runner(script, out, err);
  EXPECT_EQ(runner.Run(), 0);
  EXPECT_EQ(out.str().find("MivoRun:"), std::string::npos);
  EXPECT_EQ(err.str(), "");
}

TEST(Diagnostics, OneLineEachCutToItsBound) {
  std::ostringstream out;
  sim::SimPlatform sim(out);
  std::vector<std::string> lines;
  sim.system.set_diagnostics([&](const std::string& line) { lines.push_back(line); });
  sim.system.OutputDebugString("two\nlines\r");
  sim.system.OutputDebugString(nullptr);
  sim.system.OutputDebugString(std::string(2000, 'x').c_str());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "two lines ");
  EXPECT_EQ(lines[1].size(), 512u);
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace mivo
