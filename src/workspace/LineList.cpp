#include "workspace/LineList.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "decoding/CheckCCode.h"
#include "decoding/PageFiller.h"

namespace varnopel {

size_t LineList::appendText(std::shared_ptr<const TextChunk> text, std::string_view lineBreak,
                            const std::function<void()>& keepAlive) {
  if (!text || text->size() == 0) return 0;
  const std::string_view view = text->view();

  // Reserve once for the most lines the text can hold, so that the spans
  // are written in one pass and never moved.
  size_t most = 2;
  constexpr size_t kPiece = size_t{64} << 20;
  for (size_t at = 0; at < view.size(); at += kPiece) {
    most += CountLineEnds(view.substr(at, kPiece));
    if (keepAlive) keepAlive();
  }
  const size_t needed = lines_.size() + most;
  if (needed > lines_.capacity()) {
    lines_.reserve(std::max(needed, lines_.capacity() + lines_.capacity() / 2));
    PreferHugePages(lines_.data(), lines_.capacity() * sizeof(Line));
  }
  const size_t before = lines_.size();
  const PageFiller filler(lines_.data() + before, most * sizeof(Line));
  const char* base = view.data();
  bool tooLong = false;
  ForEachLine(view, lineBreak, [&](size_t offset, size_t length) {
    tooLong |= length > std::numeric_limits<uint32_t>::max();
    lines_.push_back(Line{base + offset, static_cast<uint32_t>(length)});
    if (keepAlive && (lines_.size() & 0xFFFFF) == 0) keepAlive();
  });
  if (tooLong) {
    lines_.resize(before);
    throw std::length_error("line of 4 GiB or more");
  }
  const size_t added = lines_.size() - before;
  mayHoldLoneSurrogates_ |= text->holdsLoneSurrogates();
  chunks_.push_back(std::move(text));
  return added;
}

void LineList::clear() {
  lines_.clear();
  lines_.shrink_to_fit();
  chunks_.clear();
  mayHoldLoneSurrogates_ = false;
}

}  // namespace varnopel
