#include "platform/trace/tracing_window.h"

#include "core/constants.h"
#include "platform/framework.h"
#include "platform/trace/trace_args.h"

namespace mivo::trace {

namespace {

std::string ShowCommand(int command) {
  if (command == SW_MINIMIZE) return "SW_MINIMIZE";
  if (command == SW_HIDE) return "SW_HIDE";
  return N(command);
}

}  // namespace

int TracingWindowHost::RunModal(Dialog& dialog) {
  if (dialog.TemplateId() != IDD_CONTROLLER) {
    tracer_.Call([&] {
      return CallLine("DialogBox", {N(dialog.TemplateId()), Text(dialog.CaptionText())});
    });
    return inner_.RunModal(dialog);
  }
  // The controller's window is `hwnd` while its dialog runs, and stays so afterwards.
  tracer_.set_main_dialog(&dialog);
  const int result = inner_.RunModal(dialog);
  tracer_.set_main_dialog(nullptr);
  return result;
}

bool TracingWindowHost::DestroyWindow(HWND window) {
  tracer_.Call("DestroyWindow()");
  return inner_.DestroyWindow(window);
}

bool TracingWindowHost::ShowWindow(HWND window, int command) {
  tracer_.Call([&] { return CallLine("ShowWindow", {ShowCommand(command)}); });
  return inner_.ShowWindow(window, command);
}

std::uintptr_t TracingWindowHost::SetTimer(HWND window, std::uintptr_t id, UINT period_ms) {
  tracer_.Call([&] { return CallLine("SetTimer", {N(id), N(period_ms)}); });
  return inner_.SetTimer(window, id, period_ms);
}

bool TracingWindowHost::KillTimer(HWND window, std::uintptr_t id) {
  tracer_.Call([&] { return CallLine("KillTimer", {N(id)}); });
  return inner_.KillTimer(window, id);
}

int TracingWindowHost::MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  tracer_.Call([&] { return CallLine("MessageBox", {Text(text), Text(caption)}); });
  return inner_.MessageBox(owner, text, caption, type);
}

void TracingWindowHost::Sleep(DWORD ms) {
  tracer_.Call([&] { return CallLine("Sleep", {N(ms)}); });
  inner_.Sleep(ms);
}

bool TracingWindowHost::Shell_NotifyIcon(DWORD message, const NotifyIconData& data) {
  tracer_.Call([&] {
    // The tip is read no further than its field.
    const std::string icon = N(data.icon);
    const std::string tip = Quote(data.tip, sizeof data.tip);
    switch (message) {
      case NIM_ADD:
        return CallLine("Shell_NotifyIcon", {"NIM_ADD", icon, tip});
      case NIM_MODIFY:
        return CallLine("Shell_NotifyIcon", {"NIM_MODIFY", icon, tip});
      case NIM_DELETE:
        return CallLine("Shell_NotifyIcon", {"NIM_DELETE"});
      default:
        return CallLine("Shell_NotifyIcon", {N(message)});
    }
  });
  return inner_.Shell_NotifyIcon(message, data);
}

bool TracingWindowHost::TrackPopupMenu(HWND owner, int menu_id, const PopupItem* items, int count) {
  tracer_.Call([&] {
    std::string line = "TrackPopupMenu(";
    for (int i = 0; items != nullptr && i < count; ++i) {
      if (i > 0) line += ", ";
      line += Text(items[i].text);
    }
    return line + ")";
  });
  return inner_.TrackPopupMenu(owner, menu_id, items, count);
}

}  // namespace mivo::trace
