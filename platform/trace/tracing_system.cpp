#include "platform/trace/tracing_system.h"

#include <cstdio>
#include <cstring>

#include "platform/trace/trace_args.h"
#include "voip/blocks.h"

namespace mivo::trace {

bool TracingSystemHost::RegSetValueEx(RegKey key, const char* name, DWORD type,
                                      const std::uint8_t* data, DWORD size) {
  tracer_.Call([&] {
    // The text is the data up to its first zero byte, never beyond the data's length.
    std::size_t length = 0;
    if (data != nullptr) {
      const void* zero = std::memchr(data, 0, size);
      length = zero != nullptr
                   ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data)
                   : size;
    }
    const std::string text =
        data != nullptr ? std::string(reinterpret_cast<const char*>(data), length) : "";
    return CallLine("RegSetValueEx", {Text(name), Quote(text), N(size)});
  });
  return inner_.RegSetValueEx(key, name, type, data, size);
}

Handle TracingSystemHost::CreateFile(const char* name) {
  tracer_.Call([&] { return CallLine("CreateFile", {Text(name)}); });
  return inner_.CreateFile(name);
}

bool TracingSystemHost::DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) {
  // The code in hex, then the request's input as little-endian 32-bit integers.
  tracer_.Call([&] {
    char code_text[16];
    std::snprintf(code_text, sizeof code_text, "0x%X", static_cast<unsigned>(code));
    std::string line = std::string("DeviceIoControl(") + code_text;
    const auto* bytes = static_cast<const std::uint8_t*>(in);
    for (DWORD offset = 0; bytes != nullptr && offset + 4 <= in_size; offset += 4) {
      line += ", " + N(blocks::ReadInt32(bytes + offset));
    }
    return line + ")";
  });
  return inner_.DeviceIoControl(device, code, in, in_size);
}

bool TracingSystemHost::CreateProcess(const char* command_line, ProcessInfo* info) {
  tracer_.Call([&] { return CallLine("CreateProcess", {Text(command_line)}); });
  return inner_.CreateProcess(command_line, info);
}

DWORD TracingSystemHost::WaitForSingleObject(Handle handle, DWORD ms) {
  tracer_.Call([&] {
    return CallLine("WaitForSingleObject", {ms == INFINITE ? std::string("INFINITE") : N(ms)});
  });
  return inner_.WaitForSingleObject(handle, ms);
}

}  // namespace mivo::trace
