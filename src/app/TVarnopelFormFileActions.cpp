// The pop-up menu of both file lists: which items apply to the selected row,
// and the actions on that row's file.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeDatabase>
#include <QTreeWidget>

#include "app/Icons.h"
#include "app/TVarnopelForm.h"
#include "shell/DesktopEntry.h"

namespace varnopel {

namespace {

int SelectedIndex(const QTreeWidget* list) {
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.first());
}

// The icon of a file's type judged by its name alone, so that planned
// output files that do not exist yet get theirs too.
QIcon FileTypeIcon(const QString& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  if (icon.isNull()) icon = ThemeIcon(QStringLiteral("text-x-generic"));
  return icon;
}

// Copies a file to a name that must not exist yet. The destination is
// opened exclusively, so a file that appears meanwhile is not overwritten
// either; a copy that fails half-way is removed again.
bool CopyWithoutOverwrite(const QString& source, const QString& destination) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QFile out(destination);
  if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
  bool ok = true;
  while (ok && !in.atEnd()) {
    const QByteArray block = in.read(1 << 20);
    ok = !block.isEmpty() || in.atEnd();
    ok = ok && out.write(block) == block.size();
  }
  ok = ok && in.error() == QFileDevice::NoError && out.flush();
  out.close();
  ok = ok && out.error() == QFileDevice::NoError;
  if (!ok) {
    out.remove();
    return false;
  }
  out.setPermissions(in.permissions());
  return true;
}

// The path of the selected row of the list in front; empty when there is
// no selected row (or its caption is empty).
QString SelectedPath(const TVarnopelForm& form) {
  const QTreeWidget* list = form.ActiveListView();
  const int index = SelectedIndex(list);
  return index < 0 ? QString() : list->topLevelItem(index)->text(0);
}

}  // namespace

void TVarnopelForm::PopupMenu1Popup() {
  QTreeWidget* list = ActiveListView();
  const int index = SelectedIndex(list);
  QString path;
  bool usable = false;
  if (index >= 0) {
    path = list->topLevelItem(index)->text(0);
    usable = QFileInfo::exists(path);
  }
  for (QAction* item : PopupMenu1->actions()) {
    item->setVisible(true);
    item->setEnabled(usable);
  }

  const QList<QAction*> moves{ToTop2, ToUpper2, ToLower2, ToBottom2};
  if (list == ListView2) {
    const int count = list->topLevelItemCount();
    if (count <= 1)
      for (QAction* item : moves) item->setVisible(false);
    // On the first and last rows the moves follow the position, not the file.
    if (index == 0) {
      ToTop2->setEnabled(false);
      ToUpper2->setEnabled(false);
      ToLower2->setEnabled(true);
      ToBottom2->setEnabled(true);
    }
    if (index >= 0 && index == count - 1) {
      ToTop2->setEnabled(true);
      ToUpper2->setEnabled(true);
      ToLower2->setEnabled(false);
      ToBottom2->setEnabled(false);
    }
  } else {
    for (QAction* item : moves) item->setVisible(false);
  }

  if (!path.isEmpty()) {
    const QIcon icon = FileTypeIcon(path);
    if (!icon.isNull()) Open2->setIcon(icon);
  }
}

// Unlike a bare start, these report a failed start in a box: a file that
// silently does not open looks like a hung program.
void TVarnopelForm::Open2Click() {
  const QString path = SelectedPath(*this);
  if (!path.isEmpty()) ShellOpen(path);
}

void TVarnopelForm::OpenWithNotepad2Click() {
  const QString path = SelectedPath(*this);
  if (path.isEmpty()) return;
  const QStringList editor = shell_->textEditorCommand(path);
  if (editor.isEmpty()) {
    ShellOpen(path);  // no text editor known: the file's own application
    return;
  }
  ShellOpenWith(editor.first(), editor.mid(1));
}

void TVarnopelForm::OpenWith2Click() {
  const QString path = SelectedPath(*this);
  if (path.isEmpty()) return;
  const QString failure = QStringLiteral("指定プログラムを起動できませんでした\r\n") + path;
  const std::weak_ptr<Dialogs> boxes = dialogs_;
  if (shell_->openWithPortal(this, path, [boxes, failure] {
        if (const auto alive = boxes.lock()) alive->information(failure);
      }) == 0)
    return;

  // No portal: our own chooser.
  const QString type = QMimeDatabase().mimeTypeForFile(path).name();
  const DesktopApplication chosen =
      dialogs_->chooseApplication(path, shell_->applicationsFor(type), shell_->allApplications());
  if (chosen.exec.isEmpty()) return;  // cancelled
  const QStringList command = ExpandExec(chosen.exec, path);
  if (command.isEmpty() || shell_->startProgram(command.first(), command.mid(1)) != 0) dialogs_->information(failure);
}

void TVarnopelForm::OpenWithSendTo2Click() {
  const QString path = SelectedPath(*this);
  if (path.isEmpty()) return;
  const QString chosen = dialogs_->openFile(SpecialFolderPath(SpecialFolder::SendTo));
  if (chosen.isEmpty()) return;

  const bool isEntry = QFileInfo(chosen).suffix().compare(QStringLiteral("desktop"), Qt::CaseInsensitive) == 0;
  QString target = chosen;
  if (isEntry || QFileInfo(chosen).isSymLink()) target = ResolveShortcut(chosen);

  if (QFileInfo(target).isDir()) {
    const QString destination = QDir(target).filePath(QFileInfo(path).fileName());
    if (!CopyWithoutOverwrite(path, destination))
      dialogs_->information(QStringLiteral("Same Name File Already Exists. Copyfile Failed\r\n\r\n") + destination);
    return;
  }

  // An application entry runs its whole command line, not only its first word.
  DesktopEntry entry;
  QStringList command{target, path};
  if (isEntry && ReadDesktopEntry(chosen, entry) &&
      entry.value(QStringLiteral("Type")) == QStringLiteral("Application"))
    command = ExpandExec(entry.value(QStringLiteral("Exec")), path);
  if (!command.isEmpty()) ShellOpenWith(command.first(), command.mid(1));
}

void TVarnopelForm::Properties2Click() {
  const QString path = SelectedPath(*this);
  if (!path.isEmpty()) ShowFileProperties(path);
}

void TVarnopelForm::OpenLocation2Click() {
  const QString path = SelectedPath(*this);
  if (!path.isEmpty()) ShowInFileManager(path);
}

}  // namespace varnopel
