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

TEST(LineList, CountsLineEndBytesInLongTexts) {
  // Long enough for the byte counters to be summed more than once.
  std::string text;
  size_t expected = 0;
  for (int i = 0; i < 20000; ++i) {
    const char c = "ab\r\n"[i % 7 % 4];
    text += c;
    expected += c == '\r' || c == '\n';
  }
  for (size_t cut : {size_t{0}, size_t{15}, size_t{16}, size_t{4080}, size_t{4081}, text.size()}) {
    const std::string_view part(text.data(), cut);
    size_t naive = 0;
    for (char c : part) naive += c == '\r' || c == '\n';
    EXPECT_EQ(CountLineEndBytes(part), naive) << cut;
  }
  EXPECT_EQ(CountLineEndBytes(text), expected);
  EXPECT_EQ(CountLineEndBytes(std::string(70000, '\n')), 70000u);
}
