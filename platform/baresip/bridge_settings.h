// Where the baresip bridge finds baresip, and how it completes numbers: from a small settings
// file of KEY=VALUE lines ('#' starts a comment) and from the command line's HOST:PORT.
//
//   address=127.0.0.1:4444    baresip's control interface (ctrl_tcp_listen)
//   domain=sip.example.org    a bare number N is called as sip:N@DOMAIN (empty: baresip's own
//                             account completes it)
//   start=1                   start a baresip of our own when none answers at the address
//   sip=127.0.0.1:5060        the SIP address of the started one
//   user=mivorun              the account user of the started one
//   contact="Alice" <sip:alice@example.org>   a contact of the started one (repeat)
//   answer_ms=1500            the longest wait for an answer to a request
//   program=baresip           the program to start
#pragma once

#include <string>

#include "platform/baresip/baresip_instance.h"

namespace mivo::baresip {

struct BridgeSettings {
  std::string host = "127.0.0.1";
  int port = 4444;
  std::string domain;
  bool start = false;
  InstanceConfig instance;
  int connect_timeout_ms = 1000;
  int answer_timeout_ms = 1500;
  // How long a started baresip may take before its control port answers.
  int start_timeout_ms = 5000;
};

// Reads "HOST:PORT" (or ":PORT", or "HOST") into host and port; false for anything else.
bool ParseAddress(const std::string& text, std::string* host, int* port);

// Applies the lines of a settings file; false with *error ("line N: ...") at the first bad
// line, the lines before it kept.
bool ParseSettings(const std::string& text, BridgeSettings* settings, std::string* error);

}  // namespace mivo::baresip
