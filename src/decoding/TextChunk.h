#pragma once
#include <cstddef>
#include <memory>
#include <string_view>

namespace varnopel {

// An immutable block of UTF-8 text: the bytes of one file as read (when the
// decoding is the identity) or its decoded text. Lines point into it.
class TextChunk {
 public:
  TextChunk(std::unique_ptr<char[]> data, size_t begin, size_t end)
      : data_(std::move(data)), begin_(begin), end_(end) {}
  TextChunk(const TextChunk&) = delete;
  TextChunk& operator=(const TextChunk&) = delete;

  std::string_view view() const { return {data_.get() + begin_, end_ - begin_}; }
  size_t size() const { return end_ - begin_; }

 private:
  std::unique_ptr<char[]> data_;
  size_t begin_;
  size_t end_;
};

}  // namespace varnopel
