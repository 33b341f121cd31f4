#pragma once
// What loading tells its caller, one input file at a time.
#include <cstddef>
#include <cstdint>
#include <string>

namespace varnopel {

// An input file as read: its path as given, what was detected, its lines.
struct InputFile {
  std::string path;
  int32_t codePage = 0;
  std::string lineBreak;
  size_t lines = 0;
};

// Why a file could not be read.
struct ReadFailure {
  std::string reason;
  // Above 0 when memory ran out: about how much reading the file needs.
  int64_t megabytesNeeded = 0;
};

class LoadEvents {
 public:
  virtual ~LoadEvents() = default;
  // File `index` (from 1) of `count` is about to be read.
  virtual void fileStarting(size_t /*index*/, size_t /*count*/, const std::string& /*path*/) {}
  virtual void fileLoaded(size_t /*index*/, size_t /*count*/, const InputFile& /*file*/) {}
  // Returns false to stop loading (the files before stay loaded).
  virtual bool fileFailed(size_t /*index*/, size_t /*count*/, const std::string& /*path*/,
                          const ReadFailure& /*failure*/) {
    return true;
  }
  // Called now and then during a long read.
  virtual void keepAlive() {}
};

}  // namespace varnopel
