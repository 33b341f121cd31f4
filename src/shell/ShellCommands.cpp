#include "shell/ShellCommands.h"

#include <QFileInfo>

#include "split/SystemErrorText.h"

namespace varnopel {

namespace {

QString ErrorText(int error) { return QString::fromStdString(SystemErrorText(error)); }

}  // namespace

QString OpenFailedText(int error, const QString& target) {
  return QStringLiteral("Open Failed ") + QString::number(error) + QStringLiteral("\r\n") + ErrorText(error) +
         QStringLiteral("\r\n") + target;
}

QString OpenByFailedText(int error, const QString& program, const QStringList& arguments) {
  return QStringLiteral("OpenBy Failed ") + QString::number(error) + QStringLiteral("\r\n") + ErrorText(error) +
         QStringLiteral("\r\n") + program + QStringLiteral("\r\n") + arguments.join(u' ');
}

void ShellOpen(ShellServices& shell, const std::shared_ptr<Dialogs>& dialogs, const QString& target) {
  const std::weak_ptr<Dialogs> boxes = dialogs;
  shell.setLateFailureHandler([boxes](int error, const QString& failed) {
    if (const auto alive = boxes.lock()) alive->information(OpenFailedText(error, failed));
  });
  const int error = shell.openDocument(target);
  if (error != 0) dialogs->information(OpenFailedText(error, target));
}

void ShellOpenWith(ShellServices& shell, Dialogs& dialogs, const QString& program, const QStringList& arguments) {
  const int error = shell.startProgram(program, arguments);
  if (error != 0) dialogs.information(OpenByFailedText(error, program, arguments));
}

void ShowFileProperties(ShellServices& shell, Dialogs& dialogs, const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() && !info.isSymLink()) {
    dialogs.information(QStringLiteral("プロパティを表示できませんでした\r\n") + path);
    return;
  }
  if (!shell.showItemProperties(path)) dialogs.fileProperties(path);
}

void ShowInFileManager(ShellServices& shell, const std::shared_ptr<Dialogs>& dialogs, const QString& path) {
  if (shell.showItems({path})) return;
  ShellOpen(shell, dialogs, QFileInfo(path).absolutePath());
}

QString SpecialFolderPath(ShellServices& shell, SpecialFolder which) {
  QString folder = shell.specialFolder(which);
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

}  // namespace varnopel
