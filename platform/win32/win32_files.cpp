// The temporary file has one fixed name per target (the target's name + ".tmp", in the same
// directory, so the move never crosses volumes). A save first removes a stale one left by a
// save that was interrupted, then creates its own (CREATE_NEW), writes and flushes it, and
// moves it over the target with MOVEFILE_WRITE_THROUGH, which returns only once the move is
// on the disk.
#include "platform/win32/win32_files.h"

#include <algorithm>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

// Bytes handed to one write.
constexpr std::size_t kWriteChunk = 64 * 1024;

// The file that a save must replace: the path itself, or the final target of a link.
bool ResolveTarget(const char* path, std::string* target) {
  const ::DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    *target = path;
    return true;
  }
  const ::HANDLE link =
      ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (link == INVALID_HANDLE_VALUE) return false;
  char final_path[MAX_PATH * 2] = {};
  const ::DWORD length =
      ::GetFinalPathNameByHandleA(link, final_path, sizeof final_path, FILE_NAME_NORMALIZED);
  ::CloseHandle(link);
  if (length == 0 || length >= sizeof final_path) return false;
  std::string resolved(final_path, length);
  // The system answers with its long-path form; "\\?\UNC\server\share" is "\\server\share".
  if (resolved.rfind("\\\\?\\UNC\\", 0) == 0) {
    resolved = "\\\\" + resolved.substr(8);
  } else if (resolved.rfind("\\\\?\\", 0) == 0) {
    resolved = resolved.substr(4);
  }
  *target = resolved;
  return true;
}

// Whether this user may not write the existing target.
bool IsReadOnly(const std::string& target) {
  const ::DWORD attributes = ::GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
  const ::HANDLE file = ::CreateFileA(target.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_ACCESS_DENIED;
  ::CloseHandle(file);
  return false;
}

bool WriteAll(::HANDLE file, const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const auto chunk = static_cast<::DWORD>(std::min(kWriteChunk, size - done));
    ::DWORD written = 0;
    if (!::WriteFile(file, data + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

ReplaceResult Win32Files::ReplaceFile(const char* path, const char* data, std::size_t size) {
  if (path == nullptr || (data == nullptr && size != 0)) return ReplaceResult::kFailed;
  std::string target;
  if (!ResolveTarget(path, &target)) return ReplaceResult::kFailed;
  if (IsReadOnly(target)) return ReplaceResult::kReadOnly;

  const std::string temp = TempPathOf(target);
  ::DeleteFileA(temp.c_str());
  const ::HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ReplaceResult::kFailed;
  const bool written = WriteAll(file, data, size) && ::FlushFileBuffers(file);
  ::CloseHandle(file);
  if (!written || !::MoveFileExA(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temp.c_str());
    return ReplaceResult::kFailed;
  }
  return ReplaceResult::kReplaced;
}

}  // namespace mivo::win32
