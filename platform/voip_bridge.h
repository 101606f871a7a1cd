// The VoIP bridge: the controller's only path to the VoIP client. One virtual function per
// call of the bridge, same names and argument order. Block-returning calls store the address
// of a block that the bridge owns (record formats in voip/blocks.h); it stays valid until the
// next fetch of the same kind. The bridge posts its events to the window given to
// fConnectVoIP.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace mivo {

// Size of the number buffer handed to fSendKey.
inline constexpr int kNumberBufferSize = 50;

class VoipBridge {
 public:
  virtual ~VoipBridge() = default;

  virtual bool fRunAP() = 0;
  virtual bool fConnectVoIP(HWND window, int mode) = 0;
  virtual bool fDisconnectVoIP() = 0;
  virtual bool fReInitial() = 0;
  virtual bool fCheckVoIPOnLine() = 0;
  virtual bool fFocusAP() = 0;
  // `number` is a buffer of kNumberBufferSize bytes; the bridge writes its number back into
  // it (without a terminator when it is full) and its length into *length.
  virtual bool fSendKey(int key, int long_press, char* number, int* length) = 0;
  virtual bool fSending(const char* command) = 0;
  virtual bool fCallUser(const char* target) = 0;
  virtual bool fSetMute(int on) = 0;
  virtual bool fSetOnHold() = 0;
  virtual bool fSetInProgress() = 0;
  virtual bool fSetCallOnHold(const char* call_id) = 0;
  virtual bool fSetCallInProgress(const char* call_id) = 0;
  virtual bool fSetCallFinished(const char* call_id) = 0;
  virtual bool fSetCallSeen(const char* call_id) = 0;
  virtual bool fSetAudio(int kind, const char* device_name) = 0;
  virtual bool fGetFullPhoneBook(const std::uint8_t** block) = 0;
  virtual bool fGetCalls(const std::uint8_t** block) = 0;
  virtual bool fGetActiveCalls(const std::uint8_t** block) = 0;
  virtual bool fGetVoiceMails(const std::uint8_t** block) = 0;
  virtual int fGetMissedCallCount() = 0;
  virtual int fGetUnPlayedVoiceMailCount() = 0;
};

}  // namespace mivo
