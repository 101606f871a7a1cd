#include "bench/bench_rig.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace mivo::bench {

bool PrebuiltBookClient::fGetFullPhoneBook(const std::uint8_t** block) {
  if (block == nullptr) return false;
  // The base keeps its block until its next phone-book fetch, which never comes.
  if (book_ == nullptr) SimVoipClient::fGetFullPhoneBook(&book_);
  *block = book_;
  return true;
}

const char* ShapeName(BookShape shape) {
  switch (shape) {
    case BookShape::kSorted:
      return "sorted";
    case BookShape::kReversed:
      return "reversed";
    case BookShape::kEqual:
      return "equal";
    case BookShape::kCaseEqual:
      return "case_equal";
    case BookShape::kRandom:
      return "random";
    case BookShape::kLongNames:
      return "long_unterminated";
  }
  return "?";
}

std::vector<sim::SimContact> MakeBook(BookShape shape, int count, bool mixed_status) {
  std::vector<sim::SimContact> book(static_cast<std::size_t>(count));
  std::mt19937 rng(2026);
  char text[80];
  for (int i = 0; i < count; ++i) {
    sim::SimContact& c = book[static_cast<std::size_t>(i)];
    std::snprintf(text, sizeof text, "user%05d", i);
    c.handle = text;
    c.status = mixed_status && i % 3 == 0 ? 0 : 1;
    switch (shape) {
      case BookShape::kSorted:
        std::snprintf(text, sizeof text, "Contact %05d", i);
        c.name = text;
        break;
      case BookShape::kReversed:
        std::snprintf(text, sizeof text, "Contact %05d", count - 1 - i);
        c.name = text;
        break;
      case BookShape::kEqual:
        c.name = "Contact";
        break;
      case BookShape::kCaseEqual: {
        static const char* const kCases[] = {"contact", "CONTACT", "Contact", "cOnTaCt"};
        c.name = kCases[i % 4];
        break;
      }
      case BookShape::kRandom: {
        // A first and a last name of a few letters; small alphabets make equal names.
        std::string name;
        for (int part = 0; part < 2; ++part) {
          const int length = 3 + static_cast<int>(rng() % 6);
          for (int k = 0; k < length; ++k) {
            const char letter = static_cast<char>('a' + rng() % 6);
            name += k == 0 && rng() % 2 ? static_cast<char>(letter - 'a' + 'A') : letter;
          }
          if (part == 0) name += ' ';
        }
        c.name = name;
        break;
      }
      case BookShape::kLongNames:
        // The last byte tells them apart: 0x20 + (count-1-i) % 0x5F, so they descend.
        c.name = std::string(63, 'N') + static_cast<char>(0x20 + (count - 1 - i) % 0x5F);
        break;
    }
  }
  return book;
}

namespace {

std::string MakeTempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "mivo-bench-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) return std::filesystem::temp_directory_path().string();
  return templ;
}

void AddCalls(sim::SimWorld& world, int calls) {
  char id[16], handle[32], name[32];
  for (int i = 0; i < calls; ++i) {
    std::snprintf(id, sizeof id, "%d", 1000 + i);
    std::snprintf(handle, sizeof handle, "user%05d", i % 500);
    std::snprintf(name, sizeof name, "Caller %d", i);
    sim::SimCall call;
    call.id = id;
    call.handle = handle;
    call.name = name;
    call.type = i % 4;                 // incoming and outgoing alike
    call.status = i % 5 == 0 ? 8 : 0;  // every fifth call missed
    call.time = "2026/01/05 09:15:00AM";
    world.voip.history.push_back(call);
  }
}

}  // namespace

Rig::Rig(std::vector<sim::SimContact> book, int calls, int voicemails)
    : dir_(MakeTempDir()), sim_(out_), voip_(sim_), app_(sim_.traced_handset, voip_, sim_.host()) {
  sim_.trace.set_enabled(false);
  sim_.world.pc.start_directory = dir_;
  sim_.world.pc.mixers.push_back({"Speakers (PC)", 32768});
  sim_.world.pc.mixers.push_back({"USB Audio Device", 32768});
  sim_.world.handset.plugged = true;
  sim_.world.voip.contacts = std::move(book);
  AddCalls(sim_.world, calls);
  for (int i = 0; i < voicemails; ++i) {
    sim_.world.voip.voicemails.push_back(
        {"vm" + std::to_string(i), "user0000" + std::to_string(i), "Voice " + std::to_string(i)});
  }
  std::error_code ignored;
  std::filesystem::copy_file(std::string(MIVO_RES_DIR) + "/lang.ini", dir_ + "/lang.ini", ignored);
}

Rig::~Rig() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void Rig::Run(const std::function<void(ControllerDialog&)>& body) {
  sim_.window.set_modal_driver([&] {
    ControllerDialog* c = app_.main_window();
    if (c == nullptr) return;
    Post(MSG_LANGUAGE, 0, 9);
    Post(MSG_VOIP_ONLINE);
    Wait(200);
    body(*c);
  });
  app_.InitInstance();
  sim_.window.set_modal_driver(nullptr);
}

void Rig::Post(UINT message, WPARAM wparam, LPARAM lparam) {
  sim_.loop.Post(message, wparam, lparam);
  sim_.loop.Pump();
}

void Rig::Press(int key) {
  Post(MSG_HANDSET_KEY, 1, key);
  Post(MSG_HANDSET_KEY, 1, KEY_RELEASE);
}

}  // namespace mivo::bench
