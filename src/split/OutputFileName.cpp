#include "split/OutputFileName.h"

#include <algorithm>

namespace varnopel {

namespace {

void CheckPath(const std::string& path) {
  const bool bad = std::any_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (bad) throw InvalidPathError("パスに無効な文字が含まれています\r\n[" + path + "]");
}

}  // namespace

std::string OutputFileName(const std::string& folder, const std::string& inputPath, int64_t number) {
  const size_t slash = inputPath.rfind('/');
  const std::string name = slash == std::string::npos ? inputPath : inputPath.substr(slash + 1);
  const size_t nameDot = name.rfind('.');
  const std::string base = nameDot == std::string::npos ? name : name.substr(0, nameDot);
  const size_t dot = inputPath.rfind('.');
  const bool dotInName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string ext = dotInName ? inputPath.substr(dot) : std::string();

  if (!inputPath.empty()) CheckPath(inputPath);
  std::string joined;
  if (folder.empty()) {
    joined = base;
  } else if (base.empty()) {
    joined = folder;
  } else {
    CheckPath(folder);
    joined = folder.back() == '/' ? folder + base : folder + "/" + base;
  }
  return joined + "-" + std::to_string(number) + ext;
}

}  // namespace varnopel
