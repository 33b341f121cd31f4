#pragma once
// The memory that reading a file into the line list takes, so that a read
// that ran out of it can say how much was wanted.
#include <cstdint>
#include <string>

namespace varnopel {

// About how many MiB (rounded up, at least 1) reading `path` takes: its
// bytes, the spans of its lines (half as much again for lines of ordinary
// length) and, unless the file is UTF-8 or plain ASCII, the decoded text
// beside the bytes. The code page is judged from the file's first bytes.
int64_t MegabytesToRead(const std::string& path);

}  // namespace varnopel
