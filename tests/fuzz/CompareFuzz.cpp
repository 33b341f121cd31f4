// The two line orders on triples of lines: each must be a consistent order
// (reflexive, antisymmetric, transitive), or the sorts misbehave. Lines are
// made as the reader makes them, from UTF-16 (lone surrogates included), so
// dictionary order can be checked against the UTF-16 code units themselves.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "decoding/CheckCCode.h"
#include "workspace/Compare.h"

using namespace varnopel;

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

template <class Compare>
void CheckOrder(Compare compare, const std::string_view* s) {
  for (int i = 0; i < 3; ++i) {
    FUZZ_CHECK(compare(s[i], s[i]) == 0);
    for (int j = 0; j < 3; ++j) {
      FUZZ_CHECK(Sign(compare(s[i], s[j])) == -Sign(compare(s[j], s[i])));
      for (int k = 0; k < 3; ++k) {
        const int ij = Sign(compare(s[i], s[j]));
        const int jk = Sign(compare(s[j], s[k]));
        const int ik = Sign(compare(s[i], s[k]));
        if (ij <= 0 && jk <= 0) FUZZ_CHECK(ik <= 0);
        if (ij < 0 && jk <= 0) FUZZ_CHECK(ik < 0);
        if (ij == 0 && jk == 0) FUZZ_CHECK(ik == 0);
      }
    }
  }
}

}  // namespace

// The input is UTF-16 LE: three lines separated by U+000A.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size &= ~size_t{1};
  std::vector<std::u16string> units(1);
  for (size_t i = 0; i < size; i += 2) {
    const char16_t u = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (u == u'\n' && units.size() < 3) units.emplace_back();
    else units.back() += u;
  }
  units.resize(3);

  std::string lines[3];
  for (int i = 0; i < 3; ++i) {
    if (units[i].empty()) continue;
    const size_t bytes = 2 + units[i].size() * 2;
    ByteBuffer buffer = AllocateBytes(bytes);
    buffer[0] = '\xFF';
    buffer[1] = '\xFE';
    if (!units[i].empty()) std::memcpy(buffer.get() + 2, units[i].data(), units[i].size() * 2);
    int32_t codePage = 0;
    std::string lineBreak;
    DecodedFile file = DecodeText(std::move(buffer), bytes, codePage, lineBreak);
    if (file.text) lines[i] = std::string(file.text->view());
  }
  const std::string_view s[3] = {lines[0], lines[1], lines[2]};
  CheckOrder(CompareOrdinal, s);
  CheckOrder(CompareLogical, s);

  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      FUZZ_CHECK(Sign(CompareOrdinal(s[i], s[j])) == Sign(units[i].compare(units[j])));
    }
    // Numeric order stops at the first U+0000.
    const std::string tail = lines[i] + '\0' + lines[(i + 1) % 3];
    FUZZ_CHECK(CompareLogical(s[i], tail) == 0);
  }
  return 0;
}
