// The number a VoIP client keeps while the user types it on the handset, and what each key
// sent with fSendKey does to it: digits, '*' and '#' append (at most kNumberBufferSize
// characters); CANCEL drops the last character; '0' held turns that '0' into '+'; CALL hands
// the number over for a call (or an answer) and forgets it; END CALL forgets it. During a call
// a digit key is a tone and the number stays as it is. Every client shares these rules; what a
// call or a tone means is the client's own business.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "core/constants.h"
#include "platform/voip_bridge.h"

namespace mivo::sim {

struct NumberKeyOutcome {
  enum class Kind {
    kNumber,  // the number changed (or not); nothing else to do
    kTone,    // a digit key during a call: send `tone`
    kCall,    // CALL: answer the ringing call, or call `text` when it is not empty
    kEnd,     // END CALL: end the call or the ringing
  };
  Kind kind = Kind::kNumber;
  char tone = 0;
  // What goes back to the caller's buffer: the number after the key (for CALL the number that
  // was called, already forgotten by the entry).
  std::string text;
};

class NumberEntry {
 public:
  const std::string& number() const { return number_; }

  // The character a number key stands for, or 0 for any other key.
  static char KeyChar(int key) {
    if (key >= KEY_1 && key <= KEY_9) return static_cast<char>('1' + (key - KEY_1));
    if (key == KEY_0) return '0';
    if (key == KEY_STAR) return '*';
    if (key == KEY_HASH) return '#';
    return 0;
  }

  NumberKeyOutcome Key(int key, int long_press, bool in_call) {
    NumberKeyOutcome out;
    const char c = KeyChar(key);
    if (c != 0) {
      if (in_call) {
        out.kind = NumberKeyOutcome::Kind::kTone;
        out.tone = c;
      } else if (key == KEY_0 && long_press == 1) {
        if (!number_.empty() && number_.back() == '0') number_.back() = '+';
      } else if (number_.size() < static_cast<std::size_t>(kNumberBufferSize)) {
        number_ += c;
      }
      out.text = number_;
    } else if (key == KEY_CANCEL) {
      if (!number_.empty()) number_.pop_back();
      out.text = number_;
    } else if (key == KEY_CALL) {
      out.kind = NumberKeyOutcome::Kind::kCall;
      out.text = number_;
      number_.clear();
    } else if (key == KEY_END_CALL) {
      out.kind = NumberKeyOutcome::Kind::kEnd;
      number_.clear();
    } else {
      out.text = number_;
    }
    return out;
  }

  // Writes `text` back as fSendKey does, whatever the key: a full buffer carries no
  // terminator, a shorter number is followed by zeros up to the buffer's end; the length is
  // the text's.
  static void WriteBack(const std::string& text, char* number, int* length) {
    if (number != nullptr) {
      const std::size_t n = std::min(text.size(), static_cast<std::size_t>(kNumberBufferSize));
      std::fill(number, number + kNumberBufferSize, '\0');
      std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), number);
    }
    if (length != nullptr) *length = static_cast<int>(text.size());
  }

 private:
  std::string number_;
};

}  // namespace mivo::sim
