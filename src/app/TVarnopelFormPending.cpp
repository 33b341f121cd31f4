// Handlers that are wired to their controls but whose behaviour belongs to
// the loading, reordering, split, settings and shell work. Each moves to the
// source file of its concern when it is written.
#include "app/TVarnopelForm.h"

namespace varnopel {

void TVarnopelForm::FormCloseQuery(bool& canClose) { canClose = true; }

void TVarnopelForm::Button1InFileClick() {}
void TVarnopelForm::Button9ReloadClick() {}
void TVarnopelForm::Button6ReverseClick() {}
void TVarnopelForm::Button5RandomClick() {}
void TVarnopelForm::Button7AscendClick() {}
void TVarnopelForm::Button8DescendClick() {}
void TVarnopelForm::Button10CompressClick() {}
void TVarnopelForm::Button3ExecClick() {}
void TVarnopelForm::Button4OpenClick() {}
void TVarnopelForm::Button0CancelClick() {}
void TVarnopelForm::SendTo1Click() {}
void TVarnopelForm::DeskTop1Click() {}
void TVarnopelForm::StartMenu1Click() {}
void TVarnopelForm::StartUp1Click() {}
void TVarnopelForm::Help2Click() {}
void TVarnopelForm::About1Click() {}
void TVarnopelForm::Properties1Click() {}
void TVarnopelForm::Donation1Click() {}
void TVarnopelForm::HomeSite1Click() {}
void TVarnopelForm::PopupMenu1Popup() {}
void TVarnopelForm::Open2Click() {}
void TVarnopelForm::OpenWithNotepad2Click() {}
void TVarnopelForm::OpenWith2Click() {}
void TVarnopelForm::OpenWithSendTo2Click() {}
void TVarnopelForm::MakeShortCut2Click() {}
void TVarnopelForm::Properties2Click() {}
void TVarnopelForm::OpenLocation2Click() {}
void TVarnopelForm::ToTop2Click() {}
void TVarnopelForm::ToUpper2Click() {}
void TVarnopelForm::ToLower2Click() {}
void TVarnopelForm::ToBottom2Click() {}
void TVarnopelForm::ListView1ColumnClick(int column) { Q_UNUSED(column); }

}  // namespace varnopel
