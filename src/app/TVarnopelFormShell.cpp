// The window's doors to the desktop: thin members over shell/ShellCommands.
#include "app/TVarnopelForm.h"
#include "shell/ShellCommands.h"

namespace varnopel {

void TVarnopelForm::ShellOpen(const QString& target) { varnopel::ShellOpen(*shell_, dialogs_, target); }

void TVarnopelForm::ShellOpenWith(const QString& program, const QStringList& arguments) {
  varnopel::ShellOpenWith(*shell_, *dialogs_, program, arguments);
}

void TVarnopelForm::ShowFileProperties(const QString& path) { varnopel::ShowFileProperties(*shell_, *dialogs_, path); }

void TVarnopelForm::ShowInFileManager(const QString& path) { varnopel::ShowInFileManager(*shell_, dialogs_, path); }

QString TVarnopelForm::SpecialFolderPath(SpecialFolder which) { return varnopel::SpecialFolderPath(*shell_, which); }

}  // namespace varnopel
