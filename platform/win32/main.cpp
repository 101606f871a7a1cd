// MivoRun.exe: the controller on the real Win32 platform, with the handset library and the
// VoIP bridge loaded from the program's folder.
//
// Both libraries are loaded, and every function of theirs found, before anything else runs.
// When one is missing, or lacks a function, one message box captioned "MivoRun.exe" says
// which, and the program ends with status 1: nothing else has been started then.
#include <cstdlib>
#include <memory>
#include <string>

#include "app/controller_app.h"
#include "platform/trace/file_sink.h"
#include "platform/trace/tracing_layer.h"
#include "platform/win32/win32_handset.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_voip_bridge.h"
#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

constexpr const char* kProgramCaption = "MivoRun.exe";

int Run() {
  // Buttons and check boxes drawn as the running Windows draws them.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  Win32Platform platform;
  const std::string folder = ProgramFolder();
  Win32Handset loaded_handset;
  Win32VoipBridge loaded_bridge;
  std::string error;
  if (!loaded_handset.Load(folder, &error) || !loaded_bridge.Load(folder, &error)) {
    platform.system.OutputDebugString(("MivoRun: " + error).c_str());
    ::MessageBoxA(nullptr, error.c_str(), kProgramCaption, MB_OK | MB_ICONERROR);
    return 1;
  }

  // What the controller calls: the loaded libraries and the platform. With MIVORUN_TRACE set
  // (read once, here), the tracing layer goes between the controller and each of the three,
  // appending every call to that file.
  std::unique_ptr<trace::FileSink> trace_file;
  std::unique_ptr<trace::TracingLayer> tracing;
  const char* trace_path = std::getenv("MIVORUN_TRACE");
  if (trace_path != nullptr && trace_path[0] != '\0') {
    trace_file = std::make_unique<trace::FileSink>(trace_path);
    if (!trace_file->is_open()) {
      platform.system.OutputDebugString(
          (std::string("MivoRun: cannot open the trace file ") + trace_path).c_str());
    }
    tracing = std::make_unique<trace::TracingLayer>(*trace_file, loaded_handset, loaded_bridge,
                                                    platform.host());
  }
  HandsetLibrary& handset = tracing ? tracing->handset() : loaded_handset;
  VoipBridge& bridge = tracing ? tracing->bridge() : loaded_bridge;
  const Host host = tracing ? tracing->host() : platform.host();

  ControllerApp app(handset, bridge, host);
  app.InitInstance();
  return 0;
}

}  // namespace

}  // namespace mivo::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return mivo::win32::Run();
}
