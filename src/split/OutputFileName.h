#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace varnopel {

// A path holds a character that no path may hold (a control character).
// what() is the text shown to the user.
class InvalidPathError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Full path of output file `number`: the folder, the input file's name
// without its extension, "-", the number and the extension.
// "/" is the only folder delimiter. Throws InvalidPathError.
std::string OutputFileName(const std::string& folder, const std::string& inputPath, int64_t number);

}  // namespace varnopel
