// Handlers that are wired to their controls but whose behaviour belongs to
// the loading, reordering, split, settings and shell work. Each moves to the
// source file of its concern when it is written.
#include "app/TVarnopelForm.h"

namespace varnopel {


}  // namespace varnopel
