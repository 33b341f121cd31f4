#pragma once
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>

namespace varnopel {

// Bytes from malloc, so that a large decoded buffer can be shrunk in place.
struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
using ByteBuffer = std::unique_ptr<char[], FreeDeleter>;

// Asks for huge pages over the 2 MiB-aligned interior of a large block:
// filling a gigabyte of small pages costs seconds in page faults alone.
void PreferHugePages(void* block, size_t size);

inline ByteBuffer AllocateBytes(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  PreferHugePages(p, size);
  return ByteBuffer(static_cast<char*>(p));
}

// Shrinks or grows a buffer, keeping its first `size` bytes.
inline void ResizeBytes(ByteBuffer& buffer, size_t size) {
  void* p = std::realloc(buffer.get(), size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  buffer.release();
  buffer.reset(static_cast<char*>(p));
}

// An immutable block of UTF-8 text: the bytes of one file as read (when the
// decoding is the identity) or its decoded text. Lines point into it.
class TextChunk {
 public:
  // holdsLoneSurrogates: the text may hold lone surrogates (from UTF-16
  // input), which UTF-8 output must not copy as they are.
  TextChunk(ByteBuffer data, size_t begin, size_t end, bool holdsLoneSurrogates = false)
      : data_(std::move(data)), begin_(begin), end_(end), holdsLoneSurrogates_(holdsLoneSurrogates) {}
  TextChunk(const TextChunk&) = delete;
  TextChunk& operator=(const TextChunk&) = delete;

  std::string_view view() const { return {data_.get() + begin_, end_ - begin_}; }
  size_t size() const { return end_ - begin_; }
  bool holdsLoneSurrogates() const { return holdsLoneSurrogates_; }

 private:
  ByteBuffer data_;
  size_t begin_;
  size_t end_;
  bool holdsLoneSurrogates_;
};

}  // namespace varnopel
