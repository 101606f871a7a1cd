#include "platform/baresip/control_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace mivo::baresip {

namespace {

// Bytes taken from the socket per read call, and the most one ReadAvailable takes in all (the
// rest waits for the next round, so a flood cannot hold the loop).
constexpr std::size_t kReadChunk = 16 * 1024;
constexpr std::size_t kReadPerRound = 1024 * 1024;

bool Resolve(const std::string& host, int port, sockaddr_in* address) {
  std::memset(address, 0, sizeof *address);
  address->sin_family = AF_INET;
  address->sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &address->sin_addr) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
  address->sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

bool WaitFor(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    const int ready = poll(&p, 1, static_cast<int>(left > 0 ? left : 0));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

}  // namespace

ControlLink::~ControlLink() {
  Close();
}

void ControlLink::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  reader_ = NetstringReader();
}

bool ControlLink::Connect(const std::string& host, int port, int timeout_ms, std::string* error) {
  Close();
  if (port <= 0 || port > 65535) {
    *error = "no port " + std::to_string(port);
    return false;
  }
  sockaddr_in address{};
  if (!Resolve(host, port, &address)) {
    *error = "cannot resolve '" + host + "'";
    return false;
  }
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = std::string("no socket: ") + std::strerror(errno);
    return false;
  }
  int result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (result != 0 && errno == EINPROGRESS) {
    if (!WaitFor(fd, POLLOUT, timeout_ms)) {
      close(fd);
      *error = "no answer within " + std::to_string(timeout_ms) + " ms";
      return false;
    }
    int so_error = 0;
    socklen_t size = sizeof so_error;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &so_error, &size);
    errno = so_error;
    result = so_error == 0 ? 0 : -1;
  }
  if (result != 0) {
    *error = std::strerror(errno);
    close(fd);
    return false;
  }
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  fd_ = fd;
  return true;
}

bool ControlLink::Send(const std::string& payload, int timeout_ms) {
  if (fd_ < 0) return false;
  const std::string frame = Netstring(payload);
  std::size_t sent = 0;
  while (sent < frame.size()) {
    const ssize_t n = send(fd_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd_, POLLOUT, timeout_ms)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool ControlLink::ReadAvailable(std::vector<std::string>* payloads, std::string* error) {
  if (fd_ < 0) {
    *error = "not connected";
    return false;
  }
  char chunk[kReadChunk];
  std::size_t taken = 0;
  while (taken < kReadPerRound) {
    const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
      taken += static_cast<std::size_t>(n);
      if (!reader_.Feed(std::string_view(chunk, static_cast<std::size_t>(n)))) {
        *error = reader_.error();
        return false;
      }
      for (std::string payload; reader_.Next(&payload);) payloads->push_back(std::move(payload));
      continue;
    }
    if (n == 0) {
      *error = "the connection was closed";
      return false;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) break;
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

bool ControlLink::WaitReadable(int timeout_ms) const {
  return fd_ >= 0 && WaitFor(fd_, POLLIN, timeout_ms);
}

}  // namespace mivo::baresip
