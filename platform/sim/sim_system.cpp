#include "platform/sim/sim_system.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"

namespace mivo::sim {

namespace {

// The sound mapper's key, one level per entry below HKEY_CURRENT_USER.
constexpr const char* kSoundMapperPath[] = {"SOFTWARE", "Microsoft", "Multimedia", "Sound Mapper"};
constexpr int kSoundMapperDepth = 4;
// A diagnostics line is cut here.
constexpr std::size_t kMaxDiagnosticLine = 512;
// The USB audio driver's control device.
constexpr const char* kControlDeviceName = "\\\\.\\QRX_AudioExtra0";
// Registry key handles are this base plus a running number.
constexpr RegKey kKeyBase = 0x7E000;

// The request codes the driver knows, with the exact size of their input.
bool KnownRequest(DWORD code, DWORD in_size) {
  return (code == 0x222C04 && in_size == 4) || (code == 0x222C48 && in_size == 20);
}

// The ANSI code page is Windows-1252.
constexpr UINT kWindows1252 = 1252;
constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80-0x9F; the five bytes the code page leaves undefined map to the
// control characters of the same value, as the system converts them.
constexpr char16_t kAnsiHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t AnsiToWide(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kAnsiHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

bool AnsiToUtf16(const char* source, std::u16string* out) {
  for (const char* p = source; *p != '\0'; ++p) {
    out->push_back(AnsiToWide(static_cast<unsigned char>(*p)));
  }
  return true;
}

// Characters outside the code page become '?', the system's default character.
void Utf16ToAnsi(const char16_t* source, std::string* out) {
  for (const char16_t* p = source; *p != 0; ++p) {
    const char16_t c = *p;
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<char>(c);
    } else {
      for (int i = 0; i < 32; ++i) {
        if (kAnsiHigh[i] == c) byte = static_cast<char>(0x80 + i);
      }
    }
    out->push_back(byte);
  }
}

void AppendUtf16(char32_t code_point, std::u16string* out) {
  if (code_point >= 0x10000) {
    code_point -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
  } else {
    out->push_back(static_cast<char16_t>(code_point));
  }
}

// Malformed sequences (stray continuation bytes, overlong forms, surrogates, values beyond
// U+10FFFF, cut sequences) become U+FFFD, one per offending byte sequence.
bool Utf8ToUtf16(const char* source, std::u16string* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(source);
  while (*p != 0) {
    const unsigned char lead = *p;
    int extra = 0;
    char32_t code_point = 0;
    if (lead < 0x80) {
      code_point = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code_point = lead & 0x07;
    } else {
      out->push_back(kReplacement);
      ++p;
      continue;
    }
    int taken = 1;
    bool valid = true;
    for (; taken <= extra; ++taken) {
      if ((p[taken] & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code_point = (code_point << 6) | (p[taken] & 0x3F);
    }
    if (valid) {
      const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
      valid = (extra == 0 || code_point >= minimum) && code_point <= 0x10FFFF &&
              !(code_point >= 0xD800 && code_point <= 0xDFFF);
    }
    if (valid) {
      AppendUtf16(code_point, out);
    } else {
      out->push_back(kReplacement);
    }
    p += taken;
  }
  return true;
}

void AppendUtf8(char32_t code_point, std::string* out) {
  if (code_point < 0x80) {
    out->push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

// Surrogate pairs join into one character; a lone surrogate becomes U+FFFD.
void Utf16ToUtf8(const char16_t* source, std::string* out) {
  for (const char16_t* p = source; *p != 0; ++p) {
    char32_t c = *p;
    if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
      ++p;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(c, out);
  }
}

// Writes the converted text and its terminator. A size of 0 asks for the size needed; a
// buffer too small receives nothing and the result is 0.
template <typename Text, typename Char>
int CopyOut(const Text& text, Char* out, int out_size) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (out_size == 0) return needed;
  if (out == nullptr || needed > out_size) return 0;
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = 0;
  return needed;
}

}  // namespace

SimSystem::SimSystem(SimWorld& world) : world_(world) {}

Handle SimSystem::NewHandle() {
  const Handle handle = next_handle_;
  next_handle_ += 4;
  open_handles_.push_back(handle);
  return handle;
}

DWORD SimSystem::GetCurrentDirectory(DWORD buffer_size, char* buffer) {
  const std::string& directory = world_.pc.start_directory;
  const DWORD length = static_cast<DWORD>(directory.size());
  // Too small: the size needed, terminator included, and nothing written.
  if (buffer == nullptr || buffer_size <= length) return length + 1;
  std::memcpy(buffer, directory.data(), directory.size());
  buffer[length] = '\0';
  return length;
}

int SimSystem::KeyDepth(RegKey key) const {
  if (key == HKEY_CURRENT_USER) return 0;
  for (const auto& [open, depth] : open_keys_) {
    if (open == key) return depth;
  }
  return -1;
}

bool SimSystem::RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) {
  if (key == nullptr || subkey == nullptr) return false;
  int depth = KeyDepth(parent);
  if (depth < 0) return false;
  // The subkey may name several levels separated by backslashes.
  std::string path = subkey;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string level = path.substr(start, end - start);
    if (!level.empty()) {
      if (depth >= kSoundMapperDepth || !EqualNoCase(level, kSoundMapperPath[depth])) {
        return false;
      }
      ++depth;
      if (depth == kSoundMapperDepth && !world_.pc.registry_key_present) return false;
    }
    start = end + 1;
  }
  const RegKey opened = kKeyBase + next_key_;
  next_key_ += 4;
  open_keys_.emplace_back(opened, depth);
  *key = opened;
  return true;
}

bool SimSystem::RegSetValueEx(RegKey key, const char* name, DWORD, const std::uint8_t* data,
                              DWORD size) {
  // The text is the data up to its first zero byte, never beyond the data's length.
  std::string text;
  if (data != nullptr) {
    const void* zero = std::memchr(data, 0, size);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data)
                        : size;
    text.assign(reinterpret_cast<const char*>(data), length);
  }
  const int depth = KeyDepth(key);
  if (name == nullptr || depth <= 0) return false;
  if (depth == kSoundMapperDepth) {
    if (EqualNoCase(name, "Record")) world_.pc.registry_record = text;
    if (EqualNoCase(name, "Playback")) world_.pc.registry_playback = text;
  }
  return true;
}

void SimSystem::RegCloseKey(RegKey key) {
  std::erase_if(open_keys_, [key](const auto& open) { return open.first == key; });
}

Handle SimSystem::CreateFile(const char* name) {
  if (name == nullptr || !EqualNoCase(name, kControlDeviceName)) return INVALID_HANDLE_VALUE;
  // The device is opened exclusively: a second open fails while the first is held.
  if (!world_.pc.control_device_present || device_handle_ != 0) return INVALID_HANDLE_VALUE;
  device_handle_ = NewHandle();
  return device_handle_;
}

bool SimSystem::DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) {
  const auto* bytes = static_cast<const std::uint8_t*>(in);
  if (device == 0 || device != device_handle_) return false;
  if (bytes == nullptr || !KnownRequest(code, in_size)) return false;
  requests_.push_back(IoRequest{code, std::vector<std::uint8_t>(bytes, bytes + in_size)});
  return true;
}

bool SimSystem::CloseHandle(Handle handle) {
  const auto it = std::find(open_handles_.begin(), open_handles_.end(), handle);
  if (handle == 0 || it == open_handles_.end()) return false;
  open_handles_.erase(it);
  if (handle == device_handle_) device_handle_ = 0;
  return true;
}

bool SimSystem::CreateProcess(const char* command_line, ProcessInfo* info) {
  if (command_line == nullptr || info == nullptr) return false;
  const auto found = world_.pc.programs.find(command_line);
  if (found != world_.pc.programs.end() && !found->second) return false;
  started_.emplace_back(command_line);
  // The simulated program has finished by the time anyone waits for it.
  info->process = NewHandle();
  info->thread = NewHandle();
  return true;
}

// The simulated programs have finished by the time anyone waits: no wait runs out.
DWORD SimSystem::WaitForSingleObject(Handle handle, DWORD /*ms*/) {
  const bool open = handle != 0 && std::find(open_handles_.begin(), open_handles_.end(), handle) !=
                                       open_handles_.end();
  return open ? WAIT_OBJECT_0 : WAIT_FAILED;
}

int SimSystem::MultiByteToWideChar(UINT code_page, const char* source, char16_t* out,
                                   int out_size) {
  if (source == nullptr || out_size < 0) return 0;
  std::u16string wide;
  if (code_page == CP_ACP || code_page == kWindows1252) {
    if (!AnsiToUtf16(source, &wide)) return 0;
  } else if (code_page == CP_UTF8) {
    if (!Utf8ToUtf16(source, &wide)) return 0;
  } else {
    return 0;
  }
  return CopyOut(wide, out, out_size);
}

int SimSystem::WideCharToMultiByte(UINT code_page, const char16_t* source, char* out,
                                   int out_size) {
  if (source == nullptr || out_size < 0) return 0;
  std::string narrow;
  if (code_page == CP_ACP || code_page == kWindows1252) {
    Utf16ToAnsi(source, &narrow);
  } else if (code_page == CP_UTF8) {
    Utf16ToUtf8(source, &narrow);
  } else {
    return 0;
  }
  return CopyOut(narrow, out, out_size);
}

void SimSystem::OutputDebugString(const char* line) {
  if (!diagnostics_ || line == nullptr) return;
  // One line: a line end inside the text would pass for a second one.
  std::string text;
  for (const char* p = line; *p != '\0' && text.size() < kMaxDiagnosticLine; ++p) {
    text += (*p == '\n' || *p == '\r') ? ' ' : *p;
  }
  diagnostics_(text);
}

}  // namespace mivo::sim
