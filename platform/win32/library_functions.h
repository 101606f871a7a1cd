// The functions of the handset library (UsbPhone_Q5.dll) and of the VoIP bridge
// (CallBridge.dll) as they are exported: plain names, MIVO_LIBRARY_CALL, window handles as
// pointers, row numbers as bytes, other integers 32-bit, texts as 8-bit strings. A truth
// value comes back in the low byte of the result register (a C++ bool; a BOOL of 0 or 1 reads
// the same).
#pragma once

#include <cstdint>

#include "platform/win32/library_call.h"

namespace mivo::win32 {

using LibraryBool = unsigned char;

struct HandsetFunctions {
  LibraryBool(MIVO_LIBRARY_CALL* fConnectDevice)(void* window) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fCloseDevice)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSuspendDevice)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fCheckDriver)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fRotate180)(int on) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fClearDisplay2)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fClearRow)(std::uint8_t row) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendDisplayLCD_TXT)(std::uint8_t row, int x, const char* text,
                                                      int style, int weight,
                                                      const char* font) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendDisplayLCD_TXT2)(std::uint8_t row, int x, const char* text,
                                                       int style, int weight, const char* font,
                                                       int height, int flag) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendDisplayLCD_BMP)(std::uint8_t row, int x,
                                                      int bitmap) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendDisplayLCD_Cylinder)(int volume) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fClearBuf)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fDrawBuf)(int x, int bitmap, const char* text, int zero,
                                           const char* font, int height) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendBufToQ5LCD)(std::uint8_t row, int x, int style) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetLEDOn)(int on) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetLEDStatus)(int led, int on) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetVoiceLEDOn)(int on) = nullptr;
};

struct VoipFunctions {
  LibraryBool(MIVO_LIBRARY_CALL* fRunAP)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fConnectVoIP)(void* window, int mode) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fDisconnectVoIP)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fReInitial)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fCheckVoIPOnLine)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fFocusAP)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSendKey)(int key, int long_press, char* number,
                                           int* length) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSending)(const char* command) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fCallUser)(const char* target) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetMute)(int on) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetOnHold)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetInProgress)() = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetCallOnHold)(const char* call_id) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetCallInProgress)(const char* call_id) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetCallFinished)(const char* call_id) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetCallSeen)(const char* call_id) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fSetAudio)(int kind, const char* device_name) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fGetFullPhoneBook)(const std::uint8_t** block) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fGetCalls)(const std::uint8_t** block) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fGetActiveCalls)(const std::uint8_t** block) = nullptr;
  LibraryBool(MIVO_LIBRARY_CALL* fGetVoiceMails)(const std::uint8_t** block) = nullptr;
  int(MIVO_LIBRARY_CALL* fGetMissedCallCount)() = nullptr;
  int(MIVO_LIBRARY_CALL* fGetUnPlayedVoiceMailCount)() = nullptr;
};

}  // namespace mivo::win32
