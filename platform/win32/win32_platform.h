// The whole Win32 platform in one object: the window system, the clock, the mixer, the system
// services and the files, and the Host the controller gets.
#pragma once

#include "platform/host.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_window.h"

namespace mivo::win32 {

class Win32Platform {
 public:
  Win32WindowHost window;
  Win32Clock clock;
  Win32Mixer mixer;
  Win32System system;
  Win32Files files;

  Host host() { return Host{window, clock, mixer, system, files}; }
};

}  // namespace mivo::win32
