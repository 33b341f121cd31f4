#include <gtest/gtest.h>

#include <cstring>

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
