// The scenario script runner: words, quoting and escapes, options, strict numbers, key names,
// errors with their line numbers, here-documents, and the output of `cat` and `state`.
#include "sim/script_runner.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/sim/script_parser.h"

namespace mivo::sim {
namespace {

struct Result {
  std::string out;
  std::string err;
  int status = 0;
};

Result RunScript(const std::string& script, const std::string& dir = "") {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream err;
  ScriptRunner runner(in, out, err, RunnerOptions{dir});
  Result result;
  result.status = runner.Run();
  result.out = out.str();
  result.err = err.str();
  return result;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "runner-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ + "/" + name); }

 private:
  std::string path_;
};

// ---- Words ----

TEST(ScriptWords, QuotedWordsResolveEveryEscape) {
  const auto words = SplitWords(R"(ring "a \"b\" \\ \n\r\t \x00\xfF end"  plain)");
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].text, "ring");
  EXPECT_FALSE(words[0].quoted);
  EXPECT_TRUE(words[1].quoted);
  static const char kExpected[] = "a \"b\" \\ \n\r\t \x00\xff end";
  EXPECT_EQ(words[1].text, std::string(kExpected, sizeof kExpected - 1));
  EXPECT_EQ(words[2].text, "plain");
}

TEST(ScriptWords, OptionsTakeBareOrQuotedValues) {
  const auto words =
      SplitWords("history 7 bob \"Bob B\" type=1 time=\"2026-01-04 18:30\" speed= \"x=y\"");
  ASSERT_EQ(words.size(), 8u);
  EXPECT_TRUE(words[4].is_option);
  EXPECT_EQ(words[4].name, "type");
  EXPECT_EQ(words[4].value, "1");
  EXPECT_EQ(words[5].name, "time");
  EXPECT_EQ(words[5].value, "2026-01-04 18:30");
  EXPECT_TRUE(words[6].is_option);
  EXPECT_EQ(words[6].value, "");
  // A quoted word is never an option, and a bare word is taken as it stands.
  EXPECT_FALSE(words[7].is_option);
  EXPECT_EQ(words[7].text, "x=y");
  const auto bare = SplitWords(R"(program C:\tools\a.exe found)");
  EXPECT_EQ(bare[1].text, R"(C:\tools\a.exe)");
}

TEST(ScriptWords, KeySymbolsAndCommentsOnlyAtTheStart) {
  EXPECT_TRUE(IsBlankOrComment(""));
  EXPECT_TRUE(IsBlankOrComment(" \t "));
  EXPECT_TRUE(IsBlankOrComment("  # note"));
  EXPECT_FALSE(IsBlankOrComment("key #"));
  const auto words = SplitWords("key #");
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[1].text, "#");
}

TEST(ScriptWords, MalformedQuotingIsRefused) {
  for (const char* line : {
           R"(echo "open)",       // unterminated
           R"(echo "a\")",        // the escaped quote leaves it open
           R"(echo "bad \q")",    // unknown escape
           R"(echo "\x4")",       // one hex digit
           R"(echo "\xG1")",      // not hex
           R"(echo ab"c")",       // quote inside a bare word
           R"(echo "a"b)",        // text right after the closing quote
           R"(contact x n=a"b)",  // quote inside a bare option value
       }) {
    EXPECT_THROW(SplitWords(line), ScriptError) << line;
  }
}

// ---- Numbers, keys, dates ----

TEST(ScriptNumbers, StrictWholeWords) {
  EXPECT_EQ(ParseInteger("0", 0, 10, "n"), 0);
  EXPECT_EQ(ParseInteger("-42", -100, 100, "n"), -42);
  EXPECT_EQ(ParseInteger("0x1F", 0, 255, "n"), 31);
  EXPECT_EQ(ParseInteger("0XfF", 0, 255, "n"), 255);
  EXPECT_EQ(ParseInteger("-9223372036854775808", INT64_MIN, INT64_MAX, "n"), INT64_MIN);
  for (const char* bad : {"", "-", "+1", " 1", "1 ", "12x", "0x", "0x1G", "1.5", "-0x1", "1e3"}) {
    EXPECT_THROW(ParseInteger(bad, INT64_MIN, INT64_MAX, "n"), ScriptError) << bad;
  }
  EXPECT_THROW(ParseInteger("256", 0, 255, "byte"), ScriptError);
  EXPECT_THROW(ParseInteger("-1", 0, 255, "byte"), ScriptError);
  EXPECT_THROW(ParseInteger("9223372036854775808", INT64_MIN, INT64_MAX, "n"), ScriptError);
  EXPECT_THROW(ParseInteger("99999999999999999999", INT64_MIN, INT64_MAX, "n"), ScriptError);
}

TEST(ScriptKeys, DigitNamesAreKeysNotCodes) {
  EXPECT_EQ(KeyCodeOfName("RELEASE"), 0);
  EXPECT_EQ(KeyCodeOfName("VOL+"), 1);
  EXPECT_EQ(KeyCodeOfName("VOICEMAIL"), 5);
  EXPECT_EQ(KeyCodeOfName("END"), 11);
  EXPECT_EQ(KeyCodeOfName("1"), 12);
  EXPECT_EQ(KeyCodeOfName("5"), 16);
  EXPECT_EQ(KeyCodeOfName("9"), 20);
  EXPECT_EQ(KeyCodeOfName("*"), 21);
  EXPECT_EQ(KeyCodeOfName("0"), 22);
  EXPECT_EQ(KeyCodeOfName("#"), 23);
  EXPECT_EQ(KeyCodeOfName("MUTE"), 100);
  EXPECT_FALSE(KeyCodeOfName("call").has_value());
  EXPECT_FALSE(KeyCodeOfName("10").has_value());
}

TEST(ScriptDates, CalendarChecks) {
  EXPECT_EQ(ParseLocalDateTime("2026-01-05", "09:00:00"), 1767603600);
  EXPECT_EQ(ParseLocalDateTime("1970-01-01", "00:00:00"), 0);
  EXPECT_EQ(ParseLocalDateTime("2024-02-29", "23:59:59"), 1709251199);
  for (const auto& [date, time] :
       std::vector<std::pair<const char*, const char*>>{{"2026-02-29", "00:00:00"},
                                                        {"2100-02-29", "00:00:00"},
                                                        {"2026-13-01", "00:00:00"},
                                                        {"2026-04-31", "00:00:00"},
                                                        {"2026-01-05", "24:00:00"},
                                                        {"2026-01-05", "9:00:00"},
                                                        {"2026-1-05", "09:00:00"},
                                                        {"1969-12-31", "23:59:59"}}) {
    EXPECT_THROW(ParseLocalDateTime(date, time), ScriptError) << date << " " << time;
  }
}

// ---- Runner: errors ----

TEST(ScriptRunnerErrors, ReportTheLineAndStop) {
  struct Case {
    const char* script;
    const char* err;
  };
  const Case cases[] = {
      {"echo a\n\n# note\nbogus\necho b\n", "error: line 4: unknown command \"bogus\"\n"},
      {"\"echo\" a\n", "error: line 1: unknown command \"echo\"\n"},
      {"wait 10ms\n", "error: line 1: bad number \"10ms\" for wait MS\n"},
      {"mixer \"A\" volume=1 volume=2\n", "error: line 1: option volume= given twice\n"},
      {"mixer \"A\" level=1\n",
       "error: line 1: unknown option level= (usage: mixer \"NAME\" [volume=N])\n"},
      {"online 2\n", "error: line 1: on-line flag out of range (0 to 1): 2\n"},
      {"driver fine\n", "error: line 1: usage: driver ok|broken\n"},
      {"key CALL\n", "error: line 1: key before start\n"},
      {"key call\n", "error: line 1: unknown key \"call\"\n"},
      {"report 1\n", "error: line 1: usage: report B0 B1 ... (at least two bytes)\n"},
      {"state screen\n", "error: line 1: state before start\n"},
      {"echo \"open\n", "error: line 1: unterminated quoted text\n"},
  };
  for (const Case& c : cases) {
    const Result r = RunScript(c.script);
    EXPECT_EQ(r.status, 2) << c.script;
    EXPECT_EQ(r.err, c.err) << c.script;
  }
  // What ran before the error stands; nothing after it runs.
  const Result r = RunScript("echo a\nbogus\necho b\n");
  EXPECT_EQ(r.out, "a\n");
}

TEST(ScriptRunnerErrors, RequiredOptionsOfHistory) {
  const Result r = RunScript("history 1 bob \"Bob\" type=1 status=0\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("line 1: usage: history"), std::string::npos) << r.err;
}

TEST(ScriptRunnerErrors, HereDocumentLinesCountAndAnOpenOneIsReportedAtItsStart) {
  Result r = RunScript("echo x\nfile a.txt <<END\none\ntwo\nEND\nbogus\n");
  EXPECT_EQ(r.err, "error: line 6: unknown command \"bogus\"\n");
  r = RunScript("echo x\nfile a.txt <<END\none\nEN\n");
  EXPECT_EQ(r.err, "error: line 2: no closing line \"END\" for the file\n");
  for (const char* bad :
       {"file a.txt\n", "file a.txt <<\n", "file a.txt \"<<END\"\n", "file a.txt utf8 <<END\nEND\n",
        "file ../a.txt <<END\nEND\n", "file sub/a.txt <<END\nEND\n", "file .. <<END\nEND\n"}) {
    EXPECT_EQ(RunScript(bad).status, 2) << bad;
  }
}

TEST(ScriptRunnerErrors, MissingStartDirectory) {
  const Result r = RunScript("echo x\n", "/nonexistent/mivorun-dir");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("is not a directory"), std::string::npos);
}

// ---- Files ----

TEST(ScriptRunnerFiles, HereDocumentsAreWrittenVerbatim) {
  TempDir dir;
  const Result r = RunScript(
      "file a.ini <<END\n"
      "[SYSTEM]\n"
      "VOL = 5 \t \n"
      "\n"
      "# not a comment here\n"
      "\"quoted\" \\x41 \\n\n"
      "END\n"
      "file-crlf b.ini bom <<EOF\n"
      "[English]\n"
      "EOF\n"
      "file empty.ini <<X\n"
      "X\n",
      dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.Read("a.ini"),
            "[SYSTEM]\nVOL = 5 \t \n\n# not a comment here\n\"quoted\" \\x41 \\n\n");
  EXPECT_EQ(dir.Read("b.ini"), "\xEF\xBB\xBF[English]\r\n");
  EXPECT_TRUE(dir.Exists("empty.ini"));
  EXPECT_EQ(dir.Read("empty.ini"), "");
}

TEST(ScriptRunnerFiles, ScriptWithCrLfLineEnds) {
  TempDir dir;
  const Result r = RunScript("echo a\r\nfile a.txt <<END\r\nx\r\nEND\r\necho b\r\n", dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a\nb\n");
  // The here-document keeps its lines as they stand, CR included.
  EXPECT_EQ(dir.Read("a.txt"), "x\r\n");
}

TEST(ScriptRunnerFiles, CatEscapesAndSplitsAtLineFeeds) {
  TempDir dir;
  {
    static const char kRaw[] = "a\tb\r\n\"q\" \\ \x7F\xC3\xA9\n\nl\0st";
    std::ofstream(dir.path() + "/raw.bin", std::ios::binary) << std::string(kRaw, sizeof kRaw - 1);
  }
  const Result r = RunScript("cat raw.bin\ncat none.txt\nfile e <<X\nX\ncat e\n", dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "| a\\x09b\\x0D\n"
            "| \\\"q\\\" \\\\ \\x7F\\xC3\\xA9\n"
            "| \n"
            "| l\\x00st\n"
            "cat none.txt: missing\n"
            "cat e: empty\n");
}

TEST(ScriptRunnerFiles, RemoveAndAFreshDirectoryPerRun) {
  TempDir dir;
  const Result r = RunScript("file a <<X\n1\nX\nremove a\nremove a\ncat a\n", dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "cat a: missing\n");

  // Without --dir each run gets its own empty directory, gone afterwards.
  std::string made;
  {
    std::istringstream in("cat setup.ini\n");
    std::ostringstream out, err;
    ScriptRunner runner(in, out, err);
    made = runner.directory();
    EXPECT_TRUE(std::filesystem::is_directory(made));
    EXPECT_EQ(runner.Run(), 0);
    EXPECT_EQ(out.str(), "cat setup.ini: missing\n");
  }
  EXPECT_FALSE(std::filesystem::exists(made));
}

// ---- World commands ----

TEST(ScriptRunnerWorld, CommandsFillTheWorld) {
  std::istringstream in(
      "time 2026-03-01 12:30:15\n"
      "timezone -60 1\n"
      "mixer \"Speakers\"\n"
      "mixer \"USB Audio Device\" volume=65536\n"
      "contact alice \"Alice\" status=0 tz=90000 speed=12 p1=\"Berlin, DE\"\n"
      "contacts-generate 2\n"
      "history 5 bob \"Bob\" type=3 status=8 time=\"2026-01-04 18:30\"\n"
      "active 7 carol \"Carol\"\nactive 8 dan \"Dan\"\nactive-clear\n"
      "voicemail vm1 bob \"Bob\"\n"
      "missed -1\nunplayed 3\nonline 0\nclient missing\nclient auto on\n"
      "handset plugged\ndriver broken\ncontrol-device absent\nregistry-key absent\n"
      "program \"rmfilter_Q5.exe\" missing\nwindow \"Other\"\n");
  std::ostringstream out, err;
  ScriptRunner runner(in, out, err);
  ASSERT_EQ(runner.Run(), 0) << err.str();
  const SimWorld& w = runner.platform().world;
  EXPECT_EQ(w.pc.local_seconds, ParseLocalDateTime("2026-03-01", "12:30:15"));
  EXPECT_EQ(w.pc.bias_minutes, -60);
  EXPECT_TRUE(w.pc.daylight);
  ASSERT_EQ(w.pc.mixers.size(), 2u);
  EXPECT_EQ(w.pc.mixers[0].volume, 32768u);
  EXPECT_EQ(w.pc.mixers[1].volume, 65536u);
  ASSERT_EQ(w.voip.contacts.size(), 3u);
  EXPECT_EQ(w.voip.contacts[0].status, 0);
  EXPECT_EQ(w.voip.contacts[0].time_zone, 90000);
  EXPECT_EQ(w.voip.contacts[0].speed, "12");
  EXPECT_EQ(w.voip.contacts[0].profile1, "Berlin, DE");
  EXPECT_EQ(w.voip.contacts[0].profile2, "UNKNOWN");
  EXPECT_EQ(w.voip.contacts[2].name, "Contact 0002");
  EXPECT_EQ(w.voip.contacts[2].handle, "user0002");
  EXPECT_EQ(w.voip.contacts[2].status, 1);
  ASSERT_EQ(w.voip.history.size(), 1u);
  EXPECT_EQ(w.voip.history[0].type, 3);
  EXPECT_EQ(w.voip.history[0].status, 8);
  EXPECT_EQ(w.voip.history[0].time, "2026-01-04 18:30");
  EXPECT_TRUE(w.voip.active.empty());
  EXPECT_EQ(w.voip.voicemails.size(), 1u);
  EXPECT_EQ(w.voip.missed, -1);
  EXPECT_EQ(w.voip.unplayed, 3);
  EXPECT_FALSE(w.voip.online);
  EXPECT_FALSE(w.voip.client_found);
  EXPECT_TRUE(w.voip.auto_mode);
  EXPECT_TRUE(w.handset.plugged);
  EXPECT_FALSE(w.handset.driver_ok);
  EXPECT_FALSE(w.pc.control_device_present);
  EXPECT_FALSE(w.pc.registry_key_present);
  EXPECT_FALSE(w.pc.programs.at("rmfilter_Q5.exe"));
  ASSERT_EQ(w.pc.window_captions.size(), 1u);
  EXPECT_EQ(w.pc.window_captions[0], "Other");
  EXPECT_EQ(w.pc.start_directory, runner.directory());
}

// ---- Running program ----

TEST(ScriptRunnerProgram, StateFieldsAndTheirErrors) {
  Result r = RunScript("start\ntrace off\nstate language_id dial_buf voip_online call_list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("language_id=9\ndial_buf=\"\"\nvoip_online=0\ncall_list=null\n"),
            std::string::npos)
      << r.out;

  // A bad name anywhere in the list prints nothing of the line.
  r = RunScript("start\ntrace off\nstate screen nonsense\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "error: line 3: unknown state field \"nonsense\"\n");
  EXPECT_EQ(r.out.find("screen="), std::string::npos);

  r = RunScript("start\nstate contacts\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("contacts is a table; see the contacts observation"), std::string::npos);
}

TEST(ScriptRunnerProgram, EventTextsStayValidUntilDispatched) {
  // The ring text goes out as a pointer; the controller copies at most `count` bytes of it.
  const Result r = RunScript(
      "start\nvoip online\ntrace off\nring \"Alice Smith\" count=5\nstate caller_text\n"
      "ring \"Bob\"\nstate caller_text\nin-progress 1234\nstate active_call_id\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("caller_text=\"Alice\"\ncaller_text=\"Bob\"\nactive_call_id=\"1234\"\n"),
            std::string::npos)
      << r.out;
}

TEST(ScriptRunnerProgram, ExitEndsEventsButNotObservations) {
  const Result r = RunScript(
      "trace off\nstart\nmenu close\nwindow\nmissed 2\nwait 100\necho still here\nstart\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "exit\nwindow destroyed\nstill here\n");
  EXPECT_EQ(r.err, "error: line 8: start: the program has already run\n");
}

TEST(ScriptRunnerProgram, VirtualTimeLimitStopsTheWaitThatGoesBeyondIt) {
  auto run = [](const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    RunnerOptions options;
    options.max_virtual_ms = 60000;
    ScriptRunner runner(in, out, err, options);
    const int status = runner.Run();
    return std::pair(status, err.str());
  };
  // Waits and key presses add up; reaching the limit exactly is still allowed.
  EXPECT_EQ(run("start\nwait 59000\npress 5 900\nwait 100\n"), std::pair(0, std::string()));
  EXPECT_EQ(
      run("start\nwait 30000\npress 5 30000\nwait 1\n"),
      std::pair(2, std::string("error: line 4: wait: the run may wait at most 60000 ms in all\n")));
  EXPECT_EQ(run("start\npress 5 604800000\n").second,
            "error: line 2: press: the run may wait at most 60000 ms in all\n");
  // Without a limit a week is a valid wait.
  EXPECT_EQ(RunScript("wait 604800000\n").status, 0);
}

}  // namespace
}  // namespace mivo::sim
