// The INI store on real files in a temporary directory.
#include "config/ini_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace mivo {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (std::filesystem::temp_directory_path() / "mivo-ini-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ;
    path_ = dir_ + "/setup.ini";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Opens `content` as a store and returns the value of section/key ("<default>" if none).
  std::string Lookup(const std::string& content, const char* section, const char* key,
                     int prefix_flag = 0) {
    Write(content);
    IniFile store;
    store.Open(path_.c_str(), prefix_flag);
    std::string value = store.GetValue(section, key, "<default>");
    store.Close();
    return value;
  }

  std::string dir_;
  std::string path_;
};

TEST_F(IniFileTest, ReadingNeverChangesTheFile) {
  IniFile store;
  EXPECT_TRUE(store.Open(path_.c_str(), 0));  // a missing file is created empty
  EXPECT_STREQ(store.GetValue("SYSTEM", "VOL", "32768"), "32768");
  EXPECT_TRUE(store.Close());
  EXPECT_TRUE(std::filesystem::exists(path_));
  EXPECT_EQ(Read(), "");
  const std::string original = "; comment\n[SYSTEM]\n  VOL=5  \n\n";
  EXPECT_EQ(Lookup(original, "SYSTEM", "VOL"), "5");
  EXPECT_EQ(Read(), original);
}

TEST_F(IniFileTest, KeysSplitAtFirstEqualsWithNothingTrimmed) {
  const std::string file = "[S]\nVOL=\nVOL = 5\nA=B=C\nFOO\nX=1\nX=2\n";
  EXPECT_EQ(Lookup(file, "S", "VOL"), "<default>");  // empty value, later lines not searched
  EXPECT_EQ(Lookup(file, "S", "VOL "), " 5");
  EXPECT_EQ(Lookup(file, "S", "A"), "B=C");
  EXPECT_EQ(Lookup(file, "S", "A=B"), "<default>");
  EXPECT_EQ(Lookup(file, "S", "FOO"), "<default>");
  EXPECT_EQ(Lookup(file, "S", "X"), "1");
  EXPECT_EQ(Lookup(file, "S", "x"), "<default>");
}

TEST_F(IniFileTest, HeadersCommentsAndTrimming) {
  const std::string file =
      "VOL=1\n"              // before any header: ignored
      "[system]\nVOL=2\n"    // case counts
      "  [SYSTEM] ; note\n"  // leading blanks trimmed; last character dropped
      "   ; a comment\n"
      "\n"
      "  VOL=3   \n"
      "\tTAB=4\n"
      "[SYSTEM]\nVOL=5\nONLY=6\n";  // a second section of the same name is never searched
  EXPECT_EQ(Lookup(file, "system", "VOL"), "2");
  EXPECT_EQ(Lookup(file, "SYSTEM] ; not", "VOL"), "3");
  EXPECT_EQ(Lookup(file, "SYSTEM] ; not", "\tTAB"), "4");
  EXPECT_EQ(Lookup(file, "SYSTEM", "VOL"), "5");
  EXPECT_EQ(Lookup(file, "SYSTEM", "ONLY"), "6");
  EXPECT_EQ(Lookup("[SYSTEM]\nVOL=5\n[SYSTEM]\nONLY=6\n", "SYSTEM", "ONLY"), "<default>");
  EXPECT_EQ(Lookup("[]\nK=v\n[\nL=w\n", "", "K"), "v");
  EXPECT_EQ(Lookup("[]\nK=v\n[\nL=w\n", "", "L"), "<default>");  // first "" section only
}

TEST_F(IniFileTest, LongLinesAreReadInPiecesOf199AndCrLfAsLf) {
  const std::string first = "A=" + std::string(197, 'x');  // 199 characters
  const std::string rest = "B=" + std::string(49, 'y');    // 51 characters
  const std::string file = "[S]\n" + first + rest + "\n" + first + "\nC=z\n";
  EXPECT_EQ(Lookup(file, "S", "A"), std::string(197, 'x'));
  EXPECT_EQ(Lookup(file, "S", "B"), std::string(49, 'y'));
  EXPECT_EQ(Lookup(file, "S", "C"), "z");  // a line of exactly 199 leaves an empty piece
  // A continuation piece that starts with "[" is a header of its own.
  EXPECT_EQ(Lookup("[S]\n" + first + "[T]\nK=t\n", "T", "K"), "t");
  // CR LF is one character of a piece, and no CR is left in a value.
  const std::string crlf = "[S]\r\nA=" + std::string(196, 'x') + "\r\nB=2";
  EXPECT_EQ(Lookup(crlf, "S", "A"), std::string(196, 'x'));
  EXPECT_EQ(Lookup(crlf, "S", "B"), "2");
}

TEST_F(IniFileTest, PrefixOnlyOnTheFirstLineWithFlag) {
  const std::string body = "[English]\nK=en\n[German]\nK=de\n";
  EXPECT_EQ(Lookup(kBom + body, "English", "K", 1), "en");
  // Without the prefix the first line is no header: its section is lost.
  EXPECT_EQ(Lookup(body, "English", "K", 1), "<default>");
  EXPECT_EQ(Lookup(body, "German", "K", 1), "de");
  // Any three bytes count as the prefix; the flag only changes the first line.
  EXPECT_EQ(Lookup("xyz" + body, "English", "K", 1), "en");
  EXPECT_EQ(Lookup(kBom + "\n" + body, "English", "K", 1), "en");
  // Leading blanks are trimmed before the test; a first line under four characters is never
  // a header.
  EXPECT_EQ(Lookup("  xyz[E]\nK=1\n", "E", "K", 1), "1");
  EXPECT_EQ(Lookup("[E]\nK=1\n", "E", "K", 1), "<default>");
  EXPECT_EQ(Lookup("[E]\nK=1\n", "E", "K", 0), "1");
  // Flag 0: the prefix is part of the first line, which then is no header.
  EXPECT_EQ(Lookup(kBom + body, "English", "K", 0), "<default>");
}

TEST_F(IniFileTest, SetValueReplacesInPlaceOrAppendsAndRewritesWhole) {
  // The file shrinks: a long comment and blank lines are dropped.
  Write("; settings\n[SYSTEM]\n;" + std::string(400, ';') +
        "\nP=1\nVOL=1\nNL=2\n\n\n[OTHER]\nX=1\n[SYSTEM]\nVOL=9\n");
  IniFile store;
  ASSERT_TRUE(store.Open(path_.c_str(), 0));
  store.SetValue("SYSTEM", "VOL", "40000");
  store.SetValue("SYSTEM", "SV", "6");
  store.SetValue("NEW", "K", "v");
  EXPECT_STREQ(store.GetValue("SYSTEM", "VOL", "d"), "40000");
  EXPECT_TRUE(store.Close());
  EXPECT_EQ(Read(),
            "[SYSTEM]\r\nP=1\r\nVOL=40000\r\nNL=2\r\nSV=6\r\n\r\n"
            "[OTHER]\r\nX=1\r\n\r\n"
            "[SYSTEM]\r\nVOL=9\r\n\r\n"
            "[NEW]\r\nK=v\r\n\r\n");
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact) {
  const std::string original = "[SYSTEM]\r\nVOL=123\r\n; keep me\r\n";
  Write(original);
  // The temporary file's name is taken by a directory, so the new content cannot be written.
  std::filesystem::create_directory(path_ + ".tmp");
  IniFile store;
  ASSERT_TRUE(store.Open(path_.c_str(), 0));
  store.SetValue("SYSTEM", "VOL", "7");
  EXPECT_FALSE(store.Close());
  EXPECT_EQ(Read(), original);
  EXPECT_TRUE(std::filesystem::is_directory(path_ + ".tmp"));
}

TEST_F(IniFileTest, UnusablePathYieldsDefaultsAndWritesNothing) {
  IniFile store;
  const std::string missing_dir = dir_ + "/no/such/dir/setup.ini";
  EXPECT_FALSE(store.Open(missing_dir.c_str(), 0));
  EXPECT_STREQ(store.GetValue("SYSTEM", "VOL", "32768"), "32768");
  store.SetValue("SYSTEM", "VOL", "1");
  EXPECT_FALSE(store.Close());
  EXPECT_FALSE(std::filesystem::exists(missing_dir));
  // A file that exists but cannot be read is never replaced by what little was seen of it.
  EXPECT_FALSE(store.Open(dir_.c_str(), 0));
  store.SetValue("SYSTEM", "VOL", "1");
  EXPECT_FALSE(store.Close());
  EXPECT_TRUE(std::filesystem::is_directory(dir_));
}

TEST_F(IniFileTest, SetValueRefusesLinesThatWouldNotReadBack) {
  Write("[S]\nK=old\n");
  IniFile store;
  ASSERT_TRUE(store.Open(path_.c_str(), 0));
  store.SetValue("S", "K", "two\r\nlines");
  store.SetValue("S", "[T]", "x");
  store.SetValue("S\n[T", "K", "x");
  store.SetValue("S", "K", std::string(198, 'v').c_str());  // a line of 200 characters
  EXPECT_TRUE(store.Close());
  EXPECT_EQ(Read(), "[S]\nK=old\n");  // nothing was set, nothing written
  ASSERT_TRUE(store.Open(path_.c_str(), 0));
  store.SetValue("S", "K", std::string(197, 'v').c_str());  // 199: reads back whole
  EXPECT_TRUE(store.Close());
  EXPECT_EQ(Lookup(Read(), "S", "K"), std::string(197, 'v'));
}

TEST(ParseDecimalTest, StandardConversionClampedTo32Bits) {
  EXPECT_EQ(ParseDecimal("32768"), 32768);
  EXPECT_EQ(ParseDecimal("  \t-42abc"), -42);
  EXPECT_EQ(ParseDecimal("- 5"), 0);
  EXPECT_EQ(ParseDecimal(nullptr), 0);
  EXPECT_EQ(ParseDecimal("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseDecimal("99999999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseDecimal("-99999999999999999999999"), INT_MIN);
}

}  // namespace
}  // namespace mivo
