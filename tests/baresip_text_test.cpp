// What the baresip bridge reads: netstrings as they come off a socket (whole, split, several
// at once, and broken in every way that must not cost memory or hang), the plain-text contact
// list, SIP address keys, and the settings file.
#ifdef MIVO_HAVE_BARESIP

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/baresip/bridge_settings.h"
#include "platform/baresip/contact_text.h"
#include "platform/baresip/netstring.h"

namespace mivo::baresip {
namespace {

std::vector<std::string> All(NetstringReader& reader) {
  std::vector<std::string> out;
  for (std::string p; reader.Next(&p);) out.push_back(p);
  return out;
}

TEST(Netstring, FramesSplitAnywhereOrBunchedComeOutWhole) {
  const std::string stream = Netstring("{\"a\":1}") + Netstring("") + Netstring("xyz");
  EXPECT_EQ(Netstring("hello"), "5:hello,");
  // Byte by byte.
  NetstringReader slow;
  std::vector<std::string> got;
  for (const char c : stream) {
    ASSERT_TRUE(slow.Feed(std::string(1, c)));
    for (const std::string& p : All(slow)) got.push_back(p);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"{\"a\":1}", "", "xyz"}));
  // All at once.
  NetstringReader fast;
  ASSERT_TRUE(fast.Feed(stream));
  EXPECT_EQ(All(fast), got);
  EXPECT_EQ(fast.buffered(), 0u);
}

TEST(Netstring, BrokenStreamsAreRefusedAtOnce) {
  const std::vector<std::string> streams = {"x5:hello,", ":hello,", "5:hello;", "-1:a,",
                                            "5 :hello,"};
  for (const std::string& bad : streams) {
    NetstringReader reader;
    reader.Feed(bad);
    std::string p;
    EXPECT_FALSE(reader.Next(&p)) << bad;
    EXPECT_TRUE(reader.broken()) << bad;
    EXPECT_FALSE(reader.Feed("5:hello,")) << "a broken stream stays broken";
  }
}

TEST(Netstring, OverLongLengthIsRefusedBeforeThePayloadArrives) {
  NetstringReader reader(1000);
  EXPECT_TRUE(reader.Feed("1000:"));  // exactly the bound is fine
  NetstringReader longer(1000);
  EXPECT_FALSE(longer.Feed("1001:"));
  EXPECT_NE(longer.error().find("longer than 1000"), std::string::npos);
  // A length with endless digits is refused after a few of them, not buffered.
  NetstringReader digits(1000);
  EXPECT_FALSE(digits.Feed(std::string(100, '9')));
  EXPECT_LE(digits.buffered(), 100u);
}

TEST(ContactText, ParsesBaresipsListInItsOrder) {
  const std::string answer =
      "\n--- Contacts (5) ---\n"
      "> Bob Far <sip:b@127.0.0.1:15170>\n"
      "  \"Alice Smith\" <sip:alice@example.com>;presence=p2p\n"
      "  <sip:noname@example.com>\n"
      "  broken line without address\n"
      "  Long <sip:" +
      std::string(70, 'x') +
      "@example.com>\n"
      "\n";
  const auto contacts = ParseContacts(answer);
  ASSERT_EQ(contacts.size(), 3u);
  EXPECT_EQ(contacts[0].name, "Bob Far");
  EXPECT_EQ(contacts[0].handle, "sip:b@127.0.0.1:15170");
  EXPECT_EQ(contacts[0].status, 1);
  EXPECT_EQ(contacts[0].profile1, "UNKNOWN");
  EXPECT_EQ(contacts[1].name, "Alice Smith");
  EXPECT_EQ(contacts[1].handle, "sip:alice@example.com");
  EXPECT_EQ(contacts[2].name, "sip:noname@example.com") << "no name: the address stands in";
}

TEST(ContactText, ManyContactsAreCutAtTheControllersLimit) {
  std::string answer;
  for (int i = 0; i < 600; ++i) answer += "  C" + std::to_string(i) + " <sip:c@x>\n";
  EXPECT_EQ(ParseContacts(answer).size(), kMaxContacts);
}

TEST(ContactText, AddressKeysIgnoreSchemeParametersAndBrackets) {
  EXPECT_EQ(AddressKey("sip:a@127.0.0.1:5060"), "a@127.0.0.1:5060");
  EXPECT_EQ(AddressKey("\"A\" <sip:a@host;transport=tcp>"), "a@host");
  EXPECT_EQ(AddressKey("sip:x@h;transport=tcp"), "x@h");
  EXPECT_EQ(AddressKey("a@host"), "a@host");
}

TEST(BridgeSettings, FileAndAddress) {
  BridgeSettings s;
  std::string error;
  ASSERT_TRUE(
      ParseSettings("# mine\naddress = 127.0.0.1:5555\ndomain=sip.example.org\n"
                    "start=1\nsip=:6000\nuser=200\n"
                    "contact=\"Bob\" <sip:b@127.0.0.1>\nanswer_ms=300\n",
                    &s, &error))
      << error;
  EXPECT_EQ(s.host, "127.0.0.1");
  EXPECT_EQ(s.port, 5555);
  EXPECT_EQ(s.domain, "sip.example.org");
  EXPECT_TRUE(s.start);
  EXPECT_EQ(s.instance.sip_port, 6000);
  EXPECT_EQ(s.instance.host, "127.0.0.1");
  EXPECT_EQ(s.instance.user, "200");
  ASSERT_EQ(s.instance.contacts.size(), 1u);
  EXPECT_EQ(s.answer_timeout_ms, 300);

  BridgeSettings bad;
  EXPECT_FALSE(ParseSettings("domain=x\nport=5\n", &bad, &error));
  EXPECT_EQ(error, "line 2: unknown setting 'port'");
  EXPECT_EQ(bad.domain, "x") << "the lines before the bad one are kept";
  EXPECT_FALSE(ParseSettings("address=h:99999\n", &bad, &error));
  EXPECT_FALSE(ParseSettings("answer_ms=0\n", &bad, &error));
  EXPECT_FALSE(ParseSettings("user=a@b\n", &bad, &error));

  std::string host = "127.0.0.1";
  int port = 4444;
  EXPECT_TRUE(ParseAddress("localhost:4000", &host, &port));
  EXPECT_EQ(host, "localhost");
  EXPECT_EQ(port, 4000);
  EXPECT_FALSE(ParseAddress("h:x", &host, &port));
  EXPECT_FALSE(ParseAddress("a b:1", &host, &port));
}

}  // namespace
}  // namespace mivo::baresip

#endif
