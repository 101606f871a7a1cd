#include "platform/trace/tracing_voip_bridge.h"

#include "platform/trace/trace_args.h"

namespace mivo::trace {

bool TracingVoipBridge::fRunAP() {
  tracer_.Call("fRunAP()");
  return inner_.fRunAP();
}

bool TracingVoipBridge::fConnectVoIP(HWND window, int mode) {
  tracer_.Call([&] { return CallLine("fConnectVoIP", {tracer_.Window(window), N(mode)}); });
  return inner_.fConnectVoIP(window, mode);
}

bool TracingVoipBridge::fDisconnectVoIP() {
  tracer_.Call("fDisconnectVoIP()");
  return inner_.fDisconnectVoIP();
}

bool TracingVoipBridge::fReInitial() {
  tracer_.Call("fReInitial()");
  return inner_.fReInitial();
}

bool TracingVoipBridge::fCheckVoIPOnLine() {
  tracer_.Call("fCheckVoIPOnLine()");
  return inner_.fCheckVoIPOnLine();
}

bool TracingVoipBridge::fFocusAP() {
  tracer_.Call("fFocusAP()");
  return inner_.fFocusAP();
}

bool TracingVoipBridge::fSendKey(int key, int long_press, char* number, int* length) {
  // The buffer holds no terminator when it is full: it is read no further than its size.
  tracer_.Call([&] {
    return CallLine("fSendKey", {N(key), N(long_press), Quote(number, kNumberBufferSize),
                                 N(length != nullptr ? *length : 0)});
  });
  return inner_.fSendKey(key, long_press, number, length);
}

bool TracingVoipBridge::fSending(const char* command) {
  tracer_.Call([&] { return CallLine("fSending", {Text(command)}); });
  return inner_.fSending(command);
}

bool TracingVoipBridge::fCallUser(const char* target) {
  tracer_.Call([&] { return CallLine("fCallUser", {Text(target)}); });
  return inner_.fCallUser(target);
}

bool TracingVoipBridge::fSetMute(int on) {
  tracer_.Call([&] { return CallLine("fSetMute", {N(on)}); });
  return inner_.fSetMute(on);
}

bool TracingVoipBridge::fSetOnHold() {
  tracer_.Call("fSetOnHold()");
  return inner_.fSetOnHold();
}

bool TracingVoipBridge::fSetInProgress() {
  tracer_.Call("fSetInProgress()");
  return inner_.fSetInProgress();
}

bool TracingVoipBridge::fSetCallOnHold(const char* call_id) {
  tracer_.Call([&] { return CallLine("fSetCallOnHold", {Text(call_id)}); });
  return inner_.fSetCallOnHold(call_id);
}

bool TracingVoipBridge::fSetCallInProgress(const char* call_id) {
  tracer_.Call([&] { return CallLine("fSetCallInProgress", {Text(call_id)}); });
  return inner_.fSetCallInProgress(call_id);
}

bool TracingVoipBridge::fSetCallFinished(const char* call_id) {
  tracer_.Call([&] { return CallLine("fSetCallFinished", {Text(call_id)}); });
  return inner_.fSetCallFinished(call_id);
}

bool TracingVoipBridge::fSetCallSeen(const char* call_id) {
  tracer_.Call([&] { return CallLine("fSetCallSeen", {Text(call_id)}); });
  return inner_.fSetCallSeen(call_id);
}

bool TracingVoipBridge::fSetAudio(int kind, const char* device_name) {
  tracer_.Call([&] { return CallLine("fSetAudio", {N(kind), Text(device_name)}); });
  return inner_.fSetAudio(kind, device_name);
}

bool TracingVoipBridge::fGetFullPhoneBook(const std::uint8_t** block) {
  tracer_.Call("fGetFullPhoneBook()");
  return inner_.fGetFullPhoneBook(block);
}

bool TracingVoipBridge::fGetCalls(const std::uint8_t** block) {
  tracer_.Call("fGetCalls()");
  return inner_.fGetCalls(block);
}

bool TracingVoipBridge::fGetActiveCalls(const std::uint8_t** block) {
  tracer_.Call("fGetActiveCalls()");
  return inner_.fGetActiveCalls(block);
}

bool TracingVoipBridge::fGetVoiceMails(const std::uint8_t** block) {
  tracer_.Call("fGetVoiceMails()");
  return inner_.fGetVoiceMails(block);
}

int TracingVoipBridge::fGetMissedCallCount() {
  tracer_.Call("fGetMissedCallCount()");
  return inner_.fGetMissedCallCount();
}

int TracingVoipBridge::fGetUnPlayedVoiceMailCount() {
  tracer_.Call("fGetUnPlayedVoiceMailCount()");
  return inner_.fGetUnPlayedVoiceMailCount();
}

}  // namespace mivo::trace
