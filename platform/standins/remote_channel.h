// The channel between mivorun-remote (and the virtual handset's far-end panel) and the two
// stand-in libraries running inside MivoRun.exe.
//
// Each stand-in keeps a hidden message-only window of the class kEndpointClass, captioned with
// its endpoint name, on the controller's thread. A sender finds it with FindWindowExA
// (HWND_MESSAGE, ...) and hands it one script line at a time with WM_COPYDATA (dwData
// kRunLine, the line's bytes without terminator, at most kMaxLineBytes, no CR, LF or NUL;
// wParam the sender's window for the replies, or null). The stand-in answers while the
// SendMessage is still waiting: each line of output (observations) as a WM_COPYDATA with
// dwData kOutputLine sent back to that window, and a refused line as one kErrorText. The
// SendMessage returns kLineDone or kLineRefused.
//
// kIdleQuery (SendMessageA, no parameters) answers 1 when the controller's thread has no
// posted message waiting (so everything a line caused has been handled, or a modal window is
// up and pumping), else 0. kEndMenu closes a popup menu of that thread without a choice.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace mivo::standins::channel {

inline constexpr char kEndpointClass[] = "MivoRunStandInEndpoint";
inline constexpr char kHandsetEndpoint[] = "MivoRun stand-in: handset";
inline constexpr char kClientEndpoint[] = "MivoRun stand-in: client";

inline constexpr std::size_t kMaxLineBytes = 1024;

inline constexpr ULONG_PTR kRunLine = 0x4D524C4E;     // "MRLN"
inline constexpr ULONG_PTR kOutputLine = 0x4D524F55;  // "MROU"
inline constexpr ULONG_PTR kErrorText = 0x4D524552;   // "MRER"

inline constexpr LRESULT kLineDone = 1;
inline constexpr LRESULT kLineRefused = 2;

inline constexpr UINT kIdleQuery = WM_APP + 0x3A0;
inline constexpr UINT kEndMenu = WM_APP + 0x3A1;
// Posted (PostMessageA) to an endpoint with wParam a token other than 0: the endpoint notes
// the token when the controller's thread takes it from its queue, which it does only from a
// message loop (the main one or a modal one) and after every message posted before it. The
// thread may also answer sent messages while a handler waits inside a call of its own (a
// SendMessage to another process, as the tray icon's calls make), so a queue without posted
// messages alone does not say that the handling is over. kIdleQuery with wParam that token
// answers 1 once the token was taken and no posted message waits, 2 when it was taken but
// more messages were posted since (post a new barrier), and 0 while it has not been taken.
inline constexpr UINT kIdleBarrier = WM_APP + 0x3A2;

// The parent of message-only windows, HWND_MESSAGE (spelt out: inside our namespaces the
// macro's cast would name the controller's handle type).
inline ::HWND MessageOnlyParent() {
  return reinterpret_cast<::HWND>(static_cast<::LONG_PTR>(-3));
}

// The endpoint window of a stand-in (kHandsetEndpoint or kClientEndpoint), or null.
::HWND FindEndpoint(const char* name);

// Sends one line to `endpoint` and waits for it to be run. Output lines are appended to
// `output`; false, with `error` set, when the line was refused or the endpoint is gone.
bool SendLine(::HWND endpoint, const std::string& line, std::vector<std::string>* output,
              std::string* error);

}  // namespace mivo::standins::channel
