// The simulated PC: clock and locale, code pages, mixer, registry, driver device, processes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"
#include "tests/harness.h"

namespace mivo::sim {
namespace {

class SimPcTest : public ::testing::Test {
 protected:
  std::ostringstream out;
  SimPlatform sim{out};

  std::vector<std::string> Lines() const { return test::SplitLines(out.str()); }
  std::string Format(int locale, const char* picture, int year, int month, int day) {
    LocalTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    char text[64];
    const int n =
        sim.clock.GetDateFormat(locale, LOCALE_USE_CP_ACP, &date, picture, text, sizeof text);
    return n > 0 ? std::string(text) + "|" + std::to_string(n) : "failed";
  }
};

TEST_F(SimPcTest, LocalTimeFollowsTheVirtualClockAndUtcTheTimeZone) {
  LocalTime now = sim.clock.GetLocalTime();
  EXPECT_EQ(now.year, 2026);
  EXPECT_EQ(now.month, 1);
  EXPECT_EQ(now.day, 5);
  EXPECT_EQ(now.day_of_week, 1);  // Monday
  EXPECT_EQ(now.hour, 9);
  EXPECT_EQ(sim.clock.Time(), 1767603600);

  sim.loop.Advance(15 * 3600 * 1000 + 999);  // into the next day; a part second is not counted
  now = sim.clock.GetLocalTime();
  EXPECT_EQ(now.day, 6);
  EXPECT_EQ(now.hour, 0);
  EXPECT_EQ(now.second, 0);

  // Pacific time with daylight saving: UTC = local + 480 min - 1 h.
  sim.world.pc.bias_minutes = 480;
  sim.world.pc.daylight = true;
  sim.world.pc.local_seconds = 1767603600;
  sim.clock.ResetEpoch();
  EXPECT_EQ(sim.clock.Time(), 1767603600 + 7 * 3600);
  LocalTime back;
  ASSERT_TRUE(sim.clock.LocalTimeOf(sim.clock.Time(), &back));
  EXPECT_EQ(back.hour, 9);
  EXPECT_EQ(back.day, 5);
  EXPECT_FALSE(sim.clock.LocalTimeOf(0, nullptr));
}

TEST_F(SimPcTest, CalendarArithmeticAcrossLeapDaysAndBefore1970) {
  sim.world.pc.local_seconds = 951782400;  // 2000-02-29 00:00:00, a Tuesday
  sim.clock.ResetEpoch();
  LocalTime t = sim.clock.GetLocalTime();
  EXPECT_EQ(t.month * 100 + t.day, 229);
  EXPECT_EQ(t.day_of_week, 2);
  ASSERT_TRUE(sim.clock.LocalTimeOf(-1, &t));  // 1969-12-31 23:59:59, a Wednesday
  EXPECT_EQ(t.year, 1969);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 235959);
  EXPECT_EQ(t.day_of_week, 3);
}

TEST_F(SimPcTest, DateNamesOfTheSixLanguages) {
  EXPECT_EQ(Format(9, "dddd", 2026, 1, 5), "Monday|7");
  EXPECT_EQ(Format(7, "MMM'/'dd'/'yyyy", 2026, 1, 5), "Jan./05/2026|13");
  EXPECT_EQ(Format(0x407, "MMM'/'dd'/'yyyy", 2026, 3, 5), "M\xE4rz/05/2026|13");
  EXPECT_EQ(Format(7, "MMM", 2026, 9, 5), "Sept.|6");
  EXPECT_EQ(Format(12, "dddd", 2026, 1, 5), "lundi|6");
  EXPECT_EQ(Format(12, "MMM MMMM", 2026, 2, 5), "f\xE9vr. f\xE9vrier|14");
  EXPECT_EQ(Format(12, "MMM", 2026, 12, 5),
            "d\xE9"
            "c.|5");
  EXPECT_EQ(Format(10, "dddd MMM", 2026, 1, 10),
            "s\xE1"
            "bado ene.|12");
  EXPECT_EQ(Format(16, "dddd MMM", 2026, 1, 5), "luned\xEC gen|11");
  EXPECT_EQ(Format(19, "dddd MMM", 2026, 3, 5), "donderdag mrt|14");
  // Any other language formats as English.
  EXPECT_EQ(Format(0x411, "dddd MMM", 2026, 1, 5), "Monday Jan|11");
}

TEST_F(SimPcTest, DatePictureNumbersAndQuotes) {
  EXPECT_EQ(Format(9, "d dd M MM y yy yyyy", 2009, 3, 7), "7 07 3 03 9 09 2009|20");
  EXPECT_EQ(Format(9, "ddd", 2026, 1, 4), "Sun|4");
  EXPECT_EQ(Format(9, "'d''M' d", 2026, 1, 4), "d'M 4|6");
  EXPECT_EQ(Format(9, "''yy", 2026, 1, 4), "'26|4");
  EXPECT_EQ(Format(9, "'unterminated d", 2026, 1, 4), "unterminated d|15");
  EXPECT_EQ(Format(9, "yyyy", 2026, 2, 30), "failed");
  EXPECT_EQ(Format(9, "yyyy", 2026, 13, 1), "failed");
}

TEST_F(SimPcTest, DatesOutsideTheCalendarsRangeAreRefused) {
  // The system's date range is 1601 to 30827; leap days by the Gregorian rules.
  EXPECT_EQ(Format(9, "yyyy-MM-dd ddd", 1601, 1, 1), "1601-01-01 Mon|15");
  EXPECT_EQ(Format(9, "yyyy", 1600, 12, 31), "failed");
  EXPECT_EQ(Format(9, "yyyy-MM-dd ddd", 30827, 12, 31), "30827-12-31 Fri|16");
  EXPECT_EQ(Format(9, "yyyy", 30828, 1, 1), "failed");
  EXPECT_EQ(Format(9, "ddd", 2000, 2, 29), "Tue|4");
  EXPECT_EQ(Format(9, "ddd", 1900, 2, 29), "failed");
  // Fields that a narrow calendar field would wrap into a valid one.
  EXPECT_EQ(Format(9, "yyyy", 2026, 257, 1), "failed");
  EXPECT_EQ(Format(9, "yyyy", 2026, 1, 257), "failed");
  EXPECT_EQ(Format(9, "yyyy", 2026 + 65536, 1, 1), "failed");
  EXPECT_EQ(Format(9, "yyyy", 2026, -11, 1), "failed");

  // A time whose local date falls outside that range has no local time (as on Windows),
  // rather than a wrapped year.
  LocalTime t{};
  EXPECT_FALSE(sim.clock.LocalTimeOf(INT64_MAX, &t));
  EXPECT_FALSE(sim.clock.LocalTimeOf(INT64_MIN, &t));
  EXPECT_FALSE(sim.clock.LocalTimeOf(-11644473600 - 1, &t));  // 1600-12-31 23:59:59
  ASSERT_TRUE(sim.clock.LocalTimeOf(-11644473600, &t));
  EXPECT_EQ(t.year * 10000 + t.month * 100 + t.day, 16010101);
  EXPECT_EQ(t.day_of_week, 1);
  ASSERT_TRUE(sim.clock.LocalTimeOf(910670515199, &t));
  EXPECT_EQ(t.year * 10000 + t.month * 100 + t.day, 308271231);
  EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 235959);
}

TEST_F(SimPcTest, DateFormatIntoASmallBufferWritesNothing) {
  LocalTime date{2026, 1, 1, 5, 0, 0, 0};
  char text[8];
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(sim.clock.GetDateFormat(9, 0, &date, "dddd", text, 6), 0);
  EXPECT_EQ(std::string(text, sizeof text), "########");
  EXPECT_EQ(sim.clock.GetDateFormat(9, 0, &date, "dddd", text, 7), 7);
  EXPECT_STREQ(text, "Monday");
  EXPECT_EQ(sim.clock.GetDateFormat(9, 0, &date, "dddd", nullptr, 0), 7);  // size query
}

TEST_F(SimPcTest, AnsiCodePageToUtf16ToUtf8) {
  char16_t wide[8];
  EXPECT_EQ(sim.system.MultiByteToWideChar(CP_ACP, "\xE9\x80\x81\x9F", wide, 8), 5);
  EXPECT_EQ(wide[0], 0x00E9);
  EXPECT_EQ(wide[1], 0x20AC);
  EXPECT_EQ(wide[2], 0x0081);
  EXPECT_EQ(wide[3], 0x0178);
  EXPECT_EQ(wide[4], 0);
  char utf8[16];
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_UTF8, wide, utf8, sizeof utf8), 10);
  EXPECT_STREQ(utf8, "\xC3\xA9\xE2\x82\xAC\xC2\x81\xC5\xB8");
  // And back to the ANSI code page; a character outside it becomes '?'.
  const char16_t mixed[] = {0x20AC, 0x4E2D, 0x00FC, 0};
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_ACP, mixed, utf8, sizeof utf8), 4);
  EXPECT_STREQ(utf8, "\x80?\xFC");
}

TEST_F(SimPcTest, Utf8SurrogatePairsAndMalformedInput) {
  char16_t wide[8];
  EXPECT_EQ(sim.system.MultiByteToWideChar(CP_UTF8, "\xF0\x9F\x98\x80", wide, 8), 3);
  EXPECT_EQ(wide[0], 0xD83D);
  EXPECT_EQ(wide[1], 0xDE00);
  char utf8[8];
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_UTF8, wide, utf8, sizeof utf8), 5);
  EXPECT_STREQ(utf8, "\xF0\x9F\x98\x80");
  // A cut sequence and an overlong form each become U+FFFD; the terminator is not swallowed.
  EXPECT_EQ(sim.system.MultiByteToWideChar(CP_UTF8, "a\xC0\xAF\xE2\x82", wide, 8), 5);
  EXPECT_EQ(wide[1], 0xFFFD);
  EXPECT_EQ(wide[3], 0xFFFD);
  const char16_t lone[] = {0xDC00, 'x', 0};
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_UTF8, lone, utf8, sizeof utf8), 5);
  EXPECT_STREQ(utf8, "\xEF\xBF\xBDx");
}

TEST_F(SimPcTest, ConversionThatDoesNotFitWritesNothing) {
  char16_t wide[4] = {1, 1, 1, 1};
  EXPECT_EQ(sim.system.MultiByteToWideChar(CP_ACP, "abcd", wide, 4), 0);
  EXPECT_EQ(wide[0], 1);
  EXPECT_EQ(sim.system.MultiByteToWideChar(CP_ACP, "abcd", nullptr, 0), 5);
  char narrow[3] = {'#', '#', '#'};
  const char16_t euro[] = {0x20AC, 0};
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_UTF8, euro, narrow, 3), 0);
  EXPECT_EQ(narrow[0], '#');
  EXPECT_EQ(sim.system.WideCharToMultiByte(CP_UTF8, euro, narrow, 0), 4);
  EXPECT_EQ(sim.system.WideCharToMultiByte(437, euro, narrow, 3), 0);
}

TEST_F(SimPcTest, MixerChangesNotifyTheOpenMixersWindow) {
  sim.world.pc.mixers = {{"Speakers", 1000}, {"USB Audio Device", 2000}};
  const DWORD value = 65536;
  // No mixer open: the empty handle acts on device 0 and nobody is told.
  EXPECT_TRUE(sim.traced_mixer.mixerSetControlDetails(0, 1, 1, &value));
  EXPECT_EQ(sim.world.pc.mixers[0].volume, 65536u);
  EXPECT_FALSE(sim.loop.HasQueued());

  MixerHandle handle = 0;
  ASSERT_TRUE(sim.traced_mixer.mixerOpen(&handle, 1, SimWindowHost::MainWindow(), CALLBACK_WINDOW));
  EXPECT_NE(handle, 0u);
  MixerLine line;
  line.component_type = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  ASSERT_TRUE(sim.traced_mixer.mixerGetLineInfo(handle, &line));
  EXPECT_EQ(line.channels, 2u);
  MixerControl control;
  ASSERT_TRUE(sim.traced_mixer.mixerGetLineControls(handle, line.line_id,
                                                    MIXERCONTROL_CONTROLTYPE_VOLUME, &control));
  DWORD values[2] = {};
  ASSERT_TRUE(sim.traced_mixer.mixerGetControlDetails(handle, control.control_id, 2, values));
  EXPECT_EQ(values[0], 2000u);
  EXPECT_EQ(values[1], 2000u);

  const DWORD louder = 3928;
  EXPECT_TRUE(sim.traced_mixer.mixerSetControlDetails(handle, control.control_id, 1, &louder));
  EXPECT_EQ(sim.world.pc.mixers[1].volume, 3928u);
  std::vector<UINT> posted;
  sim.loop.set_target([&](UINT message, WPARAM, LPARAM) -> LRESULT {
    posted.push_back(message);
    return 0;
  });
  sim.loop.Pump();
  EXPECT_EQ(posted, (std::vector<UINT>{MM_MIXM_CONTROL_CHANGE}));

  // Another program's change is notified too.
  EXPECT_TRUE(sim.mixer.ExternalSet(100));
  EXPECT_EQ(sim.world.pc.mixers[1].volume, 100u);
  EXPECT_TRUE(sim.loop.HasQueued());

  EXPECT_TRUE(sim.traced_mixer.mixerClose(handle));
  EXPECT_FALSE(sim.traced_mixer.mixerClose(handle));
  EXPECT_FALSE(sim.traced_mixer.mixerGetControlDetails(handle, control.control_id, 2, values));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"mixerSetControlDetails(65536)", "mixerOpen(1)",
                                               "mixerSetControlDetails(3928)", "mixerClose()",
                                               "mixerClose()"}));
}

TEST_F(SimPcTest, MixerWithoutDevicesFailsAndNamesAreCut) {
  MixerLine line;
  line.component_type = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  EXPECT_FALSE(sim.traced_mixer.mixerGetLineInfo(0, &line));
  EXPECT_FALSE(sim.mixer.ExternalSet(5));
  MixerHandle handle = 0;
  EXPECT_FALSE(sim.traced_mixer.mixerOpen(&handle, 0, nullptr, 0));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"mixerOpen(0)"}));

  sim.world.pc.mixers = {{std::string(40, 'n'), 1}};
  MixerCaps caps;
  ASSERT_TRUE(sim.traced_mixer.mixerGetDevCaps(0, &caps));
  EXPECT_EQ(std::string(caps.product_name), std::string(31, 'n'));
  EXPECT_FALSE(sim.traced_mixer.mixerGetDevCaps(1, &caps));
}

TEST_F(SimPcTest, RegistryOpensOneLevelAtATimeAndStoresTheText) {
  RegKey keys[4] = {};
  RegKey parent = HKEY_CURRENT_USER;
  const char* levels[4] = {"SOFTWARE", "Microsoft", "Multimedia", "Sound Mapper"};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(sim.traced_system.RegOpenKeyEx(parent, levels[i], &keys[i])) << levels[i];
    parent = keys[i];
  }
  std::uint8_t data[100] = {};
  std::memcpy(data, "Speakers \xE9", 10);
  EXPECT_TRUE(sim.traced_system.RegSetValueEx(keys[3], "Record", REG_SZ, data, sizeof data));
  std::memset(data, 0, sizeof data);
  EXPECT_TRUE(sim.traced_system.RegSetValueEx(keys[3], "Playback", REG_SZ, data, sizeof data));
  EXPECT_EQ(sim.world.pc.registry_record, "Speakers \xE9");
  EXPECT_EQ(sim.world.pc.registry_playback, "");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"RegSetValueEx(\"Record\", \"Speakers \\xE9\", 100)",
                                               "RegSetValueEx(\"Playback\", \"\", 100)"}));
  // A value without a zero byte is read no further than its length.
  std::memset(data, 'a', sizeof data);
  EXPECT_TRUE(sim.traced_system.RegSetValueEx(keys[3], "Record", REG_SZ, data, 3));
  EXPECT_EQ(sim.world.pc.registry_record, "aaa");
  for (int i = 3; i >= 0; --i) sim.traced_system.RegCloseKey(keys[i]);
  EXPECT_FALSE(sim.traced_system.RegSetValueEx(keys[3], "Record", REG_SZ, data, 3));

  // Without the sound mapper's key the last level fails; a wrong level fails at once.
  sim.world.pc.registry_key_present = false;
  RegKey key = 0;
  EXPECT_TRUE(
      sim.traced_system.RegOpenKeyEx(HKEY_CURRENT_USER, "software\\Microsoft\\Multimedia", &key));
  EXPECT_FALSE(sim.traced_system.RegOpenKeyEx(key, "Sound Mapper", &key));
  EXPECT_FALSE(sim.traced_system.RegOpenKeyEx(HKEY_CURRENT_USER, "Microsoft", &key));
}

TEST_F(SimPcTest, NamesCompareWithoutCaseOnlyForLetters) {
  // A to Z fold onto a to z and nothing else: '[' is not '{', '@' is not '`', and bytes of the
  // code page above 0x7F compare as they are.
  RegKey key = 0;
  EXPECT_TRUE(sim.system.RegOpenKeyEx(HKEY_CURRENT_USER, "sOFTWARE\\mICROSOFT", &key));
  EXPECT_FALSE(sim.system.RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Microsof", &key));
  EXPECT_FALSE(sim.system.RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Microsofts", &key));
  const Handle device = sim.system.CreateFile("\\\\.\\qrx_AUDIOextra0");
  EXPECT_NE(device, INVALID_HANDLE_VALUE);
  sim.system.CloseHandle(device);
  EXPECT_EQ(sim.system.CreateFile("\\\\.\\QRX{AudioExtra0"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(sim.system.CreateFile("\\\\.\\QRX_AudioExtra0\xC9"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(sim.system.CreateFile("\\\\.\\QRX_AudioExtra"), INVALID_HANDLE_VALUE);

  sim.world.pc.window_captions = {"Caption[1]", "\xC9t\xE9"};
  EXPECT_NE(sim.window.FindWindow(nullptr, "CAPTION[1]"), nullptr);
  EXPECT_EQ(sim.window.FindWindow(nullptr, "caption{1}"), nullptr);
  EXPECT_NE(sim.window.FindWindow(nullptr, "\xC9T\xE9"), nullptr);
  EXPECT_EQ(sim.window.FindWindow(nullptr, "\xE9t\xE9"), nullptr);
}

TEST_F(SimPcTest, ControlDeviceTakesTheTwoRequests) {
  const Handle device = sim.traced_system.CreateFile("\\\\.\\QRX_AudioExtra0");
  ASSERT_NE(device, INVALID_HANDLE_VALUE);
  // Opened exclusively.
  EXPECT_EQ(sim.traced_system.CreateFile("\\\\.\\QRX_AudioExtra0"), INVALID_HANDLE_VALUE);
  const std::int32_t gain = 130;
  EXPECT_TRUE(sim.traced_system.DeviceIoControl(device, 0x222C04, &gain, 4));
  const std::int32_t block[5] = {2400, 180, -6, 3, 20};
  EXPECT_TRUE(sim.traced_system.DeviceIoControl(device, 0x222C48, block, 20));
  EXPECT_FALSE(sim.traced_system.DeviceIoControl(device, 0x222C48, block, 16));
  ASSERT_EQ(sim.system.requests().size(), 2u);
  EXPECT_EQ(sim.system.requests()[1].input.size(), 20u);
  EXPECT_TRUE(sim.traced_system.CloseHandle(device));
  EXPECT_FALSE(sim.traced_system.DeviceIoControl(device, 0x222C04, &gain, 4));
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{
                "CreateFile(\"\\\\\\\\.\\\\QRX_AudioExtra0\")",
                "CreateFile(\"\\\\\\\\.\\\\QRX_AudioExtra0\")", "DeviceIoControl(0x222C04, 130)",
                "DeviceIoControl(0x222C48, 2400, 180, -6, 3, 20)",
                "DeviceIoControl(0x222C48, 2400, 180, -6, 3)", "DeviceIoControl(0x222C04, 130)"}));

  sim.world.pc.control_device_present = false;
  EXPECT_EQ(sim.traced_system.CreateFile("\\\\.\\QRX_AudioExtra0"), INVALID_HANDLE_VALUE);
}

TEST_F(SimPcTest, ProcessesStartUnlessMissing) {
  sim.world.pc.programs["edDevice_Q5.exe"] = false;
  ProcessInfo info;
  ASSERT_TRUE(sim.traced_system.CreateProcess("rmfilter_Q5.exe", &info));
  EXPECT_TRUE(sim.traced_system.CloseHandle(info.thread));
  EXPECT_EQ(sim.traced_system.WaitForSingleObject(info.process, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(sim.traced_system.CloseHandle(info.process));
  ProcessInfo missing;
  EXPECT_FALSE(sim.traced_system.CreateProcess("edDevice_Q5.exe", &missing));
  EXPECT_EQ(sim.traced_system.WaitForSingleObject(missing.process, 1000), WAIT_FAILED);
  EXPECT_EQ(sim.system.started_programs(), (std::vector<std::string>{"rmfilter_Q5.exe"}));
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "CreateProcess(\"rmfilter_Q5.exe\")", "WaitForSingleObject(INFINITE)",
                         "CreateProcess(\"edDevice_Q5.exe\")", "WaitForSingleObject(1000)"}));
}

TEST_F(SimPcTest, CurrentDirectoryUsesTheWindowsReturnConvention) {
  sim.world.pc.start_directory = "/tmp/abc";
  char small[8] = "xxxxxxx";
  EXPECT_EQ(sim.system.GetCurrentDirectory(sizeof small, small), 9u);
  EXPECT_STREQ(small, "xxxxxxx");
  char big[9];
  EXPECT_EQ(sim.system.GetCurrentDirectory(sizeof big, big), 8u);
  EXPECT_STREQ(big, "/tmp/abc");
}

}  // namespace
}  // namespace mivo::sim
