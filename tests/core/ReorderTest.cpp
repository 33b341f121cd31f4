#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "workspace/Compare.h"
#include "workspace/Reorder.h"
#include "workspace/SortList.h"

using namespace varnopel;

namespace {

LineList Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  ByteBuffer bytes = AllocateBytes(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  LineList list;
  list.appendText(std::make_shared<TextChunk>(std::move(bytes), 0, text.size()), "\n");
  return list;
}

std::vector<std::string> Strings(const LineList& list) {
  std::vector<std::string> out;
  for (size_t i = 0; i < list.count(); ++i) out.emplace_back(list[i]);
  return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SortLines, EqualRankingLinesEndWhereTheQuicksortPutsThem) {
  struct Case {
    V input;
    SortOrder order;
    bool descending;
    V expected;
  } cases[] = {
      {{"a10", "a2", "a1"}, SortOrder::Numeric, false, {"a1", "a2", "a10"}},
      {{"a10", "a2", "a1"}, SortOrder::Numeric, true, {"a10", "a2", "a1"}},
      {{"a10", "a2", "a1"}, SortOrder::Dictionary, false, {"a1", "a10", "a2"}},
      {{"a10", "a2", "a1"}, SortOrder::Dictionary, true, {"a2", "a10", "a1"}},
      {{"B", "a", "b"}, SortOrder::Dictionary, false, {"B", "a", "b"}},
      {{"B", "a", "b"}, SortOrder::Dictionary, true, {"b", "a", "B"}},
      {{"x", "X", "y", "Y"}, SortOrder::Numeric, false, {"X", "x", "Y", "y"}},
      {{"x", "X", "y", "Y"}, SortOrder::Numeric, true, {"Y", "y", "X", "x"}},
      {{"b", "A", "a"}, SortOrder::Numeric, false, {"a", "A", "b"}},
      {{"b", "A", "a"}, SortOrder::Numeric, true, {"b", "a", "A"}},
      {{}, SortOrder::Numeric, false, {}},
  };
  for (const Case& c : cases) {
    LineList list = Lines(c.input);
    SortLines(list, c.order, c.descending);
    EXPECT_EQ(Strings(list), c.expected) << (c.input.empty() ? "" : c.input[0]) << " " << c.descending;
  }
}

TEST(SortLines, DictionaryOrderMatchesThePlainSortExactly) {
  // The keyed sort must leave lines exactly where the plain sort with
  // CompareOrdinal does: shared prefixes, short lines, U+0000, characters
  // on both sides of U+E000, and many equal lines.
  const char* atoms[] = {"a", "b", "ab", "abcdefgh", "\xEF\xBC\xA1", "\xF0\x9F\x98\x80", "1", "\xE3\x81\x82"};
  std::mt19937_64 random(3);
  V input;
  for (int i = 0; i < 3000; ++i) {
    std::string s;
    for (int n = static_cast<int>(random() % 5); n >= 0; --n) s += atoms[random() % std::size(atoms)];
    if (random() % 7 == 0) s += std::string(1, '\0');
    input.push_back(s);
  }
  for (bool descending : {false, true}) {
    LineList keyed = Lines(input);
    const char* keyedBase = keyed[0].data();
    SortLines(keyed, SortOrder::Dictionary, descending);
    LineList plain = Lines(input);
    const char* plainBase = plain[0].data();
    SortList(plain.lines(), [descending](const LineList::Line& a, const LineList::Line& b) {
      return descending ? CompareOrdinal(b.view(), a.view()) : CompareOrdinal(a.view(), b.view());
    });
    ASSERT_EQ(keyed.count(), plain.count());
    for (size_t i = 0; i < keyed.count(); ++i) {
      // Same position in the file: equal lines must keep the sort's own order too.
      ASSERT_EQ(keyed.lines()[i].data - keyedBase, plain.lines()[i].data - plainBase)
          << i << (descending ? " descending" : "");
    }
  }
}

TEST(Compare, OrdinalFollowsUtf16CodeUnits) {
  EXPECT_LT(CompareOrdinal("A", "a"), 0);
  EXPECT_LT(CompareOrdinal("1", "10"), 0);
  EXPECT_LT(CompareOrdinal("10", "2"), 0);
  EXPECT_EQ(CompareOrdinal("same", "same"), 0);
  // U+FF21 (EF BC A1) sorts after U+1F600 (F0 9F 98 80) in UTF-16, not before.
  EXPECT_GT(CompareOrdinal("\xEF\xBC\xA1", "\xF0\x9F\x98\x80"), 0);
  EXPECT_LT(CompareOrdinal("\xED\x9F\xBF", "\xF0\x9F\x98\x80"), 0);  // U+D7FF before any pair
  EXPECT_LT(CompareOrdinal("x\xE3\x81\x82", "x\xEF\xBC\xA1"), 0);     // ordinary BMP order holds
  EXPECT_NE(CompareOrdinal(std::string("a\0b", 3), std::string("a\0c", 3)), 0);  // the whole line counts
}

TEST(Compare, LogicalOrder) {
  struct Case {
    std::string a, b;
    int sign;
  } cases[] = {
      {"a2", "a10", -1},
      {"x", "X", 0},
      {"file007", "file7", 0},
      {"1234567890123456789012345678901234567890", "1234567890123456789012345678901234567891", -1},
      {"99999999999999999999999999999999999999999", "100000000000000000000000000000000000000000", -1},
      {std::string("ab\0zz", 5), std::string("ab\0aa", 5), 0},  // only up to the first U+0000
      {"-5", "-10", -1},
      {"a", "a1", -1},
      {"a 1", "a1", -1},   // a blank before a digit
      {"1", "a", -1},      // numbers before letters
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", 0},  // case folding beyond ASCII
  };
  for (const Case& c : cases) {
    const int r = CompareLogical(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    const int s = CompareLogical(c.b, c.a);
    EXPECT_EQ((s > 0) - (s < 0), -c.sign) << c.b << " vs " << c.a;
  }
}

TEST(Compare, BothOrdersAreConsistentOnRandomTriples) {
  // Antisymmetry and transitivity on short strings over a small alphabet that
  // mixes digits, case, punctuation and characters on both sides of U+E000.
  const char* atoms[] = {"0", "1", "9", "a", "A", "b", "-", " ", "\xEF\xBC\xA1", "\xF0\x9F\x98\x80", "\xE3\x81\x82"};
  std::mt19937_64 random(7);
  auto make = [&] {
    std::string s;
    for (int n = static_cast<int>(random() % 4); n >= 0; --n) s += atoms[random() % std::size(atoms)];
    return s;
  };
  auto sign = [](int r) { return (r > 0) - (r < 0); };
  for (auto compare : {&CompareOrdinal, &CompareLogical}) {
    for (int i = 0; i < 20000; ++i) {
      const std::string a = make(), b = make(), c = make();
      ASSERT_EQ(sign(compare(a, b)), -sign(compare(b, a))) << a << " " << b;
      if (compare(a, b) <= 0 && compare(b, c) <= 0) ASSERT_LE(compare(a, c), 0) << a << " " << b << " " << c;
    }
  }
}

TEST(Reorder, ReverseAndShuffle) {
  LineList list = Lines({"a", "b", "c"});
  ReverseLines(list);
  EXPECT_EQ(Strings(list), (V{"c", "b", "a"}));
  ReverseLines(list);
  EXPECT_EQ(Strings(list), (V{"a", "b", "c"}));

  // Every order of three lines comes up about equally often.
  std::mt19937_64 random(42);
  std::map<V, int> seen;
  constexpr int kRuns = 60000;
  for (int i = 0; i < kRuns; ++i) {
    LineList l = Lines({"a", "b", "c"});
    ShuffleLines(l, random);
    ++seen[Strings(l)];
  }
  ASSERT_EQ(seen.size(), 6u);
  for (const auto& [order, count] : seen) EXPECT_NEAR(count, kRuns / 6, kRuns / 60) << order[0] << order[1] << order[2];
}

TEST(Reorder, RemoveDuplicates) {
  LineList list = Lines({"a", "b", "a", "c", "b", "A", "x", "x "});
  const DedupResult result = RemoveDuplicates(list, nullptr);
  EXPECT_EQ(result.before, 8);
  EXPECT_EQ(result.removed, 2);
  EXPECT_EQ(Strings(list), (V{"x ", "x", "A", "c", "b", "a"}));  // reverse order of first occurrence

  LineList empty;
  EXPECT_EQ(RemoveDuplicates(empty, nullptr).removed, 0);

  // Cancelled part-way: the list is left exactly as it was.
  LineList kept = Lines({"a", "a", "b", "b"});
  std::vector<std::pair<int64_t, bool>> polls;
  const DedupResult cancelled = RemoveDuplicates(kept, [&](int64_t i, bool repeated) {
    polls.emplace_back(i, repeated);
    return i == 2;
  });
  EXPECT_TRUE(cancelled.canceled);
  EXPECT_EQ(Strings(kept), (V{"a", "a", "b", "b"}));
  EXPECT_EQ(polls, (std::vector<std::pair<int64_t, bool>>{{0, false}, {1, true}, {2, false}}));
}
