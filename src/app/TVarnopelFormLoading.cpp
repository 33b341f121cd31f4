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
#include "decoding/CheckCCode.h"
#include "workspace/Compare.h"

namespace varnopel {

void TVarnopelForm::SortFileNames(QStringList& names) const {
  const bool numeric = mmSortNum1->isChecked();
  std::vector<std::pair<QByteArray, QString>> keyed;
  keyed.reserve(static_cast<size_t>(names.size()));
  for (const QString& name : std::as_const(names)) keyed.emplace_back(name.toUtf8(), name);
  std::stable_sort(keyed.begin(), keyed.end(), [numeric](const auto& a, const auto& b) {
    const std::string_view x(a.first.constData(), static_cast<size_t>(a.first.size()));
    const std::string_view y(b.first.constData(), static_cast<size_t>(b.first.size()));
    return (numeric ? CompareLogical(x, y) : CompareOrdinal(x, y)) < 0;
  });
  names.clear();
  for (const auto& entry : keyed) names << entry.second;
}

void TVarnopelForm::ReadInputFile(const QString& path, int index, int count, LoadRoad road) {
  const bool restore = road == LoadRoad::Restore;
  Edit1InFile->setText(path);
  StatusPanel1()->setText(restore ? QStringLiteral("%1 / %2復元中").arg(index).arg(count)
                                  : QStringLiteral("%1 / %2 読込み中").arg(index).arg(count));
  Pump().pumpNow();
  const QString failed = restore ? QStringLiteral("復元できませんでした\r\n") : QStringLiteral("読み込めませんでした\r\n");
  try {
    if (road == LoadRoad::Dialog) {
      CurrentCP1 = 932;
      CurrentLB1 = "\r\n";
    }
    DecodedFile file = ReadTextFile(QFile::encodeName(path).toStdString(), CurrentCP1, CurrentLB1, KeepAlive1());
    const size_t lines = MainList1.appendText(std::move(file.text), CurrentLB1, KeepAlive1());
    StatusPanel1()->setText(restore ? QStringLiteral("%1 / %2復元中").arg(index).arg(lines)
                                    : FileNamePart(path) + QStringLiteral(" を読込みました"));
    auto* row = new QTreeWidgetItem(ListView2, QStringList{path, FormatCount(static_cast<qint64>(lines))});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ListView2->setCurrentItem(row);
    if (road != LoadRoad::CommandLine) ListView2->scrollToItem(row);
    FitListColumns(ListView2);
  } catch (const std::bad_alloc&) {
    dialogs().information(failed + path + OutOfMemoryReason(path));
  } catch (const std::exception&) {
    dialogs().information(failed + path);
  }
  Pump().step();
}

void TVarnopelForm::ReadInputFiles(QStringList names, LoadRoad road) {
  OperationScope operation(*this);
  // A restore reads the files in the order of the input list.
  if (road != LoadRoad::Restore) SortFileNames(names);
  for (int j = 0; j < names.size(); ++j) ReadInputFile(names[j], j + 1, static_cast<int>(names.size()), road);
}

void TVarnopelForm::Button1InFileClick() {
  if (IsBusy()) return;
  const int rows = ListView2->topLevelItemCount();
  if (rows > 0) {
    switch (dialogs().questionYesNoCancel(QStringLiteral("既存の ") + FormatCount(rows) +
                                          QStringLiteral(" ファイルをクリアしますか？"))) {
      case Dialogs::Answer::Yes:
        MainList1.clear();
        ListView2->clear();
        break;
      case Dialogs::Answer::No:
        break;
      default:
        return;
    }
  } else {
    MainList1.clear();
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
  MainList1.clear();
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
  MainList1.clear();
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
