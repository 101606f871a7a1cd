#include "platform/baresip/baresip_instance.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace mivo::baresip {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLogName = "baresip.log";
constexpr int kStopWaitMs = 1500;

std::string ConfigText(const InstanceConfig& c, const std::string& dir) {
  std::ostringstream out;
  out << "poll_method epoll\n"
      << "sip_listen " << c.host << ':' << c.sip_port << '\n'
      << "call_local_timeout 120\n"
      << "call_max_calls 4\n"
      // No sound device: a sine tone is the microphone, the loudspeaker is a bridge to
      // nowhere, and the sndfile filter writes what is heard into WAV files here.
      << "audio_source ausine,440\n"
      << "audio_player aubridge,nowhere\n"
      << "ausrc_srate 48000\n"
      << "ausrc_channels 2\n"
      << "auplay_srate 48000\n"
      << "module_path /usr/lib/baresip/modules\n"
      << "module g711.so\n"
      << "module ausine.so\n"
      << "module aubridge.so\n"
      << "module sndfile.so\n"
      << "snd_path " << dir << '\n'
      << "module_tmp account.so\n"
      << "module_app contact.so\n"
      << "module_app menu.so\n"
      << "module_app ctrl_tcp.so\n"
      << "ctrl_tcp_listen " << c.host << ':' << c.control_port << '\n';
  return out.str();
}

bool WriteFile(const fs::path& path, const std::string& text, std::string* error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file) {
    *error = "cannot write " + path.string();
    return false;
  }
  return true;
}

}  // namespace

BaresipInstance::~BaresipInstance() {
  Stop();
}

bool BaresipInstance::Start(const InstanceConfig& config, std::string* error) {
  Stop();
  std::error_code ec;
  if (config.directory.empty()) {
    std::string templ = (fs::temp_directory_path(ec) / "mivo-baresip-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) {
      *error = "cannot make a temporary directory";
      return false;
    }
    directory_ = templ;
    owned_directory_ = true;
  } else {
    directory_ = fs::absolute(config.directory, ec).string();
    owned_directory_ = false;
    fs::create_directories(directory_, ec);
  }
  const fs::path dir(directory_);
  std::string contacts;
  for (const std::string& line : config.contacts) contacts += line + "\n";
  const std::string account = "<sip:" + config.user + "@" + config.host + ":" +
                              std::to_string(config.sip_port) + ">;regint=0\n";
  if (!WriteFile(dir / "config", ConfigText(config, directory_), error) ||
      !WriteFile(dir / "accounts", account, error) ||
      !WriteFile(dir / "contacts", contacts, error)) {
    return false;
  }

  const std::string log = (dir / kLogName).string();
  const pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("cannot start baresip: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    // The child: its own process group, output to the log, no terminal input.
    setpgid(0, 0);
    const int null_in = open("/dev/null", O_RDONLY);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (null_in >= 0) dup2(null_in, STDIN_FILENO);
    if (out >= 0) {
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
    }
    execlp(config.program.c_str(), config.program.c_str(), "-f", directory_.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_ = pid;
  // A program that is not there ends at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    pid_ = -1;
    *error = "baresip ended at once (" + Log() + ")";
    return false;
  }
  return true;
}

void BaresipInstance::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited < kStopWaitMs; waited += 20) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  if (owned_directory_ && !directory_.empty()) {
    std::error_code ec;
    fs::remove_all(directory_, ec);
  }
  owned_directory_ = false;
}

std::string BaresipInstance::Log() const {
  std::ifstream file(fs::path(directory_) / kLogName, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  constexpr std::size_t kKept = 64 * 1024;
  if (text.size() > kKept) text.erase(0, text.size() - kKept);
  return text;
}

bool ProgramAvailable(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const char* path = getenv("PATH");
  if (path == nullptr) return false;
  std::stringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    if (access((fs::path(dir) / program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

}  // namespace mivo::baresip
