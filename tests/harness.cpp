#include "tests/harness.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace mivo::test {

namespace {
std::string MakeTempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "mivo-test-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) return std::filesystem::temp_directory_path().string();
  return templ;
}
}  // namespace

Harness::Harness(VoipBridge* bridge)
    : dir_(MakeTempDir()),
      sim_(out_),
      app_(sim_.traced_handset, bridge != nullptr ? *bridge : sim_.traced_voip, sim_.host()) {
  sim_.world.pc.start_directory = dir_;
}

Harness::Harness(const sim::SimPlatform::BridgeFactory& make_bridge)
    : dir_(MakeTempDir()),
      sim_(out_, make_bridge),
      app_(sim_.traced_handset, sim_.traced_voip, sim_.host()) {
  sim_.world.pc.start_directory = dir_;
}

Harness::~Harness() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void Harness::Run(const std::function<void(ControllerDialog&)>& body) {
  sim_.window.set_modal_driver([&] {
    if (app_.main_window() != nullptr) body(*app_.main_window());
  });
  app_.InitInstance();
  sim_.window.set_modal_driver(nullptr);
}

void Harness::Post(UINT message, WPARAM wparam, LPARAM lparam) {
  sim_.loop.Post(message, wparam, lparam);
  sim_.loop.Pump();
}

void Harness::Key(int key) {
  Post(MSG_HANDSET_KEY, 1, key);
}

void Harness::Press(int key, int ms) {
  Key(key);
  Wait(ms);
  Key(KEY_RELEASE);
}

void Harness::Wait(int ms) {
  sim_.loop.Advance(ms);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Harness::Lines() const {
  return SplitLines(out_.str());
}

void Harness::ClearTrace() {
  out_.str("");
  out_.clear();
}

int Harness::Find(const std::string& line) const {
  const std::vector<std::string> lines = Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == line) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::string> Harness::Lcd() const {
  std::vector<std::string> rows;
  for (int r = 3; r >= 0; --r) rows.push_back(sim_.handset.RowLine(r));
  return rows;
}

void Harness::WriteFile(const std::string& name, const std::string& content) {
  std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
}

std::string Harness::ReadFile(const std::string& name) const {
  std::ifstream in(dir_ + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Harness::FileExists(const std::string& name) const {
  return std::filesystem::exists(dir_ + "/" + name);
}

}  // namespace mivo::test
