// Shortcuts to the program (Send To, desktop, applications menu, autostart)
// and to a listed file (desktop): created, rewritten or trashed on request.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QTreeWidget>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/TVarnopelForm.h"
#include "shell/DesktopEntry.h"
#include "shell/Shortcut.h"
#include "split/SystemErrorText.h"

namespace varnopel {

namespace {

bool ExistsAt(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();  // a dangling link is still there to replace or remove
}

// Writes next to the destination and renames into place, so that a link
// is either the old one or the new one. 0 or an errno value.
int WriteReplacing(const QString& path, const QByteArray& bytes) {
  const QByteArray target = QFile::encodeName(path);
  const QByteArray temporary = target + ".varnopel-new";
  const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      ::unlink(temporary.constData());
      return error;
    }
    done += n;
  }
  if (::close(fd) != 0 || std::rename(temporary.constData(), target.constData()) != 0) {
    const int error = errno;
    ::unlink(temporary.constData());
    return error;
  }
  return 0;
}

int LinkReplacing(const QString& path, const QString& target) {
  const QByteArray link = QFile::encodeName(path);
  const QByteArray temporary = link + ".varnopel-new";
  ::unlink(temporary.constData());
  if (::symlink(QFile::encodeName(target).constData(), temporary.constData()) != 0) return errno;
  if (std::rename(temporary.constData(), link.constData()) != 0) {
    const int error = errno;
    ::unlink(temporary.constData());
    return error;
  }
  return 0;
}

}  // namespace

void TVarnopelForm::ToggleShortcut(SpecialFolder folder, const QString& target, const QString& folderName) {
  const QString programFile = shell_->programFile();
  const QString folderPath = SpecialFolderPath(folder);
  const QString name = ShortcutFileName(folder, target, programFile);
  const QString link = folderPath + name;
  const QString crlf = QStringLiteral("\r\n");
  const QString inFolder = QStringLiteral("フォルダ ") + folderName;

  // A new entry every time, with the time of writing in its description.
  auto save = [&]() -> int {
    errno = 0;
    if (!QDir().mkpath(folderPath)) return errno != 0 ? errno : EACCES;
    if (folder == SpecialFolder::SendTo) return LinkReplacing(link, target);
    ShortcutContents contents;
    contents.target = target;
    contents.isProgram = target == programFile;
    contents.workingFolder = ShortcutWorkingFolder();
    contents.description = ShortcutDescription(Now1(), programFile, QLocale::system());
    contents.icon = contents.isProgram
                        ? QStringLiteral("varnopel")
                        : QMimeDatabase().mimeTypeForFile(target, QMimeDatabase::MatchExtension).iconName();
    contents.name = QFileInfo(name).completeBaseName();
    const int error = WriteReplacing(link, DesktopEntryText(contents).toUtf8());
    if (error == 0 && folder == SpecialFolder::Desktop) shell_->markLaunchable(link);
    return error;
  };
  auto failure = [&](int error) {
    return QStringLiteral("HRESULT=") + QString::number(error) + crlf + QString::fromStdString(SystemErrorText(error));
  };

  if (ExistsAt(link)) {
    const Dialogs::Answer answer = dialogs_->questionYesNoCancel(
        inFolder + QStringLiteral(" に") + crlf + name + crlf + QStringLiteral("は既に存在します。更新しますか？") +
        crlf + crlf + QStringLiteral("[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し"));
    if (answer == Dialogs::Answer::Cancel) return;
    if (answer == Dialogs::Answer::Yes) {
      const int error = save();
      const QString head = inFolder + QStringLiteral(" の") + crlf + name + crlf;
      dialogs_->information(error == 0 ? head + QStringLiteral("を更新しました。")
                                       : head + QStringLiteral("を更新できませんでした。") + failure(error));
    } else {
      const QString head = inFolder + QStringLiteral(" から ") + crlf + name + crlf;
      dialogs_->information(RecycleFile(link) ? head + QStringLiteral("を削除しました。")
                                              : head + QStringLiteral("を削除できませんでした。"));
    }
  } else {
    const int error = save();
    const QString head = inFolder + QStringLiteral(" に") + crlf + name + crlf;
    dialogs_->information(error == 0 ? head + QStringLiteral("を新規作成しました。")
                                     : head + QStringLiteral("を新規作成できませんでした。") + failure(error));
  }

  if (!dialogs_->question(inFolder + QStringLiteral(" を開きますか？"))) return;
  if (ExistsAt(link)) {
    ShowInFileManager(link);
  } else {
    QString plain = folderPath;
    while (plain.size() > 1 && plain.endsWith(u'/')) plain.chop(1);
    ShellOpen(plain);
  }
}

bool TVarnopelForm::RecycleFile(const QString& path) {
  if (path.isEmpty() || !ExistsAt(path)) return true;
  // Stands for the confirmation that the desktop's trash does not ask.
  if (!dialogs_->question(QStringLiteral("このファイルをごみ箱に移動しますか？\r\n\r\n") + path)) {
    dialogs_->information(QStringLiteral("Operations Aborted."));
    Pump1_.pumpNow();
    return false;
  }
  if (shell_->moveToTrash(path) != 0) {
    dialogs_->information(QStringLiteral("Delete \"") + QFileInfo(path).fileName() + QStringLiteral("\" Failed."));
    Pump1_.pumpNow();
    return false;
  }
  return true;
}

void TVarnopelForm::SendTo1Click() {
  ToggleShortcut(SpecialFolder::SendTo, shell_->programFile(), QStringLiteral("「送る」"));
}

void TVarnopelForm::DeskTop1Click() {
  ToggleShortcut(SpecialFolder::Desktop, shell_->programFile(), QStringLiteral("デスクトップ"));
}

void TVarnopelForm::StartMenu1Click() {
  ToggleShortcut(SpecialFolder::Programs, shell_->programFile(), QStringLiteral("スタートメニュー"));
}

void TVarnopelForm::StartUp1Click() {
  ToggleShortcut(SpecialFolder::Startup, shell_->programFile(), QStringLiteral("スタートアップ"));
}

void TVarnopelForm::MakeShortCut2Click() {
  const QTreeWidget* list = ActiveListView();
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  if (selected.isEmpty()) return;
  const QString path = selected.first()->text(0);
  if (!path.isEmpty()) ToggleShortcut(SpecialFolder::Desktop, path, QStringLiteral("デスクトップ"));
}

}  // namespace varnopel
