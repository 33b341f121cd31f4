#include "workspace/ReadMemory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "decoding/CheckCCode.h"

namespace varnopel {

namespace {

// Whether the reader keeps the bytes as the text, judged from the first ones.
bool KeptAsRead(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return true;
  unsigned char head[kDetectWindow];
  const ssize_t got = ::pread(fd, head, sizeof head, 0);
  ::close(fd);
  if (got <= 0) return true;
  const int32_t code = DetectCodePage(head, static_cast<int32_t>(got));
  if (code == cp::Ansi) return std::all_of(head, head + got, [](unsigned char c) { return c < 0x80; });
  return code == cp::Utf8 || code == cp::Utf8Bom || code == cp::NotText;
}

}  // namespace

int64_t MegabytesToRead(const std::string& path) {
  struct stat st {};
  const int64_t size = ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
  int64_t bytes = size + size / 2;
  if (!KeptAsRead(path)) bytes += size + size / 2;
  constexpr int64_t kMiB = int64_t{1} << 20;
  return std::max<int64_t>(1, (bytes + kMiB - 1) / kMiB);
}

}  // namespace varnopel
