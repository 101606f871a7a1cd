// Language texts from lang.ini and the volume saved to setup.ini, on the running controller.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "tests/harness.h"

namespace mivo {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string ShippedFile(const char* name) {
  std::ifstream in(std::string(MIVO_RES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The 18 text keys and their English defaults, in load order.
const char* const kTextKeys[18][2] = {
    {"Contacts", "Contacts"},
    {"CallHistory", "History"},
    {"Incoming", "Incoming"},
    {"Missed", "Missed"},
    {"Outgoing", "Outgoing"},
    {"Voicemail", "Voicemail"},
    {"Inbox", "Inbox"},
    {"ConferenceCall", "Conference Call"},
    {"DialPad", "Dial pad"},
    {"SpeedDial", "Speed dial"},
    {"EnterNumber", "Enter number"},
    {"Volume", "Volume"},
    {"CallWith", "Call with..."},
    {"IncomingCall", "Incoming Call"},
    {"About", "About"},
    {"Close", "Close"},
    {"PlayVoicemail", "Play voicemail"},
    {"WrongNumber", "Wrong Number"},
};

std::vector<const char*> Slots(const ControllerDialog& c) {
  return {c.text_contacts,       c.text_call_history,  c.text_incoming,     c.text_missed,
          c.text_outgoing,       c.text_voicemail,     c.text_inbox,        c.text_conference_call,
          c.text_dial_pad,       c.text_speed_dial,    c.text_enter_number, c.text_volume,
          c.text_call_with,      c.text_incoming_call, c.text_about,        c.text_close,
          c.text_play_voicemail, c.text_wrong_number};
}

void ExpectEnglishDefaults(const ControllerDialog& c) {
  const std::vector<const char*> slots = Slots(c);
  for (int i = 0; i < 18; ++i) EXPECT_STREQ(slots[i], kTextKeys[i][1]) << kTextKeys[i][0];
}

TEST(ShippedLanguageFileTest, EverySectionHasEveryText) {
  const std::string content = ShippedFile("lang.ini");
  ASSERT_EQ(content.substr(0, 3), kBom);
  test::Harness h;  // for its private temporary directory
  h.WriteFile("lang.ini", content);
  const std::string path = h.dir() + "/lang.ini";
  IniFile store;
  ASSERT_TRUE(store.Open(path.c_str(), 1));
  for (const char* section : {"English", "German", "Italian", "Spanish", "Dutch", "French"}) {
    for (const auto& key : kTextKeys) {
      const std::string text = store.GetValue(section, key[0], "");
      EXPECT_FALSE(text.empty()) << section << " " << key[0];
      EXPECT_LE(text.size(), 63u) << section << " " << key[0];
      if (std::strcmp(section, "English") == 0) {
        EXPECT_EQ(text, key[1]);
      }
    }
  }
  store.Close();
}

TEST(LanguageTextsTest, ShippedFileChoosesTheSectionByLanguage) {
  test::Harness h;
  h.WriteFile("lang.ini", ShippedFile("lang.ini"));
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_LANGUAGE, 0, 7);
    EXPECT_EQ(c.language_id, 7);
    EXPECT_STREQ(c.text_contacts, "Kontakte");
    EXPECT_STREQ(c.text_close,
                 "Schlie\xC3\x9F"
                 "en");
    h.Post(MSG_LANGUAGE, 0, 12);
    EXPECT_STREQ(c.text_close, "Fermer");
    h.Post(MSG_LANGUAGE, 0, 1033);
    EXPECT_EQ(c.language_id, 1033);
    ExpectEnglishDefaults(c);
  });
  // Loading only reads: the shipped file is left byte for byte.
  EXPECT_EQ(h.ReadFile("lang.ini"), ShippedFile("lang.ini"));
}

TEST(LanguageTextsTest, MissingFileGivesDefaultsAndClearsTheNumber) {
  test::Harness h;
  h.Run([&](ControllerDialog& c) {
    std::memcpy(c.dial_buf, "12345", 6);
    std::memcpy(c.text_contacts, "stale", 6);
    c.dial_len = 5;
    h.Post(MSG_LANGUAGE, 0, 7);
    EXPECT_STREQ(c.dial_buf, "");
    EXPECT_EQ(c.dial_len, 5);
    ExpectEnglishDefaults(c);
  });
  EXPECT_TRUE(h.FileExists("lang.ini"));
  EXPECT_EQ(h.ReadFile("lang.ini"), "");
}

TEST(LanguageTextsTest, LongTextsAreCutToTheirSlots) {
  test::Harness h;
  const std::string long_text(150, 'x');
  h.WriteFile("lang.ini", kBom + "[English]\nAbout=" + long_text + "\nInbox=" + long_text + "\n");
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_LANGUAGE, 0, 9);
    EXPECT_EQ(std::string(c.text_about), long_text.substr(0, 63));
    EXPECT_EQ(std::string(c.text_inbox), long_text.substr(0, 127));
  });
}

TEST(VolumeSettingTest, RemovalWritesTheVolumeAndDropsComments) {
  test::Harness h;
  h.WriteFile("setup.ini", ShippedFile("setup.ini"));
  h.Run([&](ControllerDialog& c) {
    c.speaker_volume = 1928;
    h.Post(MSG_HANDSET_REMOVED);
  });
  EXPECT_EQ(h.ReadFile("setup.ini"),
            "[SYSTEM]\r\nVOL=1928\r\nP=2400\r\nNL=180\r\nSV=6\r\nVS=3\r\nVATS=20\r\n\r\n"
            "[USBAUDIO_SET]\r\nMG=130\r\n\r\n");
}

TEST(VolumeSettingTest, OverlongDirectoryTouchesNoOtherFile) {
  test::Harness h;
  h.Run([&](ControllerDialog& c) {
    // 119 characters leave no room for "\setup.ini" or "\lang.ini" in 128 bytes; the cut
    // paths would name other files.
    if (h.dir().size() > 100) GTEST_SKIP() << "temporary directory path too long";
    const std::string directory = h.dir() + "/" + std::string(119 - h.dir().size() - 1, 'd');
    ASSERT_EQ(directory.size(), 119u);
    std::filesystem::create_directory(directory);
    std::memcpy(c.program_directory, directory.c_str(), directory.size() + 1);
    c.speaker_volume = 100;
    c.SaveVolumeSetting();
    EXPECT_TRUE(std::filesystem::is_empty(directory));
    h.Post(MSG_LANGUAGE, 0, 7);
    ExpectEnglishDefaults(c);
    EXPECT_TRUE(std::filesystem::is_empty(directory));
  });
}

}  // namespace
}  // namespace mivo
