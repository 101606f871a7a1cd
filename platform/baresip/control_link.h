// The TCP connection to baresip's control interface: a non-blocking socket that is connected
// with a time limit, written with a time limit, and read only as far as data is waiting.
// Payloads go out as netstrings and come back through a bounded netstring reader.
#pragma once

#include <string>
#include <vector>

#include "platform/baresip/netstring.h"

namespace mivo::baresip {

class ControlLink {
 public:
  ControlLink() = default;
  ~ControlLink();
  ControlLink(const ControlLink&) = delete;
  ControlLink& operator=(const ControlLink&) = delete;

  // Connects to host:port (a numeric IPv4 address or a name that resolves to one), waiting
  // at most `timeout_ms`. Closes an earlier connection first. False with *error set on failure.
  bool Connect(const std::string& host, int port, int timeout_ms, std::string* error);
  void Close();
  bool connected() const { return fd_ >= 0; }
  int fd() const { return fd_; }

  // Sends one payload as a netstring, waiting at most `timeout_ms` for room in the socket.
  bool Send(const std::string& payload, int timeout_ms);
  // Reads what is waiting, without blocking, and appends the whole payloads to *payloads.
  // False when the peer closed the connection or the stream broke (*error says which).
  bool ReadAvailable(std::vector<std::string>* payloads, std::string* error);
  // Waits at most `timeout_ms` for something to read; false when nothing came.
  bool WaitReadable(int timeout_ms) const;

 private:
  int fd_ = -1;
  NetstringReader reader_;
};

}  // namespace mivo::baresip
