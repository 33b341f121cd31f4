// The three roads that fill the input set: the file dialog, a drop on the
// window and the command line.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <new>

#include "app/OperationScope.h"
#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"

namespace varnopel {

namespace {

std::vector<std::string> LocalPaths(const QStringList& names) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<size_t>(names.size()));
  for (const QString& name : names) paths.push_back(QFile::encodeName(name).toStdString());
  return paths;
}

}  // namespace

// The window's side of loading: the path in the edit box, the status line,
// a row for each file read, a box for each that fails.
class WindowLoadEvents : public LoadEvents {
 public:
  WindowLoadEvents(TVarnopelForm& form, TVarnopelForm::LoadRoad road) : form_(form), road_(road) {}

  void fileStarting(size_t index, size_t count, const std::string& path) override {
    if (road_ != TVarnopelForm::LoadRoad::Reread) form_.Edit1InFile->setText(QFile::decodeName(path.c_str()));
    form_.StatusPanel1()->setText(restore() ? QStringLiteral("%1 / %2復元中").arg(index).arg(count)
                                            : QStringLiteral("%1 / %2 読込み中").arg(index).arg(count));
    form_.Pump().pumpNow();
  }
  void fileLoaded(size_t index, size_t, const InputFile& file) override {
    const QString path = QFile::decodeName(file.path.c_str());
    form_.StatusPanel1()->setText(restore() ? QStringLiteral("%1 / %2復元中").arg(index).arg(file.lines)
                                            : FileNamePart(path) + QStringLiteral(" を読込みました"));
    if (road_ == TVarnopelForm::LoadRoad::Reread) {
      // Execute reads the listed files again: their rows stay as they are.
      form_.FitListColumns(form_.ListView2);
      form_.Pump().step();
      return;
    }
    auto* row = new QTreeWidgetItem(form_.ListView2,
                                    QStringList{path, TVarnopelForm::FormatCount(static_cast<qint64>(file.lines))});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    row->setToolTip(0, path);  // the whole path, where the column elides it
    form_.ListView2->setCurrentItem(row);
    if (road_ != TVarnopelForm::LoadRoad::CommandLine) form_.ListView2->scrollToItem(row);
    form_.FitListColumns(form_.ListView2);
    form_.Pump().step();
  }
  bool fileFailed(size_t, size_t, const std::string& path, const ReadFailure& failure) override {
    form_.dialogs().information(
        (restore() ? QStringLiteral("復元できませんでした\r\n") : QStringLiteral("読み込めませんでした\r\n")) +
        QFile::decodeName(path.c_str()) + OutOfMemoryReason(failure));
    form_.Pump().step();
    return true;
  }
  void keepAlive() override { form_.Pump().step(); }

 private:
  bool restore() const { return road_ == TVarnopelForm::LoadRoad::Restore; }
  TVarnopelForm& form_;
  TVarnopelForm::LoadRoad road_;
};

void TVarnopelForm::SortFileNames(QStringList& names) const {
  std::vector<std::string> paths = LocalPaths(names);
  SplitSession::SortNames(paths, mmSortNum1->isChecked() ? SortOrder::Numeric : SortOrder::Dictionary);
  names.clear();
  for (const std::string& path : paths) names << QFile::decodeName(path.c_str());
}

void TVarnopelForm::ReadInputFiles(const QStringList& names, LoadRoad road) {
  OperationScope operation(*this);
  WindowLoadEvents events(*this, road);
  // A restore reads the files in the order of the input list.
  if (road == LoadRoad::Restore || road == LoadRoad::Reread) {
    Session1_.reread(LocalPaths(names), events);
    return;
  }
  QStringList sorted = names;
  SortFileNames(sorted);
  Session1_.load(LocalPaths(sorted), events, road == LoadRoad::Dialog);
}

void TVarnopelForm::Button1InFileClick() {
  if (IsBusy()) return;
  const int rows = ListView2->topLevelItemCount();
  if (rows > 0) {
    switch (dialogs().questionYesNoCancel(QStringLiteral("既存の ") + FormatCount(rows) +
                                          QStringLiteral(" ファイルをクリアしますか？"))) {
      case Dialogs::Answer::Yes:
        Session1_.clear();
        ListView2->clear();
        break;
      case Dialogs::Answer::No: break;
      default: return;
    }
  } else {
    Session1_.clear();
    ListView2->clear();
    SetFaceBackground(ListView2, false);
  }
  Edit1InFile->clear();
  StatusPanel1()->clear();
  const QStringList names = dialogs().openFiles(FileOpenDialog1Folder);
  if (names.isEmpty()) return;

  Button1InFile->setEnabled(false);
  SetBusyTab(tsReadIn2, true);
  SetProgramCursor(Qt::WaitCursor);
  Pump().pumpNow();
  ReadInputFiles(names, LoadRoad::Dialog);

  RefreshAfterLoad(true);
  SetProgramCursor(Qt::ArrowCursor);
  SetBusyTab(tsReadIn2, false);
  PageControl1->setCurrentWidget(tsReadIn2);
  IsListView2Modified = false;
  RadioButton1FilesClick();
  PageControl1->setCurrentWidget(tsReadIn2);
  StatusPanel1()->setText(FileNamePart(Edit1InFile->text()) + QStringLiteral(" を読込みました"));
  FileOpenDialog1Folder = QFileInfo(Edit1InFile->text()).absolutePath();
}

void TVarnopelForm::WMDropFiles(const QStringList& paths) {
  if (IsBusy()) return;
  SetProgramCursor(Qt::WaitCursor);
  SetBusyTab(tsReadIn2, true);
  ListView2->clear();
  SetFaceBackground(ListView2, false);
  Pump().pumpNow();
  Session1_.clear();
  ReadInputFiles(paths, LoadRoad::Drop);

  CheckBox1SameFolderClick();
  RefreshAfterLoad(true);
  SetProgramCursor(Qt::ArrowCursor);
  SetBusyTab(tsReadIn2, false);
  PageControl1->setCurrentWidget(tsReadIn2);
  RadioButton1FilesClick();
  PageControl1->setCurrentWidget(tsReadIn2);
  StatusPanel1()->setText(FileNamePart(Edit1InFile->text()) + QStringLiteral("を読込みました"));
}

void TVarnopelForm::LoadCommandLine(const QStringList& args) {
  // Paths as typed are relative to the folder the program was started in.
  // The other roads give full paths, and the output folder is taken from
  // the path, so these are made full here once.
  QStringList paths;
  for (const QString& arg : args) paths << QDir::cleanPath(QFileInfo(arg).absoluteFilePath());
  SetBusyTab(tsReadIn2, true);
  Session1_.clear();
  ReadInputFiles(paths, LoadRoad::CommandLine);
  RefreshAfterLoad(true);
  StatusPanel1()->setText(Label1InFile->text() + QStringLiteral(" を読込みました"));
  CheckBox1SameFolderClick();
  SetBusyTab(tsReadIn2, false);
}

void TVarnopelForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !IsBusy()) event->acceptProposedAction();
}

void TVarnopelForm::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    // A remote URL is kept as it is and then fails to read like any unreadable file.
    paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
  }
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // Read after the drop has finished, so that the dragging program is not
  // kept waiting while the files load.
  QTimer::singleShot(0, this, [this, paths] { WMDropFiles(paths); });
}

}  // namespace varnopel
