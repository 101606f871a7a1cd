#include "platform/baresip/bridge_settings.h"

#include <charconv>
#include <sstream>

#include "core/text.h"

namespace mivo::baresip {

namespace {

bool ParseInt(const std::string& text, int low, int high, int* value) {
  int v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high) return false;
  *value = v;
  return true;
}

bool PlainText(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  }
  return !text.empty();
}

}  // namespace

bool ParseAddress(const std::string& text, std::string* host, int* port) {
  const std::size_t colon = text.rfind(':');
  std::string h = colon == std::string::npos ? text : text.substr(0, colon);
  int p = *port;
  if (colon != std::string::npos && !ParseInt(text.substr(colon + 1), 1, 65535, &p)) {
    return false;
  }
  if (h.empty()) h = *host;
  if (!PlainText(h) || h.size() > 255) return false;
  *host = h;
  *port = p;
  return true;
}

bool ParseSettings(const std::string& text, BridgeSettings* s, std::string* error) {
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    line = TrimBlanks(line);
    if (line.empty() || line[0] == '#') continue;
    const std::size_t eq = line.find('=');
    const std::string key = eq == std::string::npos ? line : TrimBlanks(line.substr(0, eq));
    const std::string value = eq == std::string::npos ? "" : TrimBlanks(line.substr(eq + 1));
    bool ok = eq != std::string::npos;
    if (!ok) {
    } else if (key == "address") {
      ok = ParseAddress(value, &s->host, &s->port);
    } else if (key == "domain") {
      ok = value.empty() || PlainText(value);
      s->domain = value;
    } else if (key == "start") {
      ok = value == "0" || value == "1";
      s->start = value == "1";
    } else if (key == "sip") {
      ok = ParseAddress(value, &s->instance.host, &s->instance.sip_port);
    } else if (key == "user") {
      ok = PlainText(value) && value.find_first_of("@:<>;") == std::string::npos;
      if (ok) s->instance.user = value;
    } else if (key == "contact") {
      ok = value.find('<') != std::string::npos;
      if (ok) s->instance.contacts.push_back(value);
    } else if (key == "answer_ms") {
      ok = ParseInt(value, 10, 60000, &s->answer_timeout_ms);
    } else if (key == "program") {
      ok = !value.empty();
      s->instance.program = value;
    } else {
      *error = "line " + std::to_string(number) + ": unknown setting '" + key + "'";
      return false;
    }
    if (!ok) {
      *error = "line " + std::to_string(number) + ": bad value for '" + key + "'";
      return false;
    }
  }
  return true;
}

}  // namespace mivo::baresip
