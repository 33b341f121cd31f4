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

TEST(SortLines, MatchesThePlainSequentialSortExactly) {
  // The keyed, threaded sort must leave lines exactly where the plain
  // one-thread sort with the line comparison does: shared prefixes, short
  // lines, U+0000, characters on both sides of U+E000, numbers with leading
  // zeros and case differences, so many lines rank equal. The large lists are
  // split across threads.
  const std::vector<std::string> dictionaryAtoms = {
      "a", "b", "ab", "abcdefgh", "\xEF\xBC\xA1", "\xF0\x9F\x98\x80", "1", "\xE3\x81\x82"};
  const std::vector<std::string> numericAtoms = {"a",  "A",           "b", "0", "00",       "1",        "7",
                                                 "12", "-",           ".", " ", "\xC3\xA9", "\xC3\x89", "\xE2\x84\xAA",
                                                 "k",  "\xEF\xBC\xA1"};
  struct Case {
    SortOrder order;
    const std::vector<std::string>& atoms;
    int lines;
  } cases[] = {
      {SortOrder::Dictionary, dictionaryAtoms, 3000},
      {SortOrder::Dictionary, dictionaryAtoms, 150000},
      {SortOrder::Numeric, numericAtoms, 3000},
      {SortOrder::Numeric, numericAtoms, 150000},
  };
  for (const Case& c : cases) {
    std::mt19937_64 random(3);
    V input;
    for (int i = 0; i < c.lines; ++i) {
      std::string s;
      for (int n = static_cast<int>(random() % 5); n >= 0; --n) s += c.atoms[random() % c.atoms.size()];
      if (random() % 7 == 0) s += std::string(1, '\0') + c.atoms[random() % c.atoms.size()];
      if (i % 1000 == 999) s += std::string(65535 + i % 3, 'x');  // lengths beyond 16 bits
      input.push_back(s);
    }
    const auto compare = c.order == SortOrder::Dictionary ? CompareOrdinal : CompareLogicalPlain;
    for (bool descending : {false, true}) {
      LineList sorted = Lines(input);
      const char* sortedBase = sorted[0].data();
      SortLines(sorted, c.order, descending);
      LineList plain = Lines(input);
      const char* plainBase = plain[0].data();
      SortList(plain.lines(), [&](const LineList::Line& a, const LineList::Line& b) {
        return descending ? compare(b.view(), a.view()) : compare(a.view(), b.view());
      });
      ASSERT_EQ(sorted.count(), plain.count());
      for (size_t i = 0; i < sorted.count(); ++i) {
        // Same position in the file: equal lines must keep the sort's own order too.
        ASSERT_EQ(sorted.lines()[i].data - sortedBase, plain.lines()[i].data - plainBase)
            << i << " of " << c.lines << (c.order == SortOrder::Numeric ? " numeric" : " dictionary")
            << (descending ? " descending" : "");
        ASSERT_EQ(sorted.lines()[i].size, plain.lines()[i].size) << i;
      }
    }
  }
}

TEST(SortList, ParallelSortEqualsTheSequentialOne) {
  // Values that rank equal in groups of about a hundred, told apart by where
  // they started; sizes around the threshold for a thread.
  for (int size : {99999, 100001, 400000}) {
    std::mt19937_64 random(static_cast<uint64_t>(size));
    std::vector<std::pair<int, int>> sequential(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) sequential[static_cast<size_t>(i)] = {static_cast<int>(random() % (size / 100)), i};
    auto parallel = sequential;
    auto byValue = [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first - b.first; };
    SortList(sequential, byValue);
    ParallelSortList(std::span(parallel), byValue);
    ASSERT_EQ(parallel, sequential) << size;
  }
  // Small lists of every size, few distinct values: partitions end in every
  // position against the blocks they are scanned in.
  std::mt19937_64 random(9);
  for (int size = 2; size < 1200; ++size) {
    for (int values : {3, 40}) {
      std::vector<std::pair<int, int>> sequential(static_cast<size_t>(size));
      for (int i = 0; i < size; ++i) sequential[static_cast<size_t>(i)] = {static_cast<int>(random() % values), i};
      auto parallel = sequential;
      auto byValue = [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first - b.first; };
      SortList(sequential, byValue);
      ParallelSortList(std::span(parallel), byValue);
      ASSERT_EQ(parallel, sequential) << size << " " << values;
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
  EXPECT_LT(CompareOrdinal("\xED\x9F\xBF", "\xF0\x9F\x98\x80"), 0);              // U+D7FF before any pair
  EXPECT_LT(CompareOrdinal("x\xE3\x81\x82", "x\xEF\xBC\xA1"), 0);                // ordinary BMP order holds
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
      {"a 1", "a1", -1},                              // a blank before a digit
      {"1", "a", -1},                                 // numbers before letters
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", 0},  // case folding beyond ASCII
  };
  for (const Case& c : cases) {
    const int r = CompareLogical(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    const int s = CompareLogical(c.b, c.a);
    EXPECT_EQ((s > 0) - (s < 0), -c.sign) << c.b << " vs " << c.a;
  }
}

TEST(Compare, LogicalShortcutAgreesWithThePlainWalk) {
  // Random pairs, half of them near-copies, over digits, leading zeros, case,
  // punctuation, U+0000, ill-formed bytes and characters whose folding is
  // not plain: É/é, fullwidth Ａ, halfwidth ｱ, İ, ß, the Kelvin sign and
  // the long s (they fold to ASCII k and s).
  const char* atoms[] = {"0",
                         "00",
                         "1",
                         "9",
                         "10",
                         "a",
                         "A",
                         "k",
                         "K",
                         "s",
                         "S",
                         "z",
                         "-",
                         " ",
                         ".",
                         "_",
                         "~",
                         "\xC3\xA9",
                         "\xC3\x89",
                         "\xEF\xBC\xA1",
                         "\xEF\xBD\xB1",
                         "\xC4\xB0",
                         "i",
                         "\xC3\x9F",
                         "\xE2\x84\xAA",
                         "\xC5\xBF",
                         "\xF0\x9F\x98\x80",
                         "\xC3",
                         "\xFF"};
  std::mt19937_64 random(11);
  auto pickAtom = [&]() -> std::string {
    if (random() % 16 == 0) return std::string(1, '\0');
    return atoms[random() % std::size(atoms)];
  };
  auto make = [&] {
    std::string s;
    for (int n = static_cast<int>(random() % 7); n > 0; --n) s += pickAtom();
    return s;
  };
  auto sign = [](int r) { return (r > 0) - (r < 0); };
  for (int c = 1; c < 0x80; ++c) {  // every pair of ASCII characters, before a digit and after one
    for (int d = 1; d < 0x80; ++d) {
      const std::string a(1, static_cast<char>(c)), b(1, static_cast<char>(d));
      ASSERT_EQ(sign(CompareLogical(a + "1", b + "1")), sign(CompareLogicalPlain(a + "1", b + "1"))) << c << " " << d;
      ASSERT_EQ(sign(CompareLogical("1" + a, "1" + b)), sign(CompareLogicalPlain("1" + a, "1" + b))) << c << " " << d;
    }
  }
  for (int i = 0; i < 200000; ++i) {
    const std::string a = make();
    std::string b = make();
    if (i % 2 == 1) b = a.substr(0, random() % (a.size() + 1)) + make();  // shares a start with a
    ASSERT_EQ(sign(CompareLogical(a, b)), sign(CompareLogicalPlain(a, b))) << a << " vs " << b;
  }
}

TEST(Compare, SortKeysThatDifferDecide) {
  // Where two lines' keys differ they must order the lines as the comparison
  // does; they should differ often, or the sort gains nothing. Ill-formed
  // bytes (the last atoms) only for numeric order: the reader never hands
  // them to dictionary order, which reads them differently from byte order.
  const std::string atoms[] = {"0",
                               "00",
                               "1",
                               "9",
                               "12345",
                               "a",
                               "A",
                               "z",
                               "-",
                               " ",
                               "\x01",
                               std::string(1, '\0'),
                               "\xC3\xA9",
                               "\xC3\x89",
                               "\xEF\xBC\xA1",
                               "\xF0\x9F\x98\x80",
                               "\xE2\x84\xAA",
                               "\xED\xB0\x80",
                               "\xFF",
                               "\xC3"};
  struct Order {
    int (*compare)(std::string_view, std::string_view);
    bool (*key)(std::string_view, uint64_t&);
    size_t atoms;
  } orders[] = {{CompareOrdinal, OrdinalKey, std::size(atoms) - 2},
                {CompareLogicalPlain, LogicalKey, std::size(atoms)}};
  auto sign = [](int r) { return (r > 0) - (r < 0); };
  for (const Order& order : orders) {
    std::mt19937_64 random(5);
    auto make = [&](std::string s) {
      for (int n = static_cast<int>(random() % 6); n > 0; --n) s += atoms[random() % order.atoms];
      if (random() % 50 == 0) s += std::string(300, '7');  // a number too long for its count byte
      return s;
    };
    int decided = 0;
    constexpr int kPairs = 100000;
    for (int i = 0; i < kPairs; ++i) {
      const std::string a = make("");
      const std::string b = make(i % 2 ? a : "");  // half of them continue a
      uint64_t ka, kb;
      const bool usable = order.key(a, ka) & order.key(b, kb);
      if (!usable || ka == kb) continue;
      ++decided;
      ASSERT_EQ(ka < kb ? -1 : 1, sign(order.compare(a, b))) << a << " vs " << b;
    }
    EXPECT_GT(decided, kPairs / 4);
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
      if (compare(a, b) <= 0 && compare(b, c) <= 0) {
        ASSERT_LE(compare(a, c), 0) << a << " " << b << " " << c;
      }
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

TEST(Reorder, ShuffleKeepsThePlainFisherYatesOrder) {
  // Drawing the picks ahead must not change them: the same seed gives the
  // same order as the plain loop, for lists shorter and longer than the
  // look-ahead.
  for (int size : {0, 1, 2, 3, 31, 32, 33, 34, 35, 1000}) {
    V input;
    for (int i = 0; i < size; ++i) input.push_back(std::to_string(i));
    LineList list = Lines(input);
    std::mt19937_64 random(1);
    ShuffleLines(list, random);

    V expected = input;
    std::mt19937_64 reference(1);
    for (size_t i = expected.size(); i > 1; --i) {
      std::uniform_int_distribution<size_t> pick(0, i - 1);
      std::swap(expected[i - 1], expected[pick(reference)]);
    }
    EXPECT_EQ(Strings(list), expected) << size;
    EXPECT_EQ(random(), reference()) << size;  // and leaves the generator where the plain loop does
  }
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
