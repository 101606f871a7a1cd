// Texts and reports that messages point to are read no further than the program's readable
// memory goes: the host's ReadableBytes on the process's real memory, the controller's reads
// of posted pointers at the edge of a mapping, and the runner's output, which leaves line by
// line so that a run that dies keeps what it printed.
#include "platform/sim/readable_memory.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>

#include "tests/harness.h"

namespace mivo::test {
namespace {

LPARAM Ptr(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

std::size_t PageSize() {
  return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Two pages: the first readable and writable, the second without any access.
class GuardedPage {
 public:
  GuardedPage() {
    void* p =
        mmap(nullptr, 2 * PageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(p, MAP_FAILED);
    base_ = static_cast<char*>(p);
    EXPECT_EQ(mprotect(base_ + PageSize(), PageSize(), PROT_NONE), 0);
  }
  ~GuardedPage() { munmap(base_, 2 * PageSize()); }
  GuardedPage(const GuardedPage&) = delete;
  GuardedPage& operator=(const GuardedPage&) = delete;

  // Puts `bytes` (no terminator) so that they end where the readable page ends.
  const char* AtEnd(const std::string& bytes) {
    char* at = base_ + PageSize() - bytes.size();
    std::memcpy(at, bytes.data(), bytes.size());
    return at;
  }
  const char* guard() const { return base_ + PageSize(); }

 private:
  char* base_ = nullptr;
};

TEST(ReadableMemory, CountsTheBytesThatCanBeRead) {
  sim::SimPlatform sim_platform(std::cout);
  SystemHost& system = sim_platform.system;
  EXPECT_EQ(system.ReadableBytes(nullptr, 64), 0u);

  char stack_text[40] = "on the stack";
  EXPECT_EQ(system.ReadableBytes(stack_text, sizeof stack_text), sizeof stack_text);
  EXPECT_EQ(system.ReadableBytes(stack_text, 0), 0u);

  // A page that was mapped and is gone again.
  void* gone = mmap(nullptr, PageSize(), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(gone, MAP_FAILED);
  ASSERT_EQ(munmap(gone, PageSize()), 0);
  EXPECT_EQ(system.ReadableBytes(gone, 16), 0u);

  // A buffer that ends where a page without access begins: read up to the boundary only,
  // across the page before it as well.
  GuardedPage page;
  const char* end = page.AtEnd("tail");
  EXPECT_EQ(system.ReadableBytes(end, 100), 4u);
  EXPECT_EQ(system.ReadableBytes(end - PageSize() + 4, 3 * PageSize()), PageSize());
  EXPECT_EQ(system.ReadableBytes(page.guard(), 8), 0u);

  // Small numbers and the top of the address space are no memory of the program.
  EXPECT_EQ(system.ReadableBytes(reinterpret_cast<const void*>(77), 8), 0u);
  const auto top = std::numeric_limits<std::uintptr_t>::max() - 3;
  EXPECT_EQ(system.ReadableBytes(reinterpret_cast<const void*>(top), 64), 0u);
}

TEST(ReadableMemory, MessageTextsStopWhereTheirMemoryEnds) {
  GuardedPage page;
  Harness h;
  h.Run([&](ControllerDialog& c) {
    h.Post(MSG_VOIP_ONLINE);

    // Caller and call ids without a terminator, right before the page without access: taken
    // as far as they can be read.
    h.Post(MSG_CALL_RINGING, 63, Ptr(page.AtEnd("Alice")));
    EXPECT_STREQ(c.caller_text, "Alice");
    EXPECT_EQ(c.screen, SCREEN_INCOMING_CALL);
    h.Post(MSG_CALL_IN_PROGRESS, 0, Ptr(page.AtEnd("4711")));
    EXPECT_STREQ(c.active_call_id, "4711");
    EXPECT_TRUE(c.call_active);

    // A second call whose id starts in the page without access joins nothing.
    h.Post(MSG_CALL_ON_HOLD);
    h.ClearTrace();
    h.Post(MSG_SECOND_CALL, 0, Ptr(page.guard()));
    EXPECT_EQ(h.Lines(), std::vector<std::string>{});
    h.Post(MSG_SECOND_CALL, 0, Ptr(page.AtEnd("12")));
    EXPECT_TRUE(h.Has("fSending(\"set call 12 join_conference 4711\")"));
    h.Post(MSG_CALL_FINISHED);

    // A report needs its first two bytes: with only one readable there is no key.
    const int screen_before = c.screen;
    const int held_before = c.held_key;
    h.Post(MSG_HANDSET_KEY, 0, Ptr(page.AtEnd(std::string(1, '\x00'))));
    EXPECT_EQ(c.held_key, held_before);
    EXPECT_EQ(c.screen, screen_before);
    h.Post(MSG_HANDSET_KEY, 0, Ptr(page.AtEnd(std::string("\x00\x03", 2))));
    EXPECT_EQ(c.held_key, KEY_SKYPE);
    EXPECT_EQ(c.screen, SCREEN_CONTACTS);
  });
}

// The runner's lines leave as they are written: they can be read while the run is still
// going, and a run killed afterwards has given them all.
TEST(ReadableMemory, ScriptOutputLeavesLineByLine) {
  int to_child[2];
  int from_child[2];
  ASSERT_EQ(pipe(to_child), 0);
  ASSERT_EQ(pipe(from_child), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(to_child[0], STDIN_FILENO);
    dup2(from_child[1], STDOUT_FILENO);
    close(to_child[1]);
    close(from_child[0]);
    execl(MIVO_SIM_BINARY, MIVO_SIM_BINARY, "--script", "-", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  const std::string script = "start\necho first line\necho second line\n";
  ASSERT_EQ(write(to_child[1], script.data(), script.size()), static_cast<ssize_t>(script.size()));

  // The script stays open: the run waits for more, and its output must be there already.
  std::string out;
  while (out.find("second line\n") == std::string::npos) {
    pollfd ready{from_child[0], POLLIN, 0};
    if (poll(&ready, 1, 10000) <= 0) break;
    char buffer[4096];
    const ssize_t n = read(from_child[0], buffer, sizeof buffer);
    if (n <= 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(to_child[1]);
  close(from_child[0]);
  EXPECT_NE(out.find("fRunAP()\n"), std::string::npos) << out;
  EXPECT_NE(out.find("first line\nsecond line\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace mivo::test
