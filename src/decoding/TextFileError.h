#pragma once
#include <stdexcept>

namespace varnopel {

// A file could not be opened, read or decoded. what() is a short English reason.
class TextFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace varnopel
