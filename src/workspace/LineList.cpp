#include "workspace/LineList.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "decoding/CheckCCode.h"

namespace varnopel {

size_t LineList::appendText(std::shared_ptr<const TextChunk> text, std::string_view lineBreak) {
  if (!text || text->size() == 0) return 0;
  const std::string_view view = text->view();

  // Count first so that the span vector grows once, to its exact size.
  size_t added = 0;
  bool tooLong = false;
  ForEachLine(view, lineBreak, [&](size_t, size_t length) {
    ++added;
    tooLong |= length > std::numeric_limits<uint32_t>::max();
  });
  if (tooLong) throw std::length_error("line of 4 GiB or more");

  const size_t needed = lines_.size() + added;
  if (needed > lines_.capacity()) lines_.reserve(std::max(needed, lines_.capacity() + lines_.capacity() / 2));
  const char* base = view.data();
  ForEachLine(view, lineBreak, [&](size_t offset, size_t length) {
    lines_.push_back(Line{base + offset, static_cast<uint32_t>(length)});
  });
  chunks_.push_back(std::move(text));
  return added;
}

void LineList::clear() {
  lines_.clear();
  lines_.shrink_to_fit();
  chunks_.clear();
}

}  // namespace varnopel
