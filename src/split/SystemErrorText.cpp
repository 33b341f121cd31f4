#include "split/SystemErrorText.h"

#include <system_error>

namespace varnopel {

std::string SystemErrorText(int error) {
  std::string text = std::generic_category().message(error);
  while (!text.empty() && (text.back() == ' ' || text.back() == '.' || text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

}  // namespace varnopel
