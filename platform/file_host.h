// What the controller needs from the file system beyond reading: replacing a whole file so
// that it survives the program or the machine stopping at any moment of the save.
#pragma once

#include <cstddef>

namespace mivo {

enum class ReplaceResult {
  kReplaced,  // the file holds the new content, and it has reached the disk
  kReadOnly,  // the file may not be written by this user: it was left as it was
  kFailed,    // nothing could be written (disk full, no such directory, ...): file unchanged
};

// Durable replacement of a file's whole content.
//
// The new content goes to a temporary file in the target's own directory, which is flushed
// to the disk and then renamed over the target, and the directory entry is flushed in turn.
// At every moment, and after a crash or a power loss at any step, the target holds either its
// old content or the new one, never a mix or a truncated file. A temporary file left by an
// interrupted save is removed by the next save of the same target.
//
// A target that is a symbolic link stays a link: its final target gets the new content. A
// target that this user may not write is not replaced behind the user's back (a rename would
// only need the directory to be writable); the save is skipped and reported as kReadOnly.
//
// POSIX (platform/sim/sim_files.cpp): open(O_CREAT | O_EXCL), write, fsync, rename, fsync of
// the directory. Win32: CreateFileA(CREATE_NEW) beside the target, WriteFile,
// FlushFileBuffers, then MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH), which returns only once the replacement is on the disk; the
// read-only test there is FILE_ATTRIBUTE_READONLY or a CreateFileA(GENERIC_WRITE,
// OPEN_EXISTING) refused with ERROR_ACCESS_DENIED, and a link's target comes from
// GetFinalPathNameByHandleA.
class FileHost {
 public:
  virtual ~FileHost() = default;

  // Replaces the content of the file at `path` (a native path) with `size` bytes at `data`.
  // A missing file is created.
  virtual ReplaceResult ReplaceFile(const char* path, const char* data, std::size_t size) = 0;
};

}  // namespace mivo
