#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "decoding/CheckCCode.h"
#include "workspace/LineList.h"

using namespace varnopel;
using varnopel::test::TempDir;

namespace {

std::string Repeat(char c, size_t n) { return std::string(n, c); }

struct ReadCase {
  const char* name;
  std::string bytes;
  int32_t codePage;
  const char* lineBreak;  // "keep" when the caller's value must stay
  std::string text;       // UTF-8, lines re-joined with the break
};

std::vector<ReadCase> ReadCases() {
  const std::string pad600 = Repeat('x', 600);
  return {
      {"empty file", "", 0, "keep", ""},
      {"not text",
       std::string("a\x00"
                   "bcdef",
                   7),
       0, "keep", ""},
      {"ASCII CR LF", "a\r\nb\r\n", 1252, "\r\n", "a\r\nb\r\n"},
      {"first end a lone LF, CR LF later", "a\nb\r\nc", 1252, "\n", "a\nb\r\nc\n"},
      {"first end a lone CR, ends with CR LF", "a\rb\r\n", 1252, "\r", "a\rb\r\n\r"},
      {"no break in the first 512 bytes", pad600 + "\nz\n", 1252, "\r\n", pad600 + "\r\nz\r\n"},
      {"CR at byte 512, LF at 513", Repeat('x', 511) + "\r\nz", 1252, "\r\n", Repeat('x', 511) + "\r\nz\r\n"},
      {"CR at byte 512, no LF after", Repeat('x', 511) + "\rz", 1252, "\r", Repeat('x', 511) + "\rz\r"},
      {"CR as the last byte", "ab\r", 1252, "\r", "ab\r"},
      {"consecutive breaks and U+0000 after a decision", std::string("\xE3\x81\x82\n\n\x00z\n", 8), 65002, "\n",
       std::string("\xE3\x81\x82\n\n\x00z\n", 8)},
      {"UTF-16 LE CR LF",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0b\0\r\0\n\0",
                   14),
       1200, "\r\n", "a\r\nb\r\n"},
      {"UTF-16 BE, pair, lone surrogate, odd byte", std::string("\xFE\xFF\xD8\x3D\xDE\x00\xD8\x00\x00\n\x00", 11), 1201,
       "\n", "\xF0\x9F\x98\x80\xED\xA0\x80\n"},
      {"UTF-16 LE CR then LF unit",
       std::string("\xFF\xFE"
                   "a\0\r\0b\0\n\0",
                   10),
       1200, "\r", "a\rb\n\r"},
      {"UTF-8 with mark", "\xEF\xBB\xBF\xE3\x81\x82\r\n", 65001, "\r\n", "\xE3\x81\x82\r\n"},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", 65002, "\r\n", ""},
      {"UTF-8 without mark", "\xE3\x81\x82\xE3\x81\x84\n", 65002, "\n", "\xE3\x81\x82\xE3\x81\x84\n"},
      {"Shift_JIS", "\x82\xA0\x82\xA2\r\n\xB1", 932, "\r\n", "\xE3\x81\x82\xE3\x81\x84\r\n\xEF\xBD\xB1\r\n"},
      {"EUC-JP undecided to the end", "\xA4\xA2\xA4\xA4\n", 20932, "\n", "\xE3\x81\x82\xE3\x81\x84\n"},
      {"undecided, settled as Shift_JIS after byte 512", "\xA4\xA2" + pad600 + "\x82\xA0\r\n", 932, "\r\n",
       "\xEF\xBD\xA4\xEF\xBD\xA2" + pad600 + "\xE3\x81\x82\r\n"},
      {"JIS with halfwidth katakana", "\x1B$B\x24\x22\x1B(I\x31\x1B(B\r\n", 50220, "\r\n",
       "\xE3\x81\x82\xEF\xBD\xB1\r\n"},
      {"accented UTF-8 is not taken for Japanese", "caf\xC3\xA9 au lait\n", 65002, "\n", "caf\xC3\xA9 au lait\n"},
      {"emoji UTF-8 is not taken for EUC-JP", "\xF0\x9F\x98\x80 smile\n", 65002, "\n", "\xF0\x9F\x98\x80 smile\n"},
      {"ANSI, high bytes after 512", pad600 + "\x81\x8D\x8F\x90\x9D\xE9\x80", 1252, "\r\n",
       pad600 + "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC3\xA9\xE2\x82\xAC\r\n"},
  };
}

}  // namespace

TEST(LoadTextFile, DecodesEveryEncodingAndLineBreak) {
  TempDir dir;
  int index = 0;
  for (const ReadCase& c : ReadCases()) {
    const std::string path = dir.write("f" + std::to_string(index++) + ".txt", c.bytes);
    int32_t codePage = -1;
    std::string lineBreak = "keep";
    const std::string text = LoadTextFile(path, codePage, lineBreak);
    EXPECT_EQ(codePage, c.codePage) << c.name;
    EXPECT_EQ(lineBreak, c.lineBreak) << c.name;
    EXPECT_EQ(text, c.text) << c.name;

    // The line list cuts the decoded text as the callers cut this text.
    LineList list;
    int32_t cp2 = 0;
    std::string lb2;
    DecodedFile file = ReadTextFile(path, cp2, lb2);
    list.appendText(file.text, file.lineBreak);
    const std::vector<std::string> expected = SplitTextLines(text);
    ASSERT_EQ(list.count(), expected.size()) << c.name;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list[i], expected[i]) << c.name << " line " << i;
  }
}

TEST(LoadTextFile, FailuresKeepOrWriteTheOutputs) {
  TempDir dir;
  struct Failure {
    const char* name;
    std::string path;
    int32_t codePage;  // after the failure
    const char* lineBreak;
  } failures[] = {
      {"missing file", (dir.path() / "missing.txt").string(), -1, "keep"},
      {"folder", dir.path().string(), -1, "keep"},
      {"single byte after UTF-16 mark", dir.write("odd.txt", "\xFF\xFE\x41"), 1200, "\r\n"},
      {"invalid UTF-8 after byte 512", dir.write("bad.txt", "\xE3\x81\x82\n" + Repeat('x', 600) + "\xC3("), 65002,
       "\n"},
      {"invalid UTF-8 after a mark",
       dir.write("badbom.txt",
                 "\xEF\xBB\xBF"
                 "ab\xFF\n"),
       65001, "\n"},
  };
  for (const Failure& f : failures) {
    int32_t codePage = -1;
    std::string lineBreak = "keep";
    EXPECT_THROW(LoadTextFile(f.path, codePage, lineBreak), TextFileError) << f.name;
    EXPECT_EQ(codePage, f.codePage) << f.name;
    EXPECT_EQ(lineBreak, f.lineBreak) << f.name;
  }
}

TEST(LoadTextFile, IdentityDecodingKeepsTheFileBytes) {
  // ASCII read as ANSI and valid UTF-8 are used as read: the text is the
  // file's own bytes, byte-order mark left out.
  TempDir dir;
  for (std::string bytes : {std::string("abc\r\ndef\r\n"), std::string("\xEF\xBB\xBF\xE3\x81\x82\n")}) {
    int32_t codePage = 0;
    std::string lineBreak;
    DecodedFile file = ReadTextFile(dir.write("id.txt", bytes), codePage, lineBreak);
    EXPECT_EQ(file.text->view(), bytes.substr(bytes[0] == '\xEF' ? 3 : 0));
  }
}

TEST(SplitTextLines, Rules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTextLines(""), V{});
  EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), (V{"a", "", "b"}));  // LF CR ends two lines
  EXPECT_EQ(SplitTextLines("a\n"), V{"a"});
  EXPECT_EQ(SplitTextLines("\n\n"), (V{"", ""}));
  EXPECT_EQ(SplitTextLines(std::string("a\0b", 3)), V{std::string("a\0b", 3)});
  // Long enough for the vector scan, with breaks on both sides of a 16-byte edge.
  const std::string longer = Repeat('a', 15) + "\r\n" + Repeat('b', 31) + "\n" + Repeat('c', 40);
  EXPECT_EQ(SplitTextLines(longer), (V{Repeat('a', 15), Repeat('b', 31), Repeat('c', 40)}));
}
