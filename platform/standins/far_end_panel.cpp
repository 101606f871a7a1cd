#include "platform/standins/far_end_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/trace/trace_text.h"

namespace mivo::standins {

namespace {

constexpr int kButtonHeight = 25, kRowStep = 29, kLabelHeight = 16;
// The longest caller text that can be typed, and the most contacts listed.
constexpr int kMaxCallerText = 63;
constexpr std::size_t kMaxListed = 500;

const struct {
  const char* name;
  int id;
} kLanguages[] = {{"English", 9},  {"German", 7}, {"Italian", 16},
                  {"Spanish", 10}, {"Dutch", 19}, {"French", 12}};

::HWND MakeControl(HINSTANCE module, ::HWND parent, const char* kind, const char* text, DWORD style,
                   int x, int y, int width, int height, int id) {
  ::HWND control =
      ::CreateWindowExA(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
  if (control != nullptr) {
    ::SendMessageA(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  return control;
}

std::string Quoted(const std::string& text) {
  return trace::Quote(text);
}

}  // namespace

FarEndPanel::FarEndPanel(const sim::SimWorld& world, LineSender send, std::function<void()> unplug,
                         std::function<void()> plug)
    : world_(world),
      send_(std::move(send)),
      unplug_(std::move(unplug)),
      plug_(std::move(plug)),
      missed_(world.voip.missed),
      unplayed_(world.voip.unplayed) {}

void FarEndPanel::Create(HINSTANCE module, ::HWND parent, int left, int top) {
  parent_ = parent;
  const int w = kPanelWidth, inner = kPanelWidth - 16, half = (inner - 6) / 2;
  const int x = left + 8;
  int y = top;
  frames_[0] = RECT{left, y, left + w, y + 318};
  y += 20;
  MakeControl(module, parent, "STATIC", "Caller:", SS_LEFT, x, y, inner, kLabelHeight, 0);
  y += kLabelHeight + 2;
  ::HWND contacts = MakeControl(module, parent, "COMBOBOX", "",
                                CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, x, y,
                                inner, 220, kContactBox);
  if (contacts != nullptr) {
    ::SendMessageA(contacts, CB_LIMITTEXT, kMaxCallerText, 0);
    const std::size_t listed = std::min(world_.voip.contacts.size(), kMaxListed);
    for (std::size_t i = 0; i < listed; ++i) {
      ::SendMessageA(contacts, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(world_.voip.contacts[i].name.c_str()));
    }
    if (listed > 0) ::SendMessageA(contacts, CB_SETCURSEL, 0, 0);
  }
  y += kRowStep + 2;
  const struct {
    const char* text;
    int id;
  } kActions[] = {{"Call comes in", kRing},
                  {"Far end answers", kAnswer},
                  {"Far end hangs up", kHangUp},
                  {"Voicemail arrives", kVoicemail},
                  {"Missed call", kMissed}};
  for (const auto& action : kActions) {
    MakeControl(module, parent, "BUTTON", action.text, BS_PUSHBUTTON, x, y, inner, kButtonHeight,
                action.id);
    y += kRowStep;
  }
  MakeControl(module, parent, "BUTTON", "Off line", BS_PUSHBUTTON, x, y, half, kButtonHeight,
              kOffLine);
  MakeControl(module, parent, "BUTTON", "On line", BS_PUSHBUTTON, x + inner - half, y, half,
              kButtonHeight, kOnLine);
  y += kRowStep + 4;
  MakeControl(module, parent, "STATIC", "Client's language:", SS_LEFT, x, y, inner, kLabelHeight,
              0);
  y += kLabelHeight + 2;
  ::HWND languages = MakeControl(module, parent, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, x,
                                 y, inner, 160, kLanguageBox);
  if (languages != nullptr) {
    for (const auto& language : kLanguages) {
      ::SendMessageA(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.name));
    }
    const auto current = std::find_if(std::begin(kLanguages), std::end(kLanguages),
                                      [&](const auto& l) { return l.id == world_.voip.language; });
    ::SendMessageA(languages, CB_SETCURSEL,
                   current != std::end(kLanguages) ? current - std::begin(kLanguages) : 0, 0);
  }

  y = top + 326;
  frames_[1] = RECT{left, y, left + w, y + 58};
  MakeControl(module, parent, "BUTTON", "Unplug", BS_PUSHBUTTON, x, y + 22, half, kButtonHeight,
              kUnplug);
  MakeControl(module, parent, "BUTTON", "Plug in", BS_PUSHBUTTON, x + inner - half, y + 22, half,
              kButtonHeight, kPlug);
  y += 66;
  MakeControl(module, parent, "STATIC", "", SS_LEFT | SS_NOPREFIX, left + 2, y, w - 4, 64, kStatus);
}

void FarEndPanel::PaintFrames(HDC dc) const {
  static const char* const kTitles[] = {"Far end", "Handset"};
  HGDIOBJ old_font = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  for (int i = 0; i < 2; ++i) {
    RECT edge = frames_[i];
    edge.top += 7;
    ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    ::TextOutA(dc, frames_[i].left + 8, frames_[i].top, kTitles[i],
               static_cast<int>(std::strlen(kTitles[i])));
  }
  ::SelectObject(dc, old_font);
}

void FarEndPanel::SetStatus(const std::string& text) {
  if (parent_ != nullptr) ::SetDlgItemTextA(parent_, kStatus, text.c_str());
}

std::string FarEndPanel::Now() const {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute);
  return text;
}

void FarEndPanel::Caller(std::string* handle, std::string* name) const {
  char text[kMaxCallerText + 1] = {};
  if (parent_ != nullptr) ::GetDlgItemTextA(parent_, kContactBox, text, sizeof text);
  *name = text;
  *handle = text;
  // A contact of the phone book calls with its handle; any other caller text is its own.
  for (const sim::SimContact& contact : world_.voip.contacts) {
    if (contact.name == *name) {
      *handle = contact.handle;
      return;
    }
  }
}

bool FarEndPanel::Send(std::initializer_list<std::string> lines) {
  std::string sent;
  for (const std::string& line : lines) {
    std::string error;
    if (!send_ || !send_(line, &error)) {
      SetStatus("not sent: " + line + "\n" + (error.empty() ? "no client to send to" : error));
      return false;
    }
    sent += (sent.empty() ? "" : "\n") + line;
  }
  SetStatus("sent: " + sent);
  return true;
}

bool FarEndPanel::OnCommand(WPARAM wparam) {
  const int id = LOWORD(wparam), code = HIWORD(wparam);
  if (id == kLanguageBox) {
    if (code != CBN_SELCHANGE) return true;
    const ::LRESULT index = ::SendDlgItemMessageA(parent_, kLanguageBox, CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < static_cast<::LRESULT>(std::size(kLanguages))) {
      Send({"language " + std::to_string(kLanguages[index].id)});
    }
    return true;
  }
  if (id == kContactBox) return true;
  if (id < kRing || id > kPlug || code != BN_CLICKED) return false;
  std::string handle, name;
  switch (id) {
    case kRing:
      Caller(&handle, &name);
      if (name.empty()) {
        SetStatus("Choose or type a caller first.");
        break;
      }
      Send({"ring " + Quoted(name)});
      break;
    case kAnswer:
      Send({"in-progress " + std::to_string(next_call_++)});
      break;
    case kHangUp:
      Send({"finished"});
      break;
    case kVoicemail:
      Caller(&handle, &name);
      if (name.empty()) name = handle = "unknown";
      if (Send({"voicemail vm" + std::to_string(next_call_++) + " " + Quoted(handle) + " " +
                    Quoted(name),
                "unplayed " + std::to_string(unplayed_ + 1), "voicemail-changed"})) {
        ++unplayed_;
      }
      break;
    case kMissed:
      Caller(&handle, &name);
      if (name.empty()) name = handle = "unknown";
      if (Send({"history " + std::to_string(next_call_++) + " " + Quoted(handle) + " " +
                    Quoted(name) + " type=0 status=8 time=" + Quoted(Now()),
                "missed " + std::to_string(missed_ + 1), "missed-changed"})) {
        ++missed_;
      }
      break;
    case kOffLine:
      Send({"online 0", "voip detach"});
      break;
    case kOnLine:
      Send({"online 1", "voip online"});
      break;
    case kUnplug:
      if (unplug_) unplug_();
      break;
    case kPlug:
      if (plug_) plug_();
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace mivo::standins
