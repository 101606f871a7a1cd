// Durable replacement of a whole file on POSIX.
//
// The temporary file has one fixed name per target (the target's name + ".tmp", in the same
// directory, so the rename never crosses file systems). A save first removes a stale one left
// by a save that was interrupted, then creates its own exclusively, so temporary files never
// pile up and nothing that another program put at that name is followed or written through.
//
// "Read-only" means that this process may not write the target: its permission bits for this
// user (effective ids), or a read-only file system; checked with faccessat(W_OK, AT_EACCESS),
// the same decision that opening the file for writing would get.
#include "platform/sim/sim_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace mivo::sim {

namespace {

// The file that a save must replace: the path itself, or the final target of a symbolic link.
// False when it cannot be told (a link that leads nowhere, an unreadable directory, ...).
bool ResolveTarget(const char* path, std::string* target, bool* exists, struct stat* info) {
  struct stat link_info {};
  if (lstat(path, &link_info) != 0) {
    if (errno != ENOENT) return false;
    *target = path;
    *exists = false;
    return true;
  }
  if (S_ISLNK(link_info.st_mode)) {
    char* resolved = realpath(path, nullptr);
    if (resolved == nullptr) return false;
    *target = resolved;
    std::free(resolved);
    if (stat(target->c_str(), info) != 0) return false;
  } else {
    *target = path;
    *info = link_info;
  }
  *exists = true;
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Flushes a directory's entries (a rename in it) to the disk. File systems that cannot do so
// for directories answer EINVAL; their renames are as durable as they get.
bool SyncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = fsync(fd) == 0 || errno == EINVAL;
  close(fd);
  return ok;
}

}  // namespace

std::string SimFiles::TempPathOf(const std::string& target) {
  return target + ".tmp";
}

bool SimFiles::WriteTemp(const std::string& temp, int mode, const char* data, std::size_t size) {
  // A new file gets what the umask allows; a replacement keeps the permission bits of the file
  // it replaces.
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return false;
  bool ok = mode < 0 || fchmod(fd, static_cast<mode_t>(mode)) == 0;
  if (ok) Step(SaveStep::kTempCreated);
  std::size_t done = 0;
  while (ok && done < size) {
    const ssize_t n = write(fd, data + done, std::min(kWriteChunk, size - done));
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (!ok) break;
    done += static_cast<std::size_t>(n);
    Step(SaveStep::kWritten);
  }
  ok = ok && fsync(fd) == 0;
  if (ok) Step(SaveStep::kFlushed);
  ok = close(fd) == 0 && ok;
  if (!ok) unlink(temp.c_str());
  return ok;
}

ReplaceResult SimFiles::ReplaceFile(const char* path, const char* data, std::size_t size) {
  if (path == nullptr || path[0] == 0 || (data == nullptr && size > 0)) {
    return ReplaceResult::kFailed;
  }
  std::string target;
  bool exists = false;
  struct stat info {};
  if (!ResolveTarget(path, &target, &exists, &info)) return ReplaceResult::kFailed;
  int mode = -1;  // a new file
  if (exists) {
    if (!S_ISREG(info.st_mode)) return ReplaceResult::kFailed;
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      return errno == EACCES || errno == EPERM || errno == EROFS ? ReplaceResult::kReadOnly
                                                                 : ReplaceResult::kFailed;
    }
    mode = static_cast<int>(info.st_mode & 07777);
  }

  const std::string temp = TempPathOf(target);
  // A temporary file of an interrupted save goes first; anything else at that name (a
  // directory, say) stops the save.
  if (unlink(temp.c_str()) != 0 && errno != ENOENT) return ReplaceResult::kFailed;
  if (!WriteTemp(temp, mode, data, size)) return ReplaceResult::kFailed;
  if (rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return ReplaceResult::kFailed;
  }
  Step(SaveStep::kRenamed);
  // The new content is in place now; it is durable once the directory entry is.
  if (!SyncDirectory(DirectoryOf(target))) return ReplaceResult::kFailed;
  Step(SaveStep::kDirectorySynced);
  return ReplaceResult::kReplaced;
}

}  // namespace mivo::sim
