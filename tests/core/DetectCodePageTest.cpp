#include <gtest/gtest.h>

#include <string>

#include "decoding/CheckCCode.h"

using namespace varnopel;

namespace {

int32_t Detect(const std::string& bytes) {
  return DetectCodePage(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int32_t>(bytes.size()));
}

struct Case {
  const char* name;
  std::string bytes;
  int32_t expected;
};

const std::string kAscii = "plain text, nothing else\r\n";

}  // namespace

TEST(DetectCodePage, Table) {
  const Case cases[] = {
      {"empty", "", 0},
      {"one byte", std::string(1, '\0'), 1252},
      {"two zero bytes", std::string("\x00\x00", 2), 1252},
      {"two-byte UTF-16 mark", "\xFF\xFE", 1252},
      {"UTF-16 LE mark", "\xFF\xFE\x41", 1200},
      {"UTF-16 BE mark", std::string("\xFE\xFF\x00", 3), 1201},
      {"UTF-8 mark alone is undecided", "\xEF\xBB\xBF", 2},
      {"UTF-8 mark", "\xEF\xBB\xBF\x41", 65001},
      {"ASCII", kAscii, 1252},
      {"other escape sequences", "a\x1B(Bb\x1B$Cxyz", 1252},
      {"JIS", "ab\x1B$B\x30\x21\x1B(Bcd", 50220},
      {"JIS with at sign", "\x1B$@\x30\x21", 50220},
      {"JIS after undecided pairs", "\xA4\xA2\x1B$Bxx", 50220},
      {"JIS after a Shift_JIS lead byte is never reached", "\x82\xA0\x1B$Bxx", 932},
      {"zero before any decision",
       std::string("a\x00"
                   "bcdef",
                   7),
       0},
      {"FF before any decision",
       "ab\xFF"
       "cdef",
       0},
      {"zero in the last two positions is not examined", std::string("abc\x00", 4), 1252},
      {"control byte after a decision", std::string("\x82\xA0\x00zzzz", 7), 932},
      {"Shift_JIS hiragana", "\x82\xA0 and more text", 932},
      {"EUC-JP hiragana then ASCII", "\xA4\xA2 and more text", 2},
      {"EUC-JP second byte in F0-FE", "\xB0\xF0 and more", 20932},
      {"EUC-JP lead F0-FE", "\xF4\xA1 and more", 20932},
      {"halfwidth katakana pair", "\x8E\xB1 text", 2},
      {"8E then Shift_JIS trail", "\x8E\x40 text", 932},
      {"E0-EF then FD", "\xE5\xFD text", 20932},
      {"UTF-8 three-byte character", "\xE3\x81\x82 text", 65002},
      {"UTF-8 E0 A0 form", "\xE0\xA4\x85 text", 65002},
      {"UTF-8 two-byte character stays undecided", "caf\xC3\xA9 au lait", 2},
      {"UTF-8 four-byte character", "\xF0\x9F\x98\x80 smile", 20932},
      {"UTF-8 character in the last four bytes is not seen", "abcd\xE3\x81\x82z", 932},
      {"80 and A0 pass", "\x80\xA0 text", 1252},
  };
  for (const Case& c : cases) EXPECT_EQ(Detect(c.bytes), c.expected) << c.name;
}

TEST(DetectCodePage, ReadsNothingBeyondTheCount) {
  // The count, not the buffer, bounds the scan: the EUC byte lies outside.
  const std::string bytes = "abcdefgh\xF4\xA1";
  EXPECT_EQ(DetectCodePage(reinterpret_cast<const unsigned char*>(bytes.data()), 8), 1252);
}

TEST(CodePageName, Names) {
  const std::pair<int32_t, const char*> names[] = {
      {932, "SJIS"},   {1200, "UTF16LE"}, {1201, "UTF16BE"}, {1252, "ANSI"}, {20932, "EUCJP"}, {50220, "JIS"},
      {65000, "UTF7"}, {65001, "UTF8"},   {65002, "UTF8"},   {0, "Unknown"}, {2, "Unknown"},   {437, "Unknown"},
  };
  for (auto [code, name] : names) EXPECT_EQ(CodePageName(code), name) << code;
}
