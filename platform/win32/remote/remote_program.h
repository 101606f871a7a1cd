// The running program as mivorun-remote reaches it: the controller's window captioned
// "MivoRun", the stand-ins' endpoints on the controller's thread, the modal window the
// controller has open, and the wait until the controller has handled what a line caused.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace mivo::remote {

// The program's windows did not appear within the wait.
struct NoRunningProgram {};

class RunningProgram {
 public:
  RunningProgram() = default;
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The controller's window, or null (never waits).
  static ::HWND FindMain();
  // The controller's window and a stand-in's endpoint, waiting up to 5 s for them; throws
  // NoRunningProgram when they do not appear.
  void Require();

  // Sends one line to a stand-in, waiting up to 5 s for its endpoint (else NoRunningProgram);
  // its output lines are appended to `output`. False with `error` set when it refused the line.
  bool Send(bool handset, const std::string& line, std::vector<std::string>* output,
            std::string* error);
  // Posts a message to the controller's window.
  void Post(::UINT message, ::WPARAM wparam, ::LPARAM lparam);
  // Waits until the controller's thread is back in a message loop with no posted message
  // waiting (it handled what was posted and what that posted in turn, or a modal window is
  // up and pumping), at most 10 s. False when the program went away or stayed busy.
  bool WaitIdle();
  // Waits until a popup menu of the controller's thread is up (at most 5 s), then closes it
  // without a choice. False when none came up.
  bool DismissMenu();
  // Waits until the program's process has ended, at most `ms`. False when it still runs.
  bool WaitForEnd(::DWORD ms);

  // The caption of the modal window the controller has open, or nothing.
  bool ModalCaption(std::string* caption);
  // Presses the default button of that modal window and waits until the window is gone.
  // False with `error` set when there is no modal window or it has no default button.
  bool PressDefault(std::string* error);

 private:
  ::HWND ModalWindow();
  ::HWND Endpoint(bool handset);

  ::HWND main_ = nullptr;
  ::DWORD thread_ = 0;
  ::HANDLE process_ = nullptr;
  ::HWND handset_ = nullptr;
  ::HWND client_ = nullptr;
  ::WPARAM barrier_ = 0;  // the last idle barrier posted
};

// "window hidden|minimized|visible|destroyed" for the window captioned "MivoRun".
std::string DescribeMainWindow();

}  // namespace mivo::remote
