// The interactive session: key strokes, the command line and the trace log.
#include "sim/interactive_session.h"

#include "platform/sim/script_parser.h"

namespace mivo::sim {

namespace {

constexpr std::size_t kLongestCommand = 400;
constexpr std::size_t kKeptCommands = 50;

// The first word of a command line, or "" (a line the parser will refuse anyway).
std::string FirstWord(const std::string& line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  const std::size_t end = line.find_first_of(" \t", start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

// ---- Log ----

bool LogBuffer::OpenFile(const std::string& path) {
  file_.open(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(file_);
}

void LogBuffer::Put(char c) {
  if (file_.is_open()) file_.put(c);
  if (c == '\n') {
    lines_.push_back(std::move(partial_));
    partial_.clear();
    if (lines_.size() > kKeptLines) lines_.pop_front();
    return;
  }
  if (partial_.size() < kLongestLine) partial_ += c;
}

LogBuffer::int_type LogBuffer::overflow(int_type ch) {
  if (!traits_type::eq_int_type(ch, traits_type::eof())) Put(traits_type::to_char_type(ch));
  return traits_type::not_eof(ch);
}

std::streamsize LogBuffer::xsputn(const char* s, std::streamsize n) {
  for (std::streamsize i = 0; i < n; ++i) Put(s[i]);
  return n;
}

int LogBuffer::sync() {
  if (file_.is_open()) file_.flush();
  return 0;
}

// ---- Session ----

HandsetSession::HandsetSession(ScriptRunner& runner)
    : runner_(runner), presser_(runner.platform().loop) {}

void HandsetSession::Advance(std::int64_t ms) {
  if (finished() || ms <= 0) return;
  runner_.platform().loop.Advance(ms);
}

void HandsetSession::Quit() {
  if (quitting_ || finished()) return;
  quitting_ = true;
  presser_.ReleaseNow();
  if (!finished()) RunCommand("menu close");
}

std::string HandsetSession::RunCommand(const std::string& line) {
  const std::string name = FirstWord(line);
  if (name.empty()) return {};
  if (name == "file" || name == "file-crlf") {
    return "error: " + name + " takes its lines from a script; use --world FILE";
  }
  try {
    runner_.ExecuteCommand(line);
  } catch (const ScriptError& e) {
    return std::string("error: ") + e.what();
  } catch (const std::exception& e) {
    return std::string("error: ") + e.what();
  }
  return "ok: " + line;
}

void HandsetSession::HandleKey(const TermKey& key) {
  if (finished()) return;
  if (command_open_) {
    HandleCommandKey(key);
    return;
  }
  const KeyAction action = ActionOfKey(key);
  switch (action.kind) {
    case KeyAction::Kind::kHandsetKey: {
      const bool hold = presser_.hold_armed();
      presser_.Press(action.code);
      message_ = (hold ? "holding " : "") + HandsetKeyName(action.code);
      if (hold) message_ += " (Space releases)";
      break;
    }
    case KeyAction::Kind::kToggleHold:
      if (const auto held = presser_.held()) {
        presser_.ToggleHold();
        message_ = "released " + HandsetKeyName(*held);
      } else {
        presser_.ToggleHold();
        message_ = presser_.hold_armed() ? "hold: the next key stays down" : "";
      }
      break;
    case KeyAction::Kind::kCommandLine:
      command_open_ = true;
      command_text_.clear();
      history_pos_ = history_.size();
      break;
    case KeyAction::Kind::kQuit:
      Quit();
      break;
    case KeyAction::Kind::kToggleLog:
      log_visible_ = !log_visible_;
      break;
    case KeyAction::Kind::kNone:
      break;
  }
}

void HandsetSession::HandleCommandKey(const TermKey& key) {
  switch (key.kind) {
    case TermKey::Kind::kChar:
      if (command_text_.size() < kLongestCommand) command_text_ += key.ch;
      break;
    case TermKey::Kind::kBackspace:
      if (command_text_.empty()) {
        command_open_ = false;  // backspace over the ':' leaves, as in vi
      } else {
        command_text_.pop_back();
      }
      break;
    case TermKey::Kind::kEscape:
      command_open_ = false;
      break;
    case TermKey::Kind::kInterrupt:
      command_open_ = false;
      Quit();
      break;
    case TermKey::Kind::kUp:
      if (history_pos_ > 0) command_text_ = history_[--history_pos_];
      break;
    case TermKey::Kind::kDown:
      if (history_pos_ < history_.size()) ++history_pos_;
      command_text_ = history_pos_ < history_.size() ? history_[history_pos_] : "";
      break;
    case TermKey::Kind::kEnter: {
      command_open_ = false;
      const std::string line = command_text_;
      if (FirstWord(line).empty()) break;
      if (history_.empty() || history_.back() != line) history_.push_back(line);
      if (history_.size() > kKeptCommands) history_.erase(history_.begin());
      message_ = RunCommand(line);
      break;
    }
    default:
      break;
  }
}

}  // namespace mivo::sim
