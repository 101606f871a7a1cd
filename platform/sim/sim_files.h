// The simulated PC's files are the real files of its start directory: this is the POSIX
// replacement of a whole file, durable at every step (see platform/file_host.h).
#pragma once

#include <functional>
#include <string>

#include "platform/file_host.h"

namespace mivo::sim {

// The steps of a replacement, in order. kWritten comes once per write to the temporary file.
enum class SaveStep { kTempCreated, kWritten, kFlushed, kRenamed, kDirectorySynced };

class SimFiles : public FileHost {
 public:
  // Bytes handed to one write: a larger content takes several writes.
  static constexpr std::size_t kWriteChunk = 4096;

  // The temporary file used while `target` (a resolved path) is being replaced.
  static std::string TempPathOf(const std::string& target);

  // Test hook, called after each step of every replacement (nothing is called when unset). A
  // fault-injection test ends the process from here to play a crash at that step.
  void set_step_hook(std::function<void(SaveStep)> hook) { step_hook_ = std::move(hook); }

  ReplaceResult ReplaceFile(const char* path, const char* data, std::size_t size) override;

 private:
  void Step(SaveStep step) {
    if (step_hook_) step_hook_(step);
  }
  // Writes the temporary file and flushes it; false (the file removed again) on failure.
  // `mode`: the permission bits to give it, or -1 for those of a new file.
  bool WriteTemp(const std::string& temp, int mode, const char* data, std::size_t size);

  std::function<void(SaveStep)> step_hook_;
};

}  // namespace mivo::sim
