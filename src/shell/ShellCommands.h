#pragma once
// The desktop actions as the window uses them: each reports its own failure
// in an information box and returns normally. The window offers them as
// members (TVarnopelForm::ShellOpen and so on); these are the free forms.
#include <QString>
#include <QStringList>

#include <memory>

#include "dialogs/Dialogs.h"
#include "shell/ShellServices.h"

namespace varnopel {

// "Open Failed 2\r\nNo such file or directory\r\n/path"
QString OpenFailedText(int error, const QString& target);
// "OpenBy Failed 2\r\n<text>\r\n<program>\r\n<arguments joined by blanks>"
QString OpenByFailedText(int error, const QString& program, const QStringList& arguments);

// Opens a document, folder or URL with the desktop's default application.
// A failure, also one that the opener reports a moment later, shows
// OpenFailedText. The late report goes to `dialogs` only while it lives.
void ShellOpen(ShellServices& shell, const std::shared_ptr<Dialogs>& dialogs, const QString& target);
// Starts a program with arguments (argv entries, never re-quoted); a failed
// start shows OpenByFailedText.
void ShellOpenWith(ShellServices& shell, Dialogs& dialogs, const QString& program, const QStringList& arguments);
// Shows the file manager's properties of a file, else our own properties
// view; a missing file shows "プロパティを表示できませんでした\r\n" + path.
void ShowFileProperties(ShellServices& shell, Dialogs& dialogs, const QString& path);
// Shows a file selected in the file manager; when no file manager answers,
// opens the file's folder with ShellOpen instead.
void ShowInFileManager(ShellServices& shell, const std::shared_ptr<Dialogs>& dialogs, const QString& path);
// The folder's path, always ending in "/".
QString SpecialFolderPath(ShellServices& shell, SpecialFolder which);

}  // namespace varnopel
