// The main window's start, refresh, split arithmetic, clock, layout rules and
// output folder handlers.
#include "app/TVarnopelForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <limits>

#include "app/TVarnopelFormPrivate.h"
#include "decoding/CodePage.h"
#include "split/SplitArithmetic.h"

namespace varnopel {

void TVarnopelForm::FormCreate(const QStringList& args) {
  // A file over the size limit (ulimit -f) then fails its write like a full
  // disk and the run says so, instead of the signal ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  Timer1Timer();
  Timer1->start();
  Session1_.clear();
  QGuiApplication::setApplicationDisplayName(Dialogs::caption());
  setWindowTitle(Dialogs::caption());
  Session1_.setEncoding(cp::ShiftJis, "");
  ReadSettings();
  RefreshAfterLoad(false);
  if (!args.isEmpty()) LoadCommandLine(args);
  GridPanel1->setFixedHeight(ClientHeight() * 55 / 100);
  FileOpenDialog1Folder = PrevOpenFolder1;
  FileOpenDialog2Folder = PrevSaveFolder1;
  PageControl1->setCurrentWidget(tsReadIn2);
  Random1.seed(static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  setAcceptDrops(true);
}

void TVarnopelForm::RefreshAfterLoad(bool enabled) {
  for (QWidget* control : std::as_const(GridControls_)) control->setEnabled(enabled);
  for (QPushButton* button : {Button6Reverse, Button5Random, Button7Ascend, Button8Descend, Button10Compress})
    button->setEnabled(enabled);
  if (!enabled) {
    Label4InFile->setEnabled(true);
    Edit1InFile->setEnabled(true);
    Button1InFile->setEnabled(true);
    return;
  }

  const qint64 n = static_cast<qint64>(Session1_.lines().count());
  Label1InFile->setText(FormatCount(n) + QStringLiteral(" 行 / ") + QString::number(ListView2->topLevelItemCount()) +
                        QStringLiteral(" ファイル (") + QString::fromStdString(CodePageName(Session1_.codePage())) +
                        QStringLiteral(")"));
  CheckBox1SameFolderClick();

  RadioButton1Files->setEnabled(true);
  RadioButton2Lines->setEnabled(true);
  RadioButton3Half->setEnabled(true);
  // With no lines at all there is nothing to choose: the boxes stay greyed.
  const bool haveLines = n > 0;
  const int limit = static_cast<int>(std::min<qint64>(n, std::numeric_limits<int>::max()));
  const int digits = static_cast<int>(QString::number(n).size());
  for (NumberBox* box : {NumberBox1Files, NumberBox2Lines, NumberBox3Half}) {
    box->setEnabled(haveLines);
    SetFaceBackground(box, !haveLines);
    box->setMaxTextLength(digits);
  }
  Refreshing_ = true;
  SetNumberBoxRange(NumberBox1Files, 1, limit, 1);
  label1Files->setText(FilesLabelText(NumberBox1Files->value()));
  SetNumberBoxRange(NumberBox2Lines, 1, limit, limit);
  Label2Lines->setText(LinesLabelText(NumberBox2Lines->value()));
  SetNumberBoxRange(NumberBox3Half, 0, limit, 0);
  Label25Half->setText(HalfLabelText(NumberBox3Half->value()));

  RadioButton1Files->setChecked(true);
  Refreshing_ = false;
  PageControl1->setEnabled(true);
  ListView2->setEnabled(true);
  ListView1->setEnabled(true);
  ListView1->clear();
}

void TVarnopelForm::SetNumberBoxRange(NumberBox* box, int minimum, int maximum, int value) {
  box->setRange(minimum, std::max(minimum, maximum));
  box->setValue(value);
}

void TVarnopelForm::FitListColumns(QTreeWidget* listView) {
  const int rows = listView->topLevelItemCount();
  if (rows == 0) return;
  // Measured in the font that draws the rows. Columns only widen, so the
  // rows that can be new (the last, the current) and the first are enough.
  const QFontMetrics metrics(listView->font());
  QList<const QTreeWidgetItem*> measured{listView->topLevelItem(0), listView->topLevelItem(rows - 1)};
  if (listView->currentItem() != nullptr) measured << listView->currentItem();
  for (int column : {1, 0}) {
    int widest = 0;
    for (const QTreeWidgetItem* row : measured) widest = std::max(widest, metrics.horizontalAdvance(row->text(column)));
    int wanted = widest * 120 / 100;
    // The names take what the counts leave of the list; longer ones elide.
    const int room = listView->viewport()->width() - listView->columnWidth(1);
    if (column == 0 && room > kMinColumnWidth) wanted = std::min(wanted, room);
    if (listView->columnWidth(column) < wanted) listView->setColumnWidth(column, wanted);
  }
}

QTreeWidget* TVarnopelForm::ActiveListView() const {
  return PageControl1->currentWidget() == tsWriteOut1 ? ListView1 : ListView2;
}

int32_t TVarnopelForm::LinesPerFile(int32_t files) const {
  return varnopel::LinesPerFile(static_cast<int64_t>(Session1_.lines().count()), files);
}

int32_t TVarnopelForm::FilesForLines(int32_t lines) const {
  return varnopel::FilesForLines(static_cast<int64_t>(Session1_.lines().count()), lines);
}

QString TVarnopelForm::ClockText(const QDateTime& time) { return time.toString(QStringLiteral("yyyy/MM/dd  HH:mm")); }

QString TVarnopelForm::FormatCount(qint64 value) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(value);
}

void TVarnopelForm::Timer1Timer() {
  StatusPanel0_->setText(ClockText(Now1()));
  Pump1_.pumpNow();
}

void TVarnopelForm::StatusBar1Resize() {
  // Panel 1 takes whatever panel 0 leaves (it has the status bar's stretch).
  StatusPanel0_->setFixedWidth(fontMetrics().horizontalAdvance(StatusPanel0_->text()) * 11 / 10);
}

void TVarnopelForm::GridPanel1Resize() {
  // The radio cell already lies 3 pixels inside the grid; the rest is ours.
  const int margin = std::max(0, GridPanel1->width() / 20 - kCellMargin);
  for (QWidget* cell : std::as_const(RadioCells_)) cell->layout()->setContentsMargins(margin, 0, 0, 0);
}

void TVarnopelForm::PageControl1Resize() {
  static_cast<PageControl*>(PageControl1)->setTabWidth(PageControl1->width() / (PageControl1->count() + 1));
}

void TVarnopelForm::CheckBox1SameFolderClick() {
  const bool same = CheckBox1SameFolder->isChecked();
  Edit2OutFolder->setEnabled(!same);
  SetFaceBackground(Edit2OutFolder, same);
  Button2OutFolder->setEnabled(!same);
  WriteFolder1->setEnabled(!same);
  if (same) {
    const QString input = Edit1InFile->text();
    Edit2OutFolder->setText(input.left(input.lastIndexOf(u'/') + 1));
  }
}

void TVarnopelForm::Button2OutFolderClick() {
  const QString folder = dialogs_->pickFolder(FileOpenDialog2Folder);
  if (!folder.isEmpty()) Edit2OutFolder->setText(folder);
}

void TVarnopelForm::Close1Click() { close(); }

void TVarnopelForm::FormClose() { Session1_.clear(); }

void TVarnopelForm::closeEvent(QCloseEvent* event) {
  // Nothing may run on a closed window: an operation in progress keeps it open.
  if (IsBusy() || !CloseCommandEnabled_) {
    event->ignore();
    return;
  }
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

int TVarnopelForm::ClientHeight() const {
  const QMenuBar* bar = menuBar();
  const int menuHeight = bar->isNativeMenuBar() ? 0 : bar->sizeHint().height();
  return std::max(0, height() - menuHeight);
}

void TVarnopelForm::PlaceButton0Cancel() {
  // Keeps its place relative to the centre of the client area.
  const QMenuBar* bar = menuBar();
  const int top = bar->isNativeMenuBar() ? 0 : bar->height();
  const int clientWidth = width();
  const int clientHeight = height() - top;
  Button0Cancel->move(kCancelLeft + (clientWidth - kDesignClientWidth) / 2,
                      top + kCancelTop + (clientHeight - kDesignClientHeight) / 2);
  Button0Cancel->raise();
}

void TVarnopelForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PlaceButton0Cancel();
}

bool TVarnopelForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == GridPanel1) GridPanel1Resize();
    else if (watched == PageControl1) PageControl1Resize();
    else if (watched == StatusBar1) StatusBar1Resize();
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace varnopel
