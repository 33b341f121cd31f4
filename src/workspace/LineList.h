#pragma once
// The working list of lines (MainList1): immutable text chunks, one per file
// read, and a vector of line spans into them. Reordering and filtering touch
// only the spans, never the text.
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "decoding/TextChunk.h"

namespace varnopel {

class LineList {
 public:
  // 12 bytes a line: a pointer into a chunk and a 32-bit length.
  struct Line {
    const char* data;
    uint32_t size;
    std::string_view view() const { return {data, size}; }
  } __attribute__((packed));

  size_t count() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::string_view operator[](size_t index) const { return lines_[index].view(); }

  // Appends the lines of one decoded file, cut by its detected line break
  // (see ForEachLine). Returns the number of lines appended. Throws
  // std::length_error for a line of 4 GiB or more. keepAlive runs every
  // million lines.
  size_t appendText(std::shared_ptr<const TextChunk> text, std::string_view lineBreak,
                    const std::function<void()>& keepAlive = {});

  void clear();

  // Whether some text appended may hold lone surrogates (read from UTF-16).
  bool mayHoldLoneSurrogates() const { return mayHoldLoneSurrogates_; }

  // The spans themselves, for reordering and filtering in place.
  std::vector<Line>& lines() { return lines_; }
  const std::vector<Line>& lines() const { return lines_; }

 private:
  std::vector<std::shared_ptr<const TextChunk>> chunks_;
  std::vector<Line> lines_;
  bool mayHoldLoneSurrogates_ = false;
};

}  // namespace varnopel
