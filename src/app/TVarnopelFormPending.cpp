// Handlers that are wired to their controls but whose behaviour belongs to
// the loading, reordering, split, settings and shell work. Each moves to the
// source file of its concern when it is written.
#include "app/TVarnopelForm.h"

namespace varnopel {

void TVarnopelForm::Button9ReloadClick() {}
void TVarnopelForm::Button6ReverseClick() {}
void TVarnopelForm::Button5RandomClick() {}
void TVarnopelForm::Button7AscendClick() {}
void TVarnopelForm::Button8DescendClick() {}
void TVarnopelForm::Button10CompressClick() {}

}  // namespace varnopel
