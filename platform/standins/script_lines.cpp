#include "platform/standins/script_lines.h"

#include <exception>
#include <utility>
#include <vector>

#include "platform/sim/event_lines.h"
#include "platform/sim/world_script.h"
#include "platform/trace/trace_text.h"

namespace mivo::standins {

namespace {

// How the observations of the handset are written.
const char* ObservationUsage(const std::string& name) {
  if (name == "lcd") return "lcd";
  if (name == "leds") return "leds";
  return nullptr;
}

}  // namespace

LPARAM KeptTexts::Keep(const std::string& bytes) {
  texts_.push_back(bytes);
  if (texts_.size() > kMaxKept) texts_.pop_front();
  return reinterpret_cast<LPARAM>(texts_.back().c_str());
}

bool RunScriptLine(const std::string& line,
                   const std::function<void(const sim::ScriptCommand&)>& run, std::string* error) {
  try {
    if (sim::IsBlankOrComment(line)) return true;
    std::vector<sim::Word> words = sim::SplitWords(line);
    const sim::Word& first = words.front();
    const bool named = !first.quoted && !first.is_option;
    const char* usage = nullptr;
    if (named) {
      usage = sim::DeviceEventUsage(first.text);
      if (usage == nullptr) usage = sim::WorldCommandUsage(first.text);
      if (usage == nullptr) usage = ObservationUsage(first.text);
    }
    if (usage == nullptr) throw sim::ScriptError("unknown command " + trace::Quote(first.text));
    std::vector<sim::Word> args(std::make_move_iterator(words.begin() + 1),
                                std::make_move_iterator(words.end()));
    run(sim::ScriptCommand{first.text, std::move(args), usage});
    return true;
  } catch (const std::exception& e) {
    if (error != nullptr) *error = e.what();
    return false;
  }
}

void NotHere(const sim::ScriptCommand& command, const char* stand_in) {
  throw sim::ScriptError(command.name + " is not a line of the " + stand_in);
}

}  // namespace mivo::standins
