// A stand-in for the handset library or the VoIP bridge that does nothing and reports
// success, for the tests of MivoRun.exe's start, its single-instance guard, its close and its
// handling of missing libraries and functions. Built as UsbPhone_Q5.dll (STUB_HANDSET) or
// CallBridge.dll (STUB_VOIP); STUB_PARTIAL leaves out the last function of each.
#include <cstdint>

#include "platform/win32/library_call.h"

#define STUB_EXPORT extern "C" __declspec(dllexport)
#define STUB_TRUE(name, ...)                             \
  STUB_EXPORT bool MIVO_LIBRARY_CALL name(__VA_ARGS__) { \
    return true;                                         \
  }

#ifdef STUB_HANDSET
STUB_TRUE(fConnectDevice, void*)
STUB_TRUE(fCloseDevice)
STUB_TRUE(fSuspendDevice)
STUB_TRUE(fCheckDriver)
STUB_TRUE(fRotate180, int)
STUB_TRUE(fClearDisplay2)
STUB_TRUE(fClearRow, std::uint8_t)
STUB_TRUE(fSendDisplayLCD_TXT, std::uint8_t, int, const char*, int, int, const char*)
STUB_TRUE(fSendDisplayLCD_TXT2, std::uint8_t, int, const char*, int, int, const char*, int, int)
STUB_TRUE(fSendDisplayLCD_BMP, std::uint8_t, int, int)
STUB_TRUE(fSendDisplayLCD_Cylinder, int)
STUB_TRUE(fClearBuf)
STUB_TRUE(fDrawBuf, int, int, const char*, int, const char*, int)
STUB_TRUE(fSendBufToQ5LCD, std::uint8_t, int, int)
STUB_TRUE(fSetLEDOn, int)
STUB_TRUE(fSetLEDStatus, int, int)
#ifndef STUB_PARTIAL
STUB_TRUE(fSetVoiceLEDOn, int)
#endif
#endif

#ifdef STUB_VOIP
STUB_TRUE(fRunAP)
STUB_TRUE(fConnectVoIP, void*, int)
STUB_TRUE(fDisconnectVoIP)
STUB_TRUE(fReInitial)
STUB_TRUE(fCheckVoIPOnLine)
STUB_TRUE(fFocusAP)
STUB_TRUE(fSendKey, int, int, char*, int*)
STUB_TRUE(fSending, const char*)
STUB_TRUE(fCallUser, const char*)
STUB_TRUE(fSetMute, int)
STUB_TRUE(fSetOnHold)
STUB_TRUE(fSetInProgress)
STUB_TRUE(fSetCallOnHold, const char*)
STUB_TRUE(fSetCallInProgress, const char*)
STUB_TRUE(fSetCallFinished, const char*)
STUB_TRUE(fSetCallSeen, const char*)
STUB_TRUE(fSetAudio, int, const char*)
// No block to hand out: the controller gets a null block, as from a client that has none.
#define STUB_NO_BLOCK(name)                                             \
  STUB_EXPORT bool MIVO_LIBRARY_CALL name(const std::uint8_t** block) { \
    if (block != nullptr) *block = nullptr;                             \
    return false;                                                       \
  }
STUB_NO_BLOCK(fGetFullPhoneBook)
STUB_NO_BLOCK(fGetCalls)
STUB_NO_BLOCK(fGetActiveCalls)
STUB_NO_BLOCK(fGetVoiceMails)
STUB_EXPORT int MIVO_LIBRARY_CALL fGetMissedCallCount() {
  return 0;
}
#ifndef STUB_PARTIAL
STUB_EXPORT int MIVO_LIBRARY_CALL fGetUnPlayedVoiceMailCount() {
  return 0;
}
#endif
#endif
