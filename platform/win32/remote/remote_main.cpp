// mivorun-remote.exe LINE [LINE ...]: runs each LINE, in order, as one line of a scenario
// script against the running MivoRun.exe, and writes what the line shows to standard output,
// each line ended by LF alone. Events go to the stand-in that would send them, or are posted
// to the controller's window as the shell or the system would; a line returns once the
// controller has handled what it caused.
//
// Exit status: 0 when every line ran; 2 with `error: line N: WHAT` for a line that cannot be
// understood (the lines before it have run, nothing after it runs); 3 with
// `error: no running program` when the program's windows do not appear within 5 s.
//
// For tests: with MIVORUN_REMOTE_MARKS=FILE and MIVORUN_TRACE=TRACE (the program's trace
// file), each line appends `N BEFORE AFTER OUTPUTS` to FILE: the trace file's size when the
// line began to act and when it was done, and how many output lines it wrote.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/trace/trace_text.h"
#include "platform/win32/remote/remote_lines.h"
#include "platform/win32/remote/remote_program.h"

namespace mivo::remote {
namespace {

constexpr ::DWORD kEndMs = 10000;  // how long `menu close` waits for the process to end

struct LineError {
  std::string what;
};

class Remote {
 public:
  Remote() {
    if (const char* marks = std::getenv("MIVORUN_REMOTE_MARKS")) marks_ = marks;
    if (const char* trace = std::getenv("MIVORUN_TRACE")) trace_ = trace;
  }

  int Run(int count, char** lines) {
    for (int i = 0; i < count; ++i) {
      try {
        Execute(i + 1, ParseRemoteLine(lines[i]));
      } catch (const sim::ScriptError& e) {
        return Fail(2, "error: line " + std::to_string(i + 1) + ": " + e.what());
      } catch (const LineError& e) {
        return Fail(2, "error: line " + std::to_string(i + 1) + ": " + e.what);
      } catch (const NoRunningProgram&) {
        return Fail(3, "error: no running program");
      }
    }
    return 0;
  }

 private:
  static int Fail(int status, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", message.c_str());
    return status;
  }

  void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    ++printed_;
  }

  long long TraceSize() const {
    ::WIN32_FILE_ATTRIBUTE_DATA data;
    if (trace_.empty() || !::GetFileAttributesExA(trace_.c_str(), GetFileExInfoStandard, &data)) {
      return 0;
    }
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                  data.nFileSizeLow);
  }

  void Mark(int number, long long before, int printed_before) {
    if (marks_.empty()) return;
    if (std::FILE* file = std::fopen(marks_.c_str(), "ab")) {
      std::fprintf(file, "%d %lld %lld %d\n", number, before, TraceSize(),
                   printed_ - printed_before);
      std::fclose(file);
    }
  }

  void SendOrFail(bool handset, const std::string& line) {
    std::vector<std::string> output;
    std::string error;
    if (!program_.Send(handset, line, &output, &error)) throw LineError{error};
    for (const std::string& text : output) Print(text);
  }

  void Execute(int number, const RemoteLine& line) {
    if (line.NeedsProgram()) {
      program_.Require();
      program_.WaitIdle();
    }
    const long long before = TraceSize();
    const int printed_before = printed_;
    Act(line);
    Mark(number, before, printed_before);
  }

  void Act(const RemoteLine& line) {
    switch (line.route) {
      case Route::kNothing:
        return;
      case Route::kHandset:
      case Route::kHandsetOutput:
      case Route::kClient:
        SendOrFail(line.route != Route::kClient, line.text);
        program_.WaitIdle();
        return;
      case Route::kPress:
        SendOrFail(true, line.key_line);
        program_.WaitIdle();
        ::Sleep(static_cast<::DWORD>(line.ms));
        // A program that ended while the key was held gets no release.
        if (RunningProgram::FindMain() == nullptr) return;
        SendOrFail(true, "key RELEASE");
        program_.WaitIdle();
        return;
      case Route::kPost:
        program_.Post(line.message, static_cast<::WPARAM>(line.wparam),
                      static_cast<::LPARAM>(line.lparam));
        program_.WaitIdle();
        return;
      case Route::kMenuClose:
        program_.Post(line.message, static_cast<::WPARAM>(line.wparam), 0);
        if (program_.WaitForEnd(kEndMs)) Print("exit");
        return;
      case Route::kTrayMenu:
        program_.Post(line.message, static_cast<::WPARAM>(line.wparam),
                      static_cast<::LPARAM>(line.lparam));
        program_.DismissMenu();
        program_.WaitIdle();
        return;
      case Route::kWindow:
        Print(DescribeMainWindow());
        return;
      case Route::kDialog: {
        std::string caption;
        Print(program_.ModalCaption(&caption) ? "dialog " + trace::Quote(caption) : "dialog none");
        return;
      }
      case Route::kDialogOk: {
        std::string error;
        if (!program_.PressDefault(&error)) throw LineError{error};
        program_.WaitIdle();
        return;
      }
      case Route::kEcho:
        Print(line.text);
        return;
      case Route::kWait:
        ::Sleep(static_cast<::DWORD>(line.ms));
        return;
    }
  }

  RunningProgram program_;
  std::string marks_;
  std::string trace_;
  int printed_ = 0;
};

}  // namespace
}  // namespace mivo::remote

int main(int argc, char** argv) {
  // Output lines end with LF alone.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) {
    std::fprintf(stderr, "usage: mivorun-remote LINE [LINE ...]\n");
    return 2;
  }
  mivo::remote::Remote remote;
  return remote.Run(argc - 1, argv + 1);
}
