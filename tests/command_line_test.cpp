// mivorun-sim's command line: the modes, help and version, and errors that name the option.
#include "sim/command_line.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "mivorun_version.h"
#include "sim/data_directory.h"

namespace mivo::sim {
namespace {

struct Outcome {
  ParsedCommandLine parsed;
  std::string out;
  std::string err;
};

Outcome Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"mivorun-sim"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::ostringstream out;
  std::ostringstream err;
  Outcome run;
  run.parsed = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(CommandLineTest, ModesAndValues) {
  // No option: the interactive handset with every default.
  Outcome run = Parse({});
  ASSERT_TRUE(run.parsed.line);
  EXPECT_FALSE(run.parsed.line->script_mode);
  EXPECT_EQ(run.parsed.line->res, "");

  // Both spellings of a value; "-" is standard input, not an option.
  run = Parse({"--script", "-", "--dir=/tmp/start"});
  ASSERT_TRUE(run.parsed.line);
  EXPECT_TRUE(run.parsed.line->script_mode);
  EXPECT_EQ(run.parsed.line->script, "-");
  EXPECT_EQ(run.parsed.line->dir, "/tmp/start");

  run = Parse({"--world=w.scn", "--res", "r", "--trace", "t.txt"});
  ASSERT_TRUE(run.parsed.line);
  EXPECT_FALSE(run.parsed.line->script_mode);
  EXPECT_EQ(run.parsed.line->world, "w.scn");
  EXPECT_EQ(run.parsed.line->res, "r");
  EXPECT_EQ(run.parsed.line->trace, "t.txt");
  EXPECT_EQ(run.err, "");
}

TEST(CommandLineTest, HelpAndVersionGoToStandardOutputAndExitZero) {
  Outcome run = Parse({"--version"});
  EXPECT_FALSE(run.parsed.line);
  EXPECT_EQ(run.parsed.exit_status, 0);
  EXPECT_EQ(run.out, std::string("mivorun-sim ") + MIVO_VERSION_TEXT + "\n");

  for (const char* help : {"--help", "-h"}) {
    run = Parse({help});
    EXPECT_FALSE(run.parsed.line);
    EXPECT_EQ(run.parsed.exit_status, 0);
    EXPECT_EQ(run.err, "");
    // Grouped by mode, each option under its mode, then the keys and the icons.
    const std::size_t scenario = run.out.find("Scenario mode:");
    const std::size_t interactive = run.out.find("Interactive mode:");
    const std::size_t both = run.out.find("Both modes:");
    ASSERT_NE(scenario, std::string::npos);
    ASSERT_NE(interactive, std::string::npos);
    ASSERT_NE(both, std::string::npos);
    EXPECT_LT(scenario, run.out.find("--script FILE"));
    EXPECT_GT(run.out.find("--world FILE"), interactive);
    EXPECT_GT(run.out.find("--trace FILE"), interactive);
    EXPECT_GT(run.out.find("--dir DIR"), both);
    EXPECT_NE(run.out.find("END CALL"), std::string::npos);
    EXPECT_NE(run.out.find("Icons on the LCD"), std::string::npos);
  }
}

TEST(CommandLineTest, ErrorsNameTheOptionAndExitTwo) {
  struct Case {
    std::initializer_list<const char*> args;
    const char* named;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{"--bogus"}, "--bogus"},
           {{"stray"}, "stray"},
           {{"--script"}, "--script"},
           {{"--dir"}, "--dir"},
           {{"--world"}, "--world"},
           {{"--script", "s.scn", "--trace", "t"}, "--trace"},
           {{"--script", "s.scn", "--world=w"}, "--world"},
           {{"--res", "r", "--script", "s.scn"}, "--res"},
           {{"--dir", "a", "--dir", "b"}, "--dir"},
       }) {
    const Outcome run = Parse(c.args);
    const std::string what = *c.args.begin();
    EXPECT_FALSE(run.parsed.line) << what;
    EXPECT_EQ(run.parsed.exit_status, 2) << what;
    EXPECT_EQ(run.out, "") << what;
    EXPECT_EQ(run.err.rfind("mivorun-sim: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
  }
}

TEST(DataDirectoryTest, InstalledTreeFirstThenTheFallback) {
  std::string name = (std::filesystem::temp_directory_path() / "mivorun-data-XXXXXX").string();
  ASSERT_NE(mkdtemp(name.data()), nullptr);
  const std::filesystem::path root = name;
  std::filesystem::create_directories(root / "bin");
  std::filesystem::create_directories(root / "share/mivorun");
  const std::string program = (root / "bin/mivorun-sim").string();

  // The data directory without lang.ini is not taken (an unrelated share/mivorun).
  EXPECT_EQ(FindDataDirectory(program, "../share/mivorun", "/src/res"), "/src/res");
  std::ofstream(root / "share/mivorun/lang.ini") << "\xEF\xBB\xBF[English]\n";
  EXPECT_EQ(FindDataDirectory(program, "../share/mivorun", "/src/res"),
            (root / "share/mivorun").string());
  // Unknown program path or no relative directory compiled in: the fallback.
  EXPECT_EQ(FindDataDirectory("", "../share/mivorun", "/src/res"), "/src/res");
  EXPECT_EQ(FindDataDirectory(program, "", "/src/res"), "/src/res");
  // A directory named lang.ini is not the file.
  std::filesystem::remove(root / "share/mivorun/lang.ini");
  std::filesystem::create_directories(root / "share/mivorun/lang.ini");
  EXPECT_EQ(FindDataDirectory(program, "../share/mivorun", "/src/res"), "/src/res");
  std::filesystem::remove_all(root);

  EXPECT_NE(ExecutablePath(), "");
}

}  // namespace
}  // namespace mivo::sim
