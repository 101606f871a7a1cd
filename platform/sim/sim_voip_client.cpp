// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_voip_client.h"

namespace mivo::sim {

SimVoipClient::SimVoipClient(EventLoop& loop, Trace& trace, SimWorld& world)
    : loop_(loop), trace_(trace), world_(world) {}
void SimVoipClient::NoteRinging(const std::string&) { }
void SimVoipClient::FarEndHangsUp() { }
bool SimVoipClient::fRunAP() { return false; }
bool SimVoipClient::fConnectVoIP(HWND, int) { return false; }
bool SimVoipClient::fDisconnectVoIP() { return false; }
bool SimVoipClient::fReInitial() { return false; }
bool SimVoipClient::fCheckVoIPOnLine() { return false; }
bool SimVoipClient::fFocusAP() { return false; }
bool SimVoipClient::fSendKey(int, int, char*, int*) { return false; }
bool SimVoipClient::fSending(const char*) { return false; }
bool SimVoipClient::fCallUser(const char*) { return false; }
bool SimVoipClient::fSetMute(int) { return false; }
bool SimVoipClient::fSetOnHold() { return false; }
bool SimVoipClient::fSetInProgress() { return false; }
bool SimVoipClient::fSetCallOnHold(const char*) { return false; }
bool SimVoipClient::fSetCallInProgress(const char*) { return false; }
bool SimVoipClient::fSetCallFinished(const char*) { return false; }
bool SimVoipClient::fSetCallSeen(const char*) { return false; }
bool SimVoipClient::fSetAudio(int, const char*) { return false; }
bool SimVoipClient::fGetFullPhoneBook(const std::uint8_t**) { return false; }
bool SimVoipClient::fGetCalls(const std::uint8_t**) { return false; }
bool SimVoipClient::fGetActiveCalls(const std::uint8_t**) { return false; }
bool SimVoipClient::fGetVoiceMails(const std::uint8_t**) { return false; }
int SimVoipClient::fGetMissedCallCount() { return 0; }
int SimVoipClient::fGetUnPlayedVoiceMailCount() { return 0; }

}  // namespace mivo::sim
