#include <gtest/gtest.h>

#include <cstring>

#include "decoding/CheckCCode.h"
#include "workspace/LineList.h"

using namespace varnopel;

namespace {

std::shared_ptr<const TextChunk> Chunk(const std::string& text) {
  ByteBuffer bytes = AllocateBytes(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  return std::make_shared<TextChunk>(std::move(bytes), 0, text.size());
}

}  // namespace

TEST(LineList, AppendsFilesInOrderAndClears) {
  LineList list;
  auto first = Chunk("a\r\nb\r\n");
  const char* firstBytes = first->view().data();
  EXPECT_EQ(list.appendText(first, "\r\n"), 2u);
  EXPECT_EQ(list.appendText(Chunk("c\rd\n"), "\r"), 3u);  // "\r" text ending in LF: one more, empty, line
  EXPECT_EQ(list.appendText(nullptr, "\r\n"), 0u);
  ASSERT_EQ(list.count(), 5u);
  const char* expected[] = {"a", "b", "c", "d", ""};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(list[i], expected[i]);
  // Lines point into the chunk: no copy of the text.
  EXPECT_EQ(list[1].data(), firstBytes + 3);

  list.clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.appendText(Chunk("x"), "\r\n"), 1u);
  EXPECT_EQ(list[0], "x");
}

TEST(LineList, CountsLineEndsInLongTexts) {
  // Long enough for the byte counters to be summed more than once, with
  // CR LF pairs across the blocks' edges; the count is what ForEachLine
  // finds, less the last line.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "ab\r\n\n\r"[i % 7 % 6];
  for (size_t cut :
       {size_t{0}, size_t{15}, size_t{16}, size_t{17}, size_t{4080}, size_t{4081}, size_t{4097}, text.size()}) {
    const std::string_view part(text.data(), cut);
    size_t ends = 0;
    ForEachLine(part, "\r\n", [&](size_t offset, size_t length) { ends += offset + length < part.size(); });
    EXPECT_EQ(CountLineEnds(part), ends) << cut;
  }
  EXPECT_EQ(CountLineEnds(std::string(70000, '\n')), 70000u);
  EXPECT_EQ(CountLineEnds("\r\n\r\n\r"), 3u);
}
