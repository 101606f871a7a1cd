// The mixer operations against a mixer that can be made to fail, and the device name and
// driver settings on the simulated PC.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/controller_dialog.h"
#include "platform/sim/sim_platform.h"
#include "tests/harness.h"

namespace mivo {
namespace {

// A mixer whose device names, channel values and failures a test sets.
class FakeMixer : public MixerHost {
 public:
  UINT mixerGetNumDevs() override { return static_cast<UINT>(names.size()); }
  bool mixerGetDevCaps(UINT device, MixerCaps* caps) override {
    std::strncpy(caps->product_name, names.at(device).c_str(), sizeof caps->product_name - 1);
    return true;
  }
  bool mixerOpen(MixerHandle* mixer, UINT device, HWND, DWORD) override {
    *mixer = 0x40 + device;
    return !fail_open;
  }
  bool mixerClose(MixerHandle) override {
    ++closes;
    return !fail_close;
  }
  bool mixerGetLineInfo(MixerHandle, MixerLine* line) override {
    line->line_id = 7;
    line->channels = static_cast<DWORD>(values.size());
    return !fail_line && line->component_type == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  }
  bool mixerGetLineControls(MixerHandle, DWORD line_id, DWORD type, MixerControl* c) override {
    c->control_id = 9;
    return !fail_controls && line_id == 7 && type == MIXERCONTROL_CONTROLTYPE_VOLUME;
  }
  bool mixerGetControlDetails(MixerHandle, DWORD id, DWORD channels, DWORD* out) override {
    if (fail_details || id != 9 || channels != values.size()) return false;
    for (DWORD i = 0; i < channels; ++i) out[i] = values[i];
    return true;
  }
  bool mixerSetControlDetails(MixerHandle, DWORD id, DWORD channels, const DWORD* in) override {
    if (fail_set || id != 9) return false;
    set_calls.push_back({channels, in[0]});
    return true;
  }

  std::vector<std::string> names;
  std::vector<DWORD> values{1000, 2000};
  bool fail_open = false, fail_close = false, fail_line = false, fail_controls = false;
  bool fail_details = false, fail_set = false;
  int closes = 0;
  std::vector<std::pair<DWORD, DWORD>> set_calls;  // (channels, value)
};

class MixerTest : public ::testing::Test {
 protected:
  MixerTest()
      : sim_(out_),
        c_(std::make_unique<ControllerDialog>(
            sim_.traced_handset, sim_.traced_voip,
            Host{sim_.traced_window, sim_.clock, mixer_, sim_.traced_system, sim_.files})) {}

  std::ostringstream out_;
  sim::SimPlatform sim_;
  FakeMixer mixer_;
  std::unique_ptr<ControllerDialog> c_;
};

TEST_F(MixerTest, EnumerationKeepsEightNamesAndClearsOldOnes) {
  for (int i = 0; i < 9; ++i) mixer_.names.push_back("Mixer " + std::to_string(i));
  mixer_.names[0] = std::string(31, 'x');
  EXPECT_EQ(c_->EnumerateMixers(), 8);
  EXPECT_EQ(std::string(c_->mixer_names[0]), std::string(31, 'x'));
  EXPECT_STREQ(c_->mixer_names[7], "Mixer 7");
  mixer_.names.resize(2);
  EXPECT_EQ(c_->EnumerateMixers(), 2);
  EXPECT_STREQ(c_->mixer_names[2], "");
}

TEST_F(MixerTest, VolumeReadsTheFirstChannelAndSetsAllChannelsAtOnce) {
  ASSERT_TRUE(c_->OpenMixer(3, nullptr));
  EXPECT_EQ(c_->GetMixerVolume(4), 1000);
  EXPECT_TRUE(c_->SetMixerVolume(4, 65536));
  EXPECT_EQ(mixer_.set_calls, (std::vector<std::pair<DWORD, DWORD>>{{1, 65536}}));
  EXPECT_EQ(mixer_.closes, 0);
}

TEST_F(MixerTest, OpeningAgainReleasesTheMixerHeld) {
  ASSERT_TRUE(c_->OpenMixer(1, nullptr));
  ASSERT_TRUE(c_->OpenMixer(2, nullptr));
  EXPECT_EQ(mixer_.closes, 1);
  EXPECT_EQ(c_->mixer_handle, 0x42u);
}

TEST_F(MixerTest, FailingOperationsCloseTheMixer) {
  // Each fault with what a get reports, and whether a set meets it too.
  struct Case {
    bool FakeMixer::*fault;
    int get;
    bool in_get, in_set;
  };
  for (Case f :
       {Case{&FakeMixer::fail_line, 0, true, true}, Case{&FakeMixer::fail_controls, 0, true, true},
        Case{&FakeMixer::fail_details, -1, true, false},
        Case{&FakeMixer::fail_set, 0, false, true}}) {
    for (bool set : {false, true}) {
      if (!(set ? f.in_set : f.in_get)) continue;
      mixer_ = FakeMixer{};
      ASSERT_TRUE(c_->OpenMixer(0, nullptr));
      mixer_.*f.fault = true;
      if (set) {
        EXPECT_FALSE(c_->SetMixerVolume(4, 5000));
      } else {
        EXPECT_EQ(c_->GetMixerVolume(4), f.get);
      }
      EXPECT_EQ(c_->mixer_handle, 0u);
      EXPECT_EQ(mixer_.closes, 1);
    }
  }
}

TEST_F(MixerTest, CloseKeepsTheHandleWhenClosingFails) {
  EXPECT_TRUE(c_->CloseMixer());  // none open: nothing to close
  EXPECT_EQ(mixer_.closes, 0);
  ASSERT_TRUE(c_->OpenMixer(1, nullptr));
  mixer_.fail_close = true;
  EXPECT_FALSE(c_->CloseMixer());
  EXPECT_NE(c_->mixer_handle, 0u);
  mixer_.fail_close = false;
  EXPECT_TRUE(c_->CloseMixer());
  EXPECT_EQ(c_->mixer_handle, 0u);
  mixer_.fail_open = true;
  EXPECT_FALSE(c_->OpenMixer(1, nullptr));
  EXPECT_EQ(c_->mixer_handle, 0u);
}

// The driver settings at arrival, on the simulated PC with the handset's mixer.
void ArriveWithSetup(test::Harness& h, const std::string& setup) {
  h.world().pc.mixers = {{"USB Audio Device"}};
  h.WriteFile("setup.ini", setup);
  h.Post(MSG_HANDSET_ARRIVED);
}

TEST(UsbSettings, KeysAreReadFromTheirOwnSections) {
  test::Harness h;
  h.Run([&](ControllerDialog&) {
    ArriveWithSetup(h,
                    "[SYSTEM]\nMG=77\nVOL=1234\nP=-5\nNL=abc\nSV=12x\n"
                    "[USBAUDIO_SET]\nVS=99\n[SYSTEM]\nVATS=1\n");
    // MG stands under SYSTEM, VS under USBAUDIO_SET, VATS in a second SYSTEM section: none is
    // found, and their defaults go to the driver.
    EXPECT_TRUE(h.Has("DeviceIoControl(0x222C04, 130)"));
    EXPECT_TRUE(h.Has("DeviceIoControl(0x222C48, -5, 0, 12, 3, 20)"));
    EXPECT_TRUE(h.Has("mixerSetControlDetails(1234)"));
  });
}

TEST(UsbSettings, SavedVolumeIsBroughtIntoTheMixerRange) {
  for (auto [text, applied] : {std::pair{"70000", "65536"}, std::pair{"-3", "0"}}) {
    test::Harness h;
    h.Run([&](ControllerDialog&) {
      ArriveWithSetup(h, std::string("[SYSTEM]\nVOL=") + text + "\n");
      EXPECT_TRUE(h.Has(std::string("mixerSetControlDetails(") + applied + ")")) << h.Text();
    });
  }
}

TEST(UsbSettings, OverlongStartDirectoryUsesTheDefaults) {
  test::Harness h;
  h.world().pc.mixers = {{"Speakers"}};
  h.Run([&](ControllerDialog& c) {
    // A path that would not fit its buffer is not cut into the name of another file.
    std::memset(c.program_directory, 'd', 120);
    c.program_directory[120] = 0;
    h.ClearTrace();
    c.ApplyUsbAudioSettings();
    EXPECT_EQ(h.Lines(), (std::vector<std::string>{
                             R"(CreateFile("\\\\.\\QRX_AudioExtra0"))",
                             "DeviceIoControl(0x222C04, 130)", "mixerSetControlDetails(32768)",
                             "DeviceIoControl(0x222C48, 2400, 180, 6, 3, 20)"}));
  });
}

// A registry that records every key opened and closed and every value written; the level
// named `missing` cannot be opened, and writes fail while `fail_writes` is set.
class FakeRegistry : public sim::SimSystem {
 public:
  using SimSystem::SimSystem;
  bool RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) override {
    if (missing == subkey) return false;
    *key = next_key++;
    opens.push_back({parent, subkey});
    open_keys.push_back(*key);
    return true;
  }
  bool RegSetValueEx(RegKey key, const char* name, DWORD type, const std::uint8_t* data,
                     DWORD size) override {
    writes.push_back({key, name, type, std::vector<std::uint8_t>(data, data + size)});
    return !fail_writes;
  }
  void RegCloseKey(RegKey key) override { std::erase(open_keys, key); }

  struct Write {
    RegKey key;
    std::string name;
    DWORD type;
    std::vector<std::uint8_t> data;
  };
  std::string missing;
  bool fail_writes = false;
  RegKey next_key = 0x500;
  std::vector<std::pair<RegKey, std::string>> opens;
  std::vector<RegKey> open_keys;
  std::vector<Write> writes;
};

TEST(SoundMapper, WritesBothValuesAt100BytesAndClosesEveryKey) {
  std::ostringstream out;
  sim::SimPlatform sim(out);
  FakeRegistry registry(sim.world);
  ControllerDialog c(sim.traced_handset, sim.traced_voip,
                     Host{sim.traced_window, sim.clock, sim.traced_mixer, registry, sim.files});
  std::strcpy(c.other_audio_device_name, "Speakers");

  EXPECT_TRUE(c.SetSoundMapperDevices());
  // One level at a time, each below the one before.
  EXPECT_EQ(registry.opens,
            (std::vector<std::pair<RegKey, std::string>>{{HKEY_CURRENT_USER, "SOFTWARE"},
                                                         {0x500, "Microsoft"},
                                                         {0x501, "Multimedia"},
                                                         {0x502, "Sound Mapper"}}));
  ASSERT_EQ(registry.writes.size(), 2u);
  std::vector<std::uint8_t> expected(100, 0);
  std::memcpy(expected.data(), "Speakers", 8);
  for (std::size_t i = 0; i < 2; ++i) {
    const FakeRegistry::Write& w = registry.writes[i];
    EXPECT_EQ(w.name, i == 0 ? "Record" : "Playback");
    EXPECT_EQ(w.key, 0x503u);
    EXPECT_EQ(w.type, REG_SZ);
    EXPECT_EQ(w.data, expected);
  }
  EXPECT_TRUE(registry.open_keys.empty());

  // Both writes refused: reported, and the keys are still closed.
  registry.fail_writes = true;
  EXPECT_FALSE(c.SetSoundMapperDevices());
  EXPECT_TRUE(registry.open_keys.empty());

  // A level that cannot be opened: nothing is written and the levels above it are closed.
  registry.fail_writes = false;
  registry.writes.clear();
  for (const char* level : {"SOFTWARE", "Multimedia", "Sound Mapper"}) {
    registry.missing = level;
    EXPECT_FALSE(c.SetSoundMapperDevices()) << level;
    EXPECT_TRUE(registry.writes.empty()) << level;
    EXPECT_TRUE(registry.open_keys.empty()) << level;
  }
}

TEST(DeviceSelection, LongNamesAreCutBetweenCharacters) {
  test::Harness h;
  h.Run([&](ControllerDialog& c) {
    // 49 characters that take two bytes each in UTF-8: 31 whole ones fit in 63 bytes.
    std::memset(c.usb_audio_device_name, '\xE9', 49);
    h.ClearTrace();
    c.SelectVoipAudioDevice();
    std::string cut;
    for (int i = 0; i < 31; ++i) cut += "\\xC3\\xA9";
    EXPECT_EQ(h.Lines().at(0), "fSetAudio(1, \"" + cut + "\")");
  });
}

}  // namespace
}  // namespace mivo
