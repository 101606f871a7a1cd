// The event loop watching descriptors in real-time mode: a readable pipe runs its callback on
// the loop's thread, the caller's own descriptor is reported, a callback may unwatch, and a
// wait with nothing to read ends on time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/sim/event_loop.h"

namespace mivo::sim {
namespace {

struct Pipe {
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  ~Pipe() {
    close(fd[0]);
    close(fd[1]);
  }
  void Write() { EXPECT_EQ(write(fd[1], "x", 1), 1); }
  void Drain() {
    char c;
    EXPECT_EQ(read(fd[0], &c, 1), 1);
  }
  int fd[2] = {-1, -1};
};

TEST(EventLoopFds, ReadableDescriptorRunsItsCallbackAndPostsReachTheTarget) {
  EventLoop loop;
  std::vector<UINT> dispatched;
  loop.set_target([&](UINT m, WPARAM, LPARAM) -> LRESULT {
    dispatched.push_back(m);
    return 0;
  });
  Pipe socket, keyboard;
  int calls = 0;
  loop.WatchReadable(socket.fd[0], [&] {
    ++calls;
    socket.Drain();
    loop.Post(1234, 0, 0);
  });
  EXPECT_TRUE(loop.watching());
  EXPECT_FALSE(loop.WaitReadable(0, keyboard.fd[0]));
  EXPECT_EQ(calls, 0);

  socket.Write();
  EXPECT_FALSE(loop.WaitReadable(1000, keyboard.fd[0]));
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(dispatched.empty()) << "nothing is dispatched until the loop is pumped";
  loop.Pump();
  EXPECT_EQ(dispatched, std::vector<UINT>{1234});

  keyboard.Write();
  EXPECT_TRUE(loop.WaitReadable(1000, keyboard.fd[0]));
  EXPECT_EQ(calls, 1);
}

TEST(EventLoopFds, CallbackMayUnwatchItselfAndOthers) {
  EventLoop loop;
  Pipe a, b;
  int a_calls = 0, b_calls = 0;
  loop.WatchReadable(a.fd[0], [&] {
    ++a_calls;
    loop.Unwatch(a.fd[0]);
    loop.Unwatch(b.fd[0]);
  });
  loop.WatchReadable(b.fd[0], [&] { ++b_calls; });
  a.Write();
  b.Write();
  loop.WaitReadable(1000);
  EXPECT_EQ(a_calls, 1);
  EXPECT_EQ(b_calls, 0) << "unwatched before its turn";
  EXPECT_FALSE(loop.watching());
}

TEST(EventLoopFds, WaitWithNothingToReadEndsOnTime) {
  EventLoop loop;
  Pipe quiet;
  loop.WatchReadable(quiet.fd[0], [] { FAIL() << "nothing was written"; });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(loop.WaitReadable(50));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  EXPECT_GE(ms, 40);
  EXPECT_LT(ms, 1000);
  EXPECT_EQ(loop.now_ms(), 0) << "the virtual clock does not move by itself";
  loop.WatchReadable(-1, [] {});
  loop.WatchReadable(quiet.fd[0], nullptr);
  EXPECT_TRUE(loop.watching());
}

}  // namespace
}  // namespace mivo::sim
