// Loads files into a LineList the way the window does and reports the time
// and the peak memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "decoding/CheckCCode.h"
#include "workspace/LineList.h"

int main(int argc, char** argv) {
  varnopel::LineList list;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 1; i < argc; ++i) {
    int32_t codePage = 932;
    std::string lineBreak = "\r\n";
    varnopel::DecodedFile file = varnopel::ReadTextFile(argv[i], codePage, lineBreak);
    const auto read = std::chrono::steady_clock::now();
    list.appendText(std::move(file.text), lineBreak);
    std::printf("read+decode %.3f s, cut into lines %.3f s\n", std::chrono::duration<double>(read - start).count(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - read).count());
    std::printf("%s: %s\n", argv[i], varnopel::CodePageName(codePage).c_str());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("lines %zu  time %.3f s  peak RSS %.1f MiB\n", list.count(), seconds, usage.ru_maxrss / 1024.0);
  return 0;
}
