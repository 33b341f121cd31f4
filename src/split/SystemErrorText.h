#pragma once
#include <string>

namespace varnopel {

// The system's text for an errno value, without trailing blanks or full stops.
std::string SystemErrorText(int error);

}  // namespace varnopel
