// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_handset.h"

namespace mivo::sim {

SimHandset::SimHandset(EventLoop& loop, Trace& trace, SimWorld& world)
    : loop_(loop), trace_(trace), world_(world) {}
std::string SimHandset::RowLine(int) const { return {}; }
bool SimHandset::fConnectDevice(HWND) { return false; }
bool SimHandset::fCloseDevice() { return false; }
bool SimHandset::fSuspendDevice() { return false; }
bool SimHandset::fCheckDriver() { return false; }
bool SimHandset::fRotate180(int) { return false; }
bool SimHandset::fClearDisplay2() { return false; }
bool SimHandset::fClearRow(std::uint8_t) { return false; }
bool SimHandset::fSendDisplayLCD_TXT(std::uint8_t, int, const char*, int, int, const char*) { return false; }
bool SimHandset::fSendDisplayLCD_TXT2(std::uint8_t, int, const char*, int, int, const char*, int, int) { return false; }
bool SimHandset::fSendDisplayLCD_BMP(std::uint8_t, int, int) { return false; }
bool SimHandset::fSendDisplayLCD_Cylinder(int) { return false; }
bool SimHandset::fClearBuf() { return false; }
bool SimHandset::fDrawBuf(int, int, const char*, int, const char*, int) { return false; }
bool SimHandset::fSendBufToQ5LCD(std::uint8_t, int, int) { return false; }
bool SimHandset::fSetLEDOn(int) { return false; }
bool SimHandset::fSetLEDStatus(int, int) { return false; }
bool SimHandset::fSetVoiceLEDOn(int) { return false; }

}  // namespace mivo::sim
