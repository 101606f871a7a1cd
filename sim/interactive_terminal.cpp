// The terminal loop of the interactive handset, on ncurses.
#include "sim/interactive_terminal.h"

#include "sim/interactive.h"

#if MIVO_HAVE_CURSES

#include <curses.h>
#include <dlfcn.h>
#include <langinfo.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstring>

#include "sim/interactive_lcd.h"
#include "sim/interactive_pacer.h"

namespace mivo::sim {

namespace {

constexpr int kLcdTop = 2;   // screen line of the LCD's upper border
constexpr int kLcdLeft = 2;  // screen column of the LCD's left border

enum ColorPair : short {
  kPairLcd = 1,
  kPairLedOn,
  kPairError,
  kPairReady,
  kPairNotReady,
};

TermKey Decode(int ch) {
  TermKey key;
  switch (ch) {
    case KEY_UP:
      key.kind = TermKey::Kind::kUp;
      return key;
    case KEY_DOWN:
      key.kind = TermKey::Kind::kDown;
      return key;
    case KEY_LEFT:
      key.kind = TermKey::Kind::kLeft;
      return key;
    case KEY_RIGHT:
      key.kind = TermKey::Kind::kRight;
      return key;
    case KEY_ENTER:
    case '\n':
    case '\r':
      key.kind = TermKey::Kind::kEnter;
      return key;
    case KEY_BACKSPACE:
    case 127:
    case 8:
      key.kind = TermKey::Kind::kBackspace;
      return key;
    case 27:
      key.kind = TermKey::Kind::kEscape;
      return key;
    case '\t':
      key.kind = TermKey::Kind::kTab;
      return key;
    case 3:
      key.kind = TermKey::Kind::kInterrupt;
      return key;
    case KEY_RESIZE:
      key.kind = TermKey::Kind::kResize;
      return key;
    default:
      break;
  }
  if (ch >= 0x20 && ch < 0x7F) {
    key.kind = TermKey::Kind::kChar;
    key.ch = static_cast<char>(ch);
  }
  return key;
}

// Printable ASCII only: trace lines and messages are ASCII already, but nothing that reaches
// the terminal may be a control sequence.
std::string Sanitized(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  }
  return out;
}

class Screen {
 public:
  bool Open(std::string* error) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
      *error = "the interactive handset needs a terminal (or use --script FILE)";
      return false;
    }
    std::setlocale(LC_CTYPE, "");
    // Only the wide-character build of the library passes UTF-8 text through as it is;
    // with the other one (or another character set) each cell shows its plain letter.
    utf8_ = dlsym(RTLD_DEFAULT, "wget_wch") != nullptr &&
            std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    screen_ = newterm(nullptr, stdout, stdin);
    if (screen_ == nullptr) {
      *error = "cannot use the terminal (TERM is unknown?)";
      return false;
    }
    set_term(screen_);
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    if (has_colors()) {
      start_color();
      use_default_colors();
      init_pair(kPairLcd, COLOR_BLACK, COLOR_GREEN);
      init_pair(kPairLedOn, COLOR_GREEN, -1);
      init_pair(kPairError, COLOR_RED, -1);
      init_pair(kPairReady, COLOR_GREEN, -1);
      init_pair(kPairNotReady, COLOR_YELLOW, -1);
      colors_ = true;
    }
    return true;
  }

  ~Screen() {
    if (screen_ == nullptr) return;
    endwin();
    delscreen(screen_);
  }

  // The next key, waiting at most `wait_ms` for it (0: only a key already typed).
  int ReadKey(std::int64_t wait_ms) {
    timeout(static_cast<int>(wait_ms));
    return getch();
  }

  void Draw(HandsetSession& session, const LogBuffer& log);

 private:
  chtype Color(ColorPair pair) const { return colors_ ? COLOR_PAIR(pair) : 0; }
  // One character: the UTF-8 text when the terminal takes it, else the ASCII fallback.
  void PutGlyph(int y, int x, const std::string& utf8, char ascii, chtype attr) {
    attrset(attr);
    if (utf8_) {
      mvaddstr(y, x, utf8.c_str());
    } else {
      mvaddch(y, x, static_cast<unsigned char>(ascii));
    }
    attrset(A_NORMAL);
  }
  void PutText(int y, int x, const std::string& text, chtype attr = A_NORMAL) {
    if (y < 0 || y >= LINES || x >= COLS) return;
    attrset(attr);
    mvaddnstr(y, x, Sanitized(text).c_str(), COLS - x);
    attrset(A_NORMAL);
  }
  void DrawLcd(SimPlatform& sim);
  void DrawLeds(SimPlatform& sim, int y);
  void DrawPanel(HandsetSession& session, int x);
  int DrawHints(int bottom);  // returns the first line used
  void DrawLog(const LogBuffer& log, int top, int bottom);

  SCREEN* screen_ = nullptr;
  bool utf8_ = false;
  bool colors_ = false;
};

void Screen::DrawLcd(SimPlatform& sim) {
  const int right = kLcdLeft + kLcdColumns + 1;
  const int bottom = kLcdTop + 5;
  PutGlyph(kLcdTop, kLcdLeft, "\xE2\x94\x8C", '+', A_NORMAL);  // ┌
  PutGlyph(kLcdTop, right, "\xE2\x94\x90", '+', A_NORMAL);     // ┐
  PutGlyph(bottom, kLcdLeft, "\xE2\x94\x94", '+', A_NORMAL);   // └
  PutGlyph(bottom, right, "\xE2\x94\x98", '+', A_NORMAL);      // ┘
  for (int x = kLcdLeft + 1; x < right; ++x) {
    PutGlyph(kLcdTop, x, "\xE2\x94\x80", '-', A_NORMAL);  // ─
    PutGlyph(bottom, x, "\xE2\x94\x80", '-', A_NORMAL);
  }
  for (int i = 0; i < 4; ++i) {
    const int r = 3 - i;  // the top row first
    const int y = kLcdTop + 1 + i;
    const LcdRow& row = sim.handset.row(r);
    PutGlyph(y, kLcdLeft, "\xE2\x94\x82", '|', A_NORMAL);  // │
    PutGlyph(y, right, "\xE2\x94\x82", '|', A_NORMAL);
    chtype attr = Color(kPairLcd);
    if (row.style & 1) attr |= A_REVERSE;
    if (row.style & 2) attr |= A_BOLD;
    if (row.style & 4) attr |= A_UNDERLINE;
    const std::vector<LcdCell> cells = RenderLcdRow(row);
    for (int c = 0; c < kLcdColumns; ++c) {
      const LcdCell& cell = cells[static_cast<std::size_t>(c)];
      chtype cell_attr = attr;
      if (cell.kind == LcdCell::Kind::kIcon) cell_attr |= A_BOLD;
      if (cell.kind == LcdCell::Kind::kBarFull && !utf8_) cell_attr |= A_REVERSE;
      PutGlyph(y, kLcdLeft + 1 + c, cell.utf8, cell.ascii, cell_attr);
    }
    // The "more" mark: further entries follow below this row.
    if (row.style & 8) PutGlyph(y, right + 1, "\xE2\x96\xBC", 'v', A_BOLD);  // ▼
  }
}

void Screen::DrawLeds(SimPlatform& sim, int y) {
  const Leds& leds = sim.handset.leds();
  const struct {
    const char* name;
    int on;
  } kLeds[] = {{"MAIN", leds.main},
               {"HOLD", leds.hold},
               {"MUTE", leds.mute},
               {"VOICE MAIL", leds.voicemail}};
  int x = kLcdLeft;
  for (const auto& led : kLeds) {
    if (led.on) {
      PutGlyph(y, x, "\xE2\x97\x8F", '*', Color(kPairLedOn) | A_BOLD);  // ●
    } else {
      PutGlyph(y, x, "\xE2\x97\x8B", '.', A_DIM);  // ○
    }
    PutText(y, x + 2, led.name, led.on ? A_BOLD : A_NORMAL);
    x += 4 + static_cast<int>(std::strlen(led.name));
  }
}

void Screen::DrawPanel(HandsetSession& session, int x) {
  SimPlatform& sim = session.runner().platform();
  int y = kLcdTop;
  PutText(y, x, "Tray icon:");
  if (!sim.window.tray_present()) {
    PutText(y, x + 12, "none");
  } else if (sim.window.tray_icon() == 149) {
    PutText(y, x + 12, "ready", Color(kPairReady) | A_BOLD);
  } else {
    PutText(y, x + 12, "not ready", Color(kPairNotReady) | A_BOLD);
  }
  ++y;
  PutText(y++, x, std::string("Handset:   ") + (sim.handset.connected() ? "connected" : "closed"));
  std::string client = sim.world.voip.online ? "on line" : "off line";
  if (sim.voip.ringing()) client += ", ringing";
  if (sim.voip.in_call()) client += sim.voip.held() ? ", call held" : ", in a call";
  if (!sim.voip.number().empty()) client += ", number " + sim.voip.number();
  PutText(y++, x, "Client:    " + client);
  const KeyPresser& presser = session.presser();
  std::string keys = "tapped (released after 150 ms)";
  if (const auto held = presser.held()) {
    keys = HandsetKeyName(*held) + " held down (Space releases)";
  } else if (presser.hold_armed()) {
    keys = "the next key stays down";
  }
  PutText(y++, x, "Keys:      " + keys, presser.held() || presser.hold_armed() ? A_BOLD : 0);
  PutText(y++, x, "Directory: " + session.runner().directory());
}

int Screen::DrawHints(int bottom) {
  // The hint wraps at double blanks to as many lines as the width needs.
  std::vector<std::string> parts;
  const std::string hint = KeyHintText();
  std::size_t start = 0;
  while (start < hint.size()) {
    std::size_t end = hint.find("  ", start);
    if (end == std::string::npos) end = hint.size();
    parts.push_back(hint.substr(start, end - start));
    start = end + 2;
  }
  std::vector<std::string> lines(1);
  for (const std::string& part : parts) {
    if (!lines.back().empty() &&
        static_cast<int>(lines.back().size() + 2 + part.size()) > COLS - 2) {
      lines.emplace_back();
    }
    if (!lines.back().empty()) lines.back() += "  ";
    lines.back() += part;
  }
  const int first = bottom - static_cast<int>(lines.size()) + 1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    PutText(first + static_cast<int>(i), 1, lines[i], A_DIM);
  }
  return first;
}

void Screen::DrawLog(const LogBuffer& log, int top, int bottom) {
  if (bottom - top < 2) return;
  PutText(top, 1, "trace (t hides):", A_DIM);
  const auto& lines = log.lines();
  const int rows = bottom - top;
  const std::size_t count = lines.size();
  const std::size_t first = count > static_cast<std::size_t>(rows) ? count - rows : 0;
  int y = top + 1;
  for (std::size_t i = first; i < count && y <= bottom; ++i) PutText(y++, 3, lines[i], A_DIM);
}

void Screen::Draw(HandsetSession& session, const LogBuffer& log) {
  SimPlatform& sim = session.runner().platform();
  erase();
  PutText(0, 1, "MivoRun - Tr520 USB Internet Speakerphone (simulated handset)", A_BOLD);
  DrawLcd(sim);
  DrawPanel(session, kLcdLeft + kLcdColumns + 5);
  DrawLeds(sim, kLcdTop + 7);

  const std::string& message = session.message();
  const bool error = message.rfind("error:", 0) == 0;
  PutText(kLcdTop + 8, 1, message, error ? Color(kPairError) | A_BOLD : A_NORMAL);

  const int command_line = LINES - 1;
  const int hints_top = DrawHints(command_line - 1);
  if (session.log_visible()) DrawLog(log, kLcdTop + 10, hints_top - 2);

  if (session.command_open()) {
    PutText(command_line, 0, ":" + session.command_text(), A_BOLD);
    curs_set(1);
    move(command_line, std::min(COLS - 1, 1 + static_cast<int>(session.command_text().size())));
  } else {
    curs_set(0);
    PutText(command_line, 1, "Press : for a command (ring \"Alice\", finished, ...), q to quit",
            A_DIM);
  }
  refresh();
}

}  // namespace

bool InteractiveAvailable() {
  return true;
}

bool RunTerminal(HandsetSession& session, const LogBuffer& log, std::string* error) {
  Screen screen;
  if (!screen.Open(error)) return false;
  ScreenPacer pacer(session, log);
  using Clock = std::chrono::steady_clock;
  Clock::time_point last = Clock::now();
  std::int64_t carried_us = 0;
  while (!session.finished()) {
    if (g_interrupted) {
      g_interrupted = 0;
      session.Quit();
      break;
    }
    if (pacer.TakeRedraw(LINES, COLS)) screen.Draw(session, log);
    // Asleep until a key, a signal, a resize, or the next timer or key release is due.
    int ch;
    EventLoop& loop = session.runner().platform().loop;
    if (loop.watching()) {
      // A real VoIP client's socket is watched too: asleep until it or the keyboard speaks.
      loop.WaitReadable(pacer.WaitMs(), STDIN_FILENO);
      ch = screen.ReadKey(0);
    } else {
      ch = screen.ReadKey(pacer.WaitMs());
    }
    // The virtual clock follows the real one, to the millisecond.
    const Clock::time_point now = Clock::now();
    carried_us += std::chrono::duration_cast<std::chrono::microseconds>(now - last).count();
    last = now;
    session.Advance(carried_us / 1000);
    carried_us %= 1000;
    // Every key already typed (a paste, a fast typist) before the next drawing.
    while (ch != ERR && !session.finished()) {
      if (ch == KEY_RESIZE) pacer.Invalidate();
      session.HandleKey(Decode(ch));
      pacer.NoteInput();
      ch = screen.ReadKey(0);
    }
  }
  return true;
}

}  // namespace mivo::sim

#else  // without a terminal library: only the scripts run

namespace mivo::sim {

bool InteractiveAvailable() {
  return false;
}

bool RunTerminal(HandsetSession&, const LogBuffer&, std::string* error) {
  *error = "this build has no terminal library";
  return false;
}

}  // namespace mivo::sim

#endif
