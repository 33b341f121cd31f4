#include "split/SystemErrorText.h"

#include <system_error>

namespace varnopel {

std::string SystemErrorText(int error) {
  std::string text = std::generic_category().message(error);
  // The C library names numbers it does not know "Unknown error N"; the
  // program shows no text for them.
  if (text.rfind("Unknown error", 0) == 0) return {};
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
  return text;
}

}  // namespace varnopel
