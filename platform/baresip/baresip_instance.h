// A baresip of our own: its configuration written into a private directory (SIP on one
// loopback port, which baresip also takes plus one for SIP over TLS; the control interface on
// another; a sine tone as microphone and no sound device: what it hears goes into WAV files in
// that directory) and the program started there, and stopped again whatever happens.
#pragma once

#include <string>
#include <vector>

namespace mivo::baresip {

struct InstanceConfig {
  std::string program = "baresip";
  std::string directory;  // empty: a fresh temporary directory, removed at Stop
  std::string host = "127.0.0.1";
  int sip_port = 5060;
  int control_port = 4444;
  std::string user = "mivorun";  // the account is sip:USER@HOST:SIP_PORT, no registration
  // The contact lines of its `contacts` file, as `"Name" <sip:user@host>`.
  std::vector<std::string> contacts;
};

class BaresipInstance {
 public:
  BaresipInstance() = default;
  ~BaresipInstance();
  BaresipInstance(const BaresipInstance&) = delete;
  BaresipInstance& operator=(const BaresipInstance&) = delete;

  // Writes the configuration and starts the program; false with *error set when the
  // directory cannot be written or the program cannot be started. It takes a moment before
  // its control port answers.
  bool Start(const InstanceConfig& config, std::string* error);
  // Ends the program (a polite signal, then after a short while a forceful one), waits for it
  // and removes a temporary directory.
  void Stop();
  bool running() const { return pid_ > 0; }
  const std::string& directory() const { return directory_; }
  // What the program wrote to its output so far (at most the last 64 KiB).
  std::string Log() const;

 private:
  int pid_ = -1;
  std::string directory_;
  bool owned_directory_ = false;
};

// Whether `program` can be found on the search path (or is an executable path).
bool ProgramAvailable(const std::string& program);

}  // namespace mivo::baresip
