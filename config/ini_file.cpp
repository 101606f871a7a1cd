// Placeholder until the store is built.
#include "config/ini_file.h"

namespace mivo {

struct IniFile::Impl {};

IniFile::~IniFile() { Close(); }
bool IniFile::Open(const char*, int) { return false; }
const char* IniFile::GetValue(const char*, const char*, const char* fallback) { return fallback; }
void IniFile::SetValue(const char*, const char*, const char*) {}
bool IniFile::Close() { return true; }
void JoinProgramPath(char* out, std::size_t out_size, const char*, const char*) {
  if (out_size > 0) out[0] = 0;
}
int ParseDecimal(const char*) { return 0; }

}  // namespace mivo
