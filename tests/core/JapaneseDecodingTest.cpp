// Japanese files whose first bytes mislead the detection, and JIS line ends.
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "decoding/CheckCCode.h"

using namespace varnopel;
using varnopel::test::TempDir;

namespace {

DecodedFile Read(const TempDir& dir, const std::string& bytes, int32_t& codePage) {
  std::string lineBreak;
  codePage = -1;
  return ReadTextFile(dir.write("in.txt", bytes), codePage, lineBreak);
}

}  // namespace

TEST(JapaneseDetection, AGuessThatGarblesTheFileGivesWayToOneThatReadsItCleanly) {
  struct Case {
    const char* name;
    std::string bytes;
    int32_t codePage;
    std::string text;  // UTF-8
  } cases[] = {
      // FB is EUC-JP's by the table, but FB FC is an IBM kanji of code page 932.
      {"Shift_JIS starting with IBM kanji", "\xFB\xFC\x8B\xB4\x97\x6C\r\n", cp::ShiftJis,
       "\xE9\xAB\x99\xE6\xA9\x8B\xE6\xA7\x98\r\n"},
      // 8F is Shift_JIS's by the table, but here it leads a 3-byte JIS X 0212 kanji.
      {"EUC-JP starting with a JIS X 0212 kanji", "\x8F\xB0\xA1\xA4\xCF\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xC7\xA4\xB9\n",
       cp::EucJp, "\xE4\xB8\x82\xE3\x81\xAF\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99\n"},
      // Read as Shift_JIS it is clean but private use (FD, FE); EUC-JP reads it whole.
      {"EUC-JP that Shift_JIS reads as private use", "\x8F\xB0\xA1\xA1\xFD\xA1\xFE\n", cp::EucJp,
       "\xE4\xB8\x82\xE2\x97\x8E\xE2\x97\x87\n"},
      // Both readings garble it: the table's answer stands, with U+FFFD.
      {"neither reads it cleanly", "\x82\xA0\x85\x40\xA1\n", cp::ShiftJis, "\xE3\x81\x82\xEF\xBF\xBD\xEF\xBD\xA1\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    int32_t codePage = 0;
    const DecodedFile file = Read(dir, c.bytes, codePage);
    EXPECT_EQ(codePage, c.codePage) << c.name;
    EXPECT_EQ(file.codePage, c.codePage) << c.name;
    EXPECT_EQ(file.text->view(), c.text) << c.name;
  }
}

TEST(JisDecoding, ALineEndEndsTheLineInAnyShiftState) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;  // UTF-8
  } cases[] = {
      {"odd byte of a kanji before LF", "\x1B$BF|K\nnext\n", "\xE6\x97\xA5\xEF\xBF\xBD\nnext\n"},
      {"8-bit byte before CR LF", "\x1B$BF|\xB1\r\nnext\r\n", "\xE6\x97\xA5\xEF\xBF\xBD\r\nnext\r\n"},
      {"katakana still shifted at the line end", "\x1B$BF|\x1B(I12\nab\n",
       "\xE6\x97\xA5\xEF\xBD\xB1\xEF\xBD\xB2\nab\n"},
      {"SO katakana not shifted back", "\x1B$BF|\x1B(B\x0E\x31\nab\n", "\xE6\x97\xA5\xEF\xBD\xB1\nab\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    int32_t codePage = 0;
    const DecodedFile file = Read(dir, c.bytes, codePage);
    EXPECT_EQ(codePage, cp::Jis) << c.name;
    EXPECT_EQ(file.text->view(), c.text) << c.name;
  }
}
