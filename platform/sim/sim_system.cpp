// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_system.h"

namespace mivo::sim {

SimSystem::SimSystem(EventLoop& loop, Trace& trace, SimWorld& world)
    : loop_(loop), trace_(trace), world_(world) {}
DWORD SimSystem::GetCurrentDirectory(DWORD, char*) { return 0; }
bool SimSystem::RegOpenKeyEx(RegKey, const char*, RegKey*) { return false; }
bool SimSystem::RegSetValueEx(RegKey, const char*, DWORD, const std::uint8_t*, DWORD) { return false; }
void SimSystem::RegCloseKey(RegKey) { }
Handle SimSystem::CreateFile(const char*) { return 0; }
bool SimSystem::DeviceIoControl(Handle, DWORD, const void*, DWORD) { return false; }
bool SimSystem::CloseHandle(Handle) { return false; }
bool SimSystem::CreateProcess(const char*, ProcessInfo*) { return false; }
DWORD SimSystem::WaitForSingleObject(Handle, DWORD) { return 0; }
int SimSystem::MultiByteToWideChar(UINT, const char*, char16_t*, int) { return 0; }
int SimSystem::WideCharToMultiByte(UINT, const char16_t*, char*, int) { return 0; }

}  // namespace mivo::sim
