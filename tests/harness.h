// A test bed: the controller running on the simulated platform with a virtual clock, in a
// fresh temporary start directory. Tests run their body while the controller's modal loop
// runs, and assert on the trace, the LCD model, the LEDs and the controller's fields.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "platform/sim/sim_platform.h"

namespace mivo::test {

// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

class Harness {
 public:
  // `bridge` stands in for the simulated VoIP client when given (it must outlive the harness).
  explicit Harness(VoipBridge* bridge = nullptr);
  // The controller's VoIP bridge is the one `make_bridge` makes on the platform's event loop,
  // behind the tracing layer.
  explicit Harness(const sim::SimPlatform::BridgeFactory& make_bridge);
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  // Starts the controller (InitInstance) and runs `body` while its modal loop runs. The body
  // gets the controller; it may close it (menu close), after which `controller()` is null.
  void Run(const std::function<void(ControllerDialog&)>& body);

  // Posts a message to the controller window and pumps the queue at the current time.
  void Post(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // A key message with wParam 1 and the key code.
  void Key(int key);
  // Key, wait `ms`, release.
  void Press(int key, int ms = 100);
  // Advances the virtual clock.
  void Wait(int ms);

  // The trace lines written so far (and not yet cleared); observations are not included
  // unless a test writes them.
  std::vector<std::string> Lines() const;
  std::string Text() const { return out_.str(); }
  void ClearTrace();
  // Whether `line` stands in the trace, and the index of its first occurrence (-1 if none).
  int Find(const std::string& line) const;
  bool Has(const std::string& line) const { return Find(line) >= 0; }

  // The LCD rows as the `lcd` observation prints them, top row first.
  std::vector<std::string> Lcd() const;

  // Writes a file into the start directory.
  void WriteFile(const std::string& name, const std::string& content);
  std::string ReadFile(const std::string& name) const;
  bool FileExists(const std::string& name) const;
  const std::string& dir() const { return dir_; }

  sim::SimPlatform& sim() { return sim_; }
  sim::SimWorld& world() { return sim_.world; }
  ControllerDialog* controller() const { return app_.main_window(); }
  ControllerApp& app() { return app_; }

 private:
  std::ostringstream out_;
  std::string dir_;
  sim::SimPlatform sim_;
  ControllerApp app_;
};

}  // namespace mivo::test
