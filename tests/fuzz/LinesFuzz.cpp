// The line scan against a plain reference: ForEachLine over the decoded text
// must give exactly the lines SplitTextLines gives on the text the reader
// returns (lines re-joined with the detected break), for each break.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "decoding/CheckCCode.h"
#include "workspace/LineList.h"

using namespace varnopel;

namespace {

// CR LF, lone CR and lone LF end a line; a final break adds no empty line.
std::vector<std::string> ReferenceLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitTextLines(text);
  FUZZ_CHECK(lines == ReferenceLines(text));
  if (!lines.empty()) FUZZ_CHECK(CountLineEnds(text) + 1 >= lines.size());

  for (std::string_view lineBreak : {"\r\n", "\r", "\n"}) {
    std::string joined;
    for (const std::string& line : SplitByLineBreak(text, lineBreak)) {
      joined += line;
      joined += lineBreak;
    }
    std::vector<std::string> scanned;
    size_t next = 0;
    ForEachLine(text, lineBreak, [&](size_t offset, size_t length) {
      FUZZ_CHECK(offset >= next && offset + length <= text.size());
      next = offset + length;
      scanned.emplace_back(text.substr(offset, length));
    });
    FUZZ_CHECK(scanned == SplitTextLines(joined));

    // The line list cuts the same way.
    ByteBuffer bytes = AllocateBytes(size);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    LineList list;
    FUZZ_CHECK(list.appendText(std::make_shared<TextChunk>(std::move(bytes), 0, size), lineBreak) == scanned.size());
    for (size_t i = 0; i < scanned.size(); ++i) FUZZ_CHECK(list[i] == scanned[i]);
  }
  return 0;
}
