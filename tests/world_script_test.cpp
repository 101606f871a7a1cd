// The world files of the stand-in libraries: the handset and client commands, what the file
// may not hold, and that a bad line stops the reading with the lines before it applied.
#include "platform/sim/world_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace mivo::sim {
namespace {

std::optional<WorldFileError> Read(const std::string& text, SimWorld& world) {
  std::istringstream in(text);
  return ReadWorldFile(in, world);
}

TEST(WorldFileTest, HandsetAndClientCommandsSetTheWorld) {
  SimWorld world;
  const auto error = Read(
      "# the demo\r\n"
      "handset plugged\n"
      "driver broken\n"
      "client auto on\n"
      "\n"
      "contact alice \"Alice A\" status=2 speed=11 tz=90000\n"
      "contacts-generate 3\n"
      "history 7 bob \"Bob\" type=1 status=3 time=\"2026-01-04 18:30\"\n"
      "active 9 alice \"Alice A\"\n"
      "active-clear\n"
      "active 10 bob \"Bob\"\n"
      "voicemail 5 carol \"Carol\"\n"
      "missed 2\n"
      "unplayed 1\n"
      "online 0\n"
      "client missing",  // no line end at the end of the file
      world);
  ASSERT_FALSE(error.has_value()) << error->Message();
  EXPECT_TRUE(world.handset.plugged);
  EXPECT_FALSE(world.handset.driver_ok);
  EXPECT_TRUE(world.voip.auto_mode);
  EXPECT_FALSE(world.voip.client_found);
  EXPECT_FALSE(world.voip.online);
  ASSERT_EQ(world.voip.contacts.size(), 4u);
  EXPECT_EQ(world.voip.contacts[0].name, "Alice A");
  EXPECT_EQ(world.voip.contacts[0].status, 2);
  EXPECT_EQ(world.voip.contacts[0].time_zone, 90000);
  EXPECT_EQ(world.voip.contacts[0].speed, "11");
  EXPECT_EQ(world.voip.contacts[0].profile1, "UNKNOWN");
  EXPECT_EQ(world.voip.contacts[3].handle, "user0003");
  ASSERT_EQ(world.voip.history.size(), 1u);
  EXPECT_EQ(world.voip.history[0].time, "2026-01-04 18:30");
  EXPECT_EQ(world.voip.history[0].status, 3);
  ASSERT_EQ(world.voip.active.size(), 1u);
  EXPECT_EQ(world.voip.active[0].id, "10");
  ASSERT_EQ(world.voip.voicemails.size(), 1u);
  EXPECT_EQ(world.voip.missed, 2);
  EXPECT_EQ(world.voip.unplayed, 1);
}

TEST(WorldFileTest, BadLineStopsWithTheLinesBeforeItApplied) {
  const struct {
    const char* line;
    const char* what;
  } kCases[] = {
      {"handset arrive", "usage: handset plugged"},
      {"time 2026-01-05", "usage: time YYYY-MM-DD HH:MM:SS"},
      {"mixer \"Speakers\" volume=-1", nullptr},
      {"ring \"Alice\"", "unknown world command \"ring\""},
      {"file setup.ini <<END", "unknown world command \"file\""},
      {"bogus", "unknown world command \"bogus\""},
      {"\"contact\" a \"A\"", "unknown world command \"contact\""},
      {"contact a",
       "usage: contact HANDLE \"NAME\" [status=N] [tz=N] [speed=T] [p1=T] [p2=T] "
       "[p3=T]"},
      {"contact a \"A\" colour=red", nullptr},
      {"contact a \"A\" status=x", "bad number \"x\" for status"},
      {"contacts-generate 10000", nullptr},
      {"history 1 a \"A\" type=1 status=0", nullptr},
      {"client auto maybe", "usage: client missing | client auto on|off"},
      {"online 2", nullptr},
      {"voicemail 1 \"unterminated", "unterminated quoted text"},
  };
  for (const auto& c : kCases) {
    SimWorld world;
    const auto error = Read(std::string("contact first \"First\"\n\n") + c.line +
                                "\ncontact after \"After\"\nhandset plugged\n",
                            world);
    ASSERT_TRUE(error.has_value()) << c.line;
    EXPECT_EQ(error->line, 3) << c.line;
    if (c.what != nullptr) {
      EXPECT_EQ(error->what, c.what) << c.line;
    }
    EXPECT_EQ(error->Message().rfind("line 3: ", 0), 0u) << error->Message();
    ASSERT_EQ(world.voip.contacts.size(), 1u) << c.line;
    EXPECT_EQ(world.voip.contacts[0].handle, "first");
    EXPECT_FALSE(world.handset.plugged) << c.line;
  }
}

TEST(WorldFileTest, PcCommandsArePassedOver) {
  SimWorld world;
  const auto error = Read(
      "time 2026-03-01 12:00:00\ntimezone -60 1\nmixer \"Speakers\" volume=5\n"
      "control-device absent\nprogram rmfilter_Q5.exe missing\nregistry-key absent\n"
      "contact a \"A\"\n",
      world);
  ASSERT_FALSE(error.has_value()) << error->Message();
  EXPECT_EQ(world.pc.local_seconds, 0);
  EXPECT_TRUE(world.pc.mixers.empty());
  EXPECT_TRUE(world.pc.control_device_present);
  EXPECT_TRUE(world.pc.registry_key_present);
  EXPECT_EQ(world.voip.contacts.size(), 1u);
}

TEST(WorldFileTest, OverlongLineIsRefusedWithoutHoldingIt) {
  SimWorld world;
  const std::string huge(kMaxWorldLineLength * 50, 'x');
  const auto error = Read("handset plugged\ncontact a \"" + huge + "\"\n", world);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->line, 2);
  EXPECT_NE(error->what.find("longer than"), std::string::npos);
  EXPECT_TRUE(world.handset.plugged);
  EXPECT_TRUE(world.voip.contacts.empty());

  // The longest line allowed still reads.
  SimWorld fits;
  const std::string name(kMaxWorldLineLength - 14, 'n');
  EXPECT_FALSE(Read("contact a \"" + name + "\"\n", fits).has_value());
  ASSERT_EQ(fits.voip.contacts.size(), 1u);
}

// The Windows build ships the simulator's demo world as world.scn.
TEST(WorldFileTest, TheDemoWorldReads) {
  std::ifstream in(MIVO_RES_DIR "/demo_world.scn", std::ios::binary);
  ASSERT_TRUE(in.good());
  SimWorld world;
  const auto error = ReadWorldFile(in, world);
  ASSERT_FALSE(error.has_value()) << error->Message();
  EXPECT_TRUE(world.handset.plugged);
  EXPECT_TRUE(world.voip.auto_mode);
  EXPECT_GE(world.voip.contacts.size(), 12u);
  EXPECT_FALSE(world.voip.history.empty());
  EXPECT_FALSE(world.voip.voicemails.empty());
}

}  // namespace
}  // namespace mivo::sim
