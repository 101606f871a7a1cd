// Saving setup.ini through the platform's durable replacement: a save killed at any step
// leaves the old or the new file, whole; a read-only file is kept; a link stays a link.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/ini_file.h"
#include "core/constants.h"
#include "platform/sim/sim_files.h"
#include "tests/harness.h"

namespace mivo {
namespace {

namespace fs = std::filesystem;
using sim::SaveStep;
using sim::SimFiles;

constexpr int kCrashed = 42;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The names in a directory, sorted.
std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string MakeDir(const std::string& parent) {
  std::string pattern = parent + "/mivo-save-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return "";
  return pattern;
}

// Opens the store on `path`, sets the volume and closes it: the save the controller makes.
bool SaveVolume(FileHost& files, const std::string& path, const char* volume) {
  IniFile store(files);
  if (!store.Open(path.c_str(), 0)) return false;
  store.SetValue("SYSTEM", "VOL", volume);
  return store.Close();
}

class DurableSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeDir(fs::temp_directory_path().string());
    ASSERT_FALSE(dir_.empty());
    path_ = dir_ + "/setup.ini";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string dir_;
  std::string path_;
};

// A setup.ini long enough that its new text takes three writes, with comments that the save
// drops, so old and new content differ all through.
std::string LongSetup() {
  std::string text = "; tuning of the handset\n[SYSTEM]\nVOL=100\n";
  for (int i = 0; i < 120; ++i) {
    text += "; note " + std::to_string(i) + "\nKEY" + std::to_string(i) + "=" +
            std::string(60, static_cast<char>('a' + i % 26)) + "\n";
  }
  return text + "[USBAUDIO_SET]\nMG=130\n";
}

TEST_F(DurableSaveTest, CrashAtEveryStepLeavesOldOrNewContentAndNoTemporaryFile) {
  const std::string old_content = LongSetup();

  // An undisturbed save, to learn the new content and the steps it takes.
  std::vector<SaveStep> steps;
  WriteAll(path_, old_content);
  chmod(path_.c_str(), 0640);
  {
    SimFiles files;
    files.set_step_hook([&](SaveStep step) { steps.push_back(step); });
    ASSERT_TRUE(SaveVolume(files, path_, "12345"));
  }
  const std::string new_content = ReadAll(path_);
  ASSERT_GT(new_content.size(), 2 * SimFiles::kWriteChunk);
  ASSERT_NE(new_content.find("VOL=12345\r\n"), std::string::npos);
  const std::vector<SaveStep> expected_steps = {
      SaveStep::kTempCreated, SaveStep::kWritten, SaveStep::kWritten,        SaveStep::kWritten,
      SaveStep::kFlushed,     SaveStep::kRenamed, SaveStep::kDirectorySynced};
  ASSERT_EQ(steps, expected_steps);

  for (std::size_t crash_at = 0; crash_at < steps.size(); ++crash_at) {
    SCOPED_TRACE("killed after step " + std::to_string(crash_at));
    WriteAll(path_, old_content);
    chmod(path_.c_str(), 0640);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // The saving process dies on the spot: no destructor, no buffer flush, no clean-up.
      SimFiles files;
      std::size_t step = 0;
      files.set_step_hook([&](SaveStep) {
        if (step++ == crash_at) _exit(kCrashed);
      });
      SaveVolume(files, path_, "12345");
      _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), kCrashed);

    const bool renamed =
        steps[crash_at] == SaveStep::kRenamed || steps[crash_at] == SaveStep::kDirectorySynced;
    EXPECT_EQ(ReadAll(path_), renamed ? new_content : old_content);
    EXPECT_EQ(fs::exists(SimFiles::TempPathOf(path_)), !renamed);

    // The next save takes the leftover with it.
    SimFiles files;
    EXPECT_TRUE(SaveVolume(files, path_, "12345"));
    EXPECT_EQ(ReadAll(path_), new_content);
    EXPECT_EQ(Listing(dir_), std::vector<std::string>{"setup.ini"});
    struct stat info {};
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);  // the replacement keeps the permission bits
  }
}

TEST_F(DurableSaveTest, SomethingElseAtTheTemporaryNameStopsTheSave) {
  const std::string original = "[SYSTEM]\r\nVOL=1\r\n";
  WriteAll(path_, original);
  fs::create_directory(SimFiles::TempPathOf(path_));
  SimFiles files;
  EXPECT_FALSE(SaveVolume(files, path_, "2"));
  EXPECT_EQ(ReadAll(path_), original);
  EXPECT_TRUE(fs::is_directory(SimFiles::TempPathOf(path_)));
  // A file that is missing is created.
  fs::remove(SimFiles::TempPathOf(path_));
  fs::remove(path_);
  EXPECT_EQ(files.ReplaceFile(path_.c_str(), "x", 1), ReplaceResult::kReplaced);
  EXPECT_EQ(ReadAll(path_), "x");
}

TEST(DurableSave, HandsetRemovalSavesThroughThePlatform) {
  test::Harness h;
  h.world().handset.plugged = true;
  h.world().pc.mixers.push_back({"USB Audio Device", 100});
  h.WriteFile("setup.ini", "[SYSTEM]\r\nVOL=20000\r\n");
  h.WriteFile("setup.ini.tmp", "[SYSTEM]\r\nVOL=half a sa");  // left by a crashed save
  std::vector<SaveStep> steps;
  h.sim().files.set_step_hook([&](SaveStep step) { steps.push_back(step); });
  h.Run([&](ControllerDialog&) { h.Post(MSG_HANDSET_REMOVED); });
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.back(), SaveStep::kDirectorySynced);
  EXPECT_EQ(h.ReadFile("setup.ini"), "[SYSTEM]\r\nVOL=20000\r\n\r\n");
  EXPECT_FALSE(h.FileExists("setup.ini.tmp"));
}

// ---- Permissions: checked as a user for whom permission bits hold ----

// The read-only and link cases in `dir`; the first failure, or an empty text.
std::string CheckReadOnlyAndLinks(const std::string& dir) {
  SimFiles files;
  const std::string path = dir + "/setup.ini";
  const std::string original = "[SYSTEM]\r\nVOL=1\r\n; the user's own note\r\n";

  // A read-only setup.ini: kept as it is, by both ways of saving.
  WriteAll(path, original);
  if (chmod(path.c_str(), 0444) != 0) return "chmod: " + std::string(std::strerror(errno));
  if (access(path.c_str(), W_OK) == 0) return "permission bits do not hold for this user";
  if (SaveVolume(files, path, "2")) return "a read-only file was reported saved";
  if (files.ReplaceFile(path.c_str(), "x", 1) != ReplaceResult::kReadOnly) {
    return "a read-only file was not reported read-only";
  }
  {
    IniFile plain;
    plain.Open(path.c_str(), 0);
    plain.SetValue("SYSTEM", "VOL", "3");
    if (plain.Close()) return "a read-only file was saved without the platform";
  }
  if (ReadAll(path) != original) return "a read-only file was replaced";
  if (fs::exists(SimFiles::TempPathOf(path))) return "a read-only save left a temporary file";
  if (unlink(path.c_str()) != 0) return "unlink: " + std::string(std::strerror(errno));

  // A link to a file in another directory: the target is replaced, the link stays.
  const std::string other = dir + "/real";
  if (mkdir(other.c_str(), 0755) != 0) return "mkdir: " + std::string(std::strerror(errno));
  const std::string target = other + "/target.ini";
  WriteAll(target, original);
  if (symlink("real/target.ini", path.c_str()) != 0) return "symlink failed";
  if (!SaveVolume(files, path, "7")) return "saving through a link failed";
  if (ReadAll(target) != "[SYSTEM]\r\nVOL=7\r\n\r\n") return "the link's target was not updated";
  if (!fs::is_symlink(path) || fs::read_symlink(path) != "real/target.ini") {
    return "the link was replaced";
  }
  if (fs::exists(SimFiles::TempPathOf(path)) || fs::exists(SimFiles::TempPathOf(target))) {
    return "a save through a link left a temporary file";
  }

  // A link to a read-only file: neither is touched.
  chmod(target.c_str(), 0444);
  if (SaveVolume(files, path, "8")) return "a read-only link target was reported saved";
  if (ReadAll(target) != "[SYSTEM]\r\nVOL=7\r\n\r\n") return "a read-only link target changed";
  if (!fs::is_symlink(path)) return "the link to a read-only file was replaced";
  return "";
}

// Runs the checks as "nobody" in a child process: the parent runs as root, for whom
// permission bits do not hold.
std::string CheckAsNobody() {
  const passwd* nobody = getpwnam("nobody");
  const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
  const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
  const std::string dir = MakeDir("/tmp");
  if (dir.empty()) return "no directory for the unprivileged user";
  if (chown(dir.c_str(), uid, gid) != 0) return "chown: " + std::string(std::strerror(errno));
  int report[2];
  if (pipe(report) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child < 0) return "fork failed";
  if (child == 0) {
    close(report[0]);
    std::string result;
    if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 ||
        setresuid(uid, uid, uid) != 0) {
      result = "cannot drop privileges: " + std::string(std::strerror(errno));
    } else if (geteuid() == 0 || setresuid(0, 0, 0) == 0) {
      result = "privileges were not dropped";
    } else {
      result = CheckReadOnlyAndLinks(dir);
    }
    if (!result.empty()) {
      const ssize_t written = write(report[1], result.data(), result.size());
      (void)written;
    }
    _exit(result.empty() ? 0 : 1);
  }
  close(report[1]);
  std::string result;
  char buffer[256];
  for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
  close(report[0]);
  int status = 0;
  waitpid(child, &status, 0);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  if (result.empty() && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
    return "the unprivileged child failed";
  }
  return result;
}

TEST_F(DurableSaveTest, ReadOnlyFileIsKeptAndLinkTargetIsUpdatedForAnUnprivilegedUser) {
  if (geteuid() == 0) {
    EXPECT_EQ(CheckAsNobody(), "");
    return;
  }
  const std::string result = CheckReadOnlyAndLinks(dir_);
  if (result == "permission bits do not hold for this user") GTEST_SKIP() << result;
  EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace mivo
