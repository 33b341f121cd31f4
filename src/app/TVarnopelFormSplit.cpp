// Execute: the split run around the engine, and the open-folder button.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <exception>

#include "app/OperationScope.h"
#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"
#include "split/OutputFile.h"
#include "split/OutputFileName.h"

namespace varnopel {

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

// Answers the engine from the window's controls, which are read again for
// every file as the user may change them while the run goes on.
class WindowSplitCallbacks : public SplitCallbacks {
 public:
  WindowSplitCallbacks(TVarnopelForm& form, qint64 files) : form_(form), files_(files) {}

  void fileStarted(int64_t k, int64_t files) override {
    if (listed()) form_.ListView1->setCurrentItem(row(k));
    form_.StatusPanel1()->setText(QStringLiteral("%1 / %2 実行中").arg(k).arg(files));
  }
  bool isChecked(int64_t k) override { return !listed() || row(k)->checkState(0) == Qt::Checked; }
  void fileSkipped(int64_t k) override { row(k)->setText(1, QStringLiteral("0")); }
  bool dealOut() override { return form_.CheckBox3Distribute->isChecked(); }
  std::string pathFor(int64_t k) override { return LocalPath(listed() ? row(k)->text(0) : form_.OutputFileName(k)); }
  bool overwriteWithoutAsking() override { return form_.CheckBox2OverWrite->isChecked(); }
  OverwriteAnswer askOverwrite(const std::string& path) override {
    const QString text = QStringLiteral("ファイルは既に存在します\r\n") + QFile::decodeName(path.c_str()) +
                         QStringLiteral("上書きしますか？");
    switch (form_.dialogs().overwriteQuestion(text)) {
      case Dialogs::Answer::Yes: return OverwriteAnswer::Yes;
      case Dialogs::Answer::No: return OverwriteAnswer::No;
      case Dialogs::Answer::YesToAll: return OverwriteAnswer::YesToAll;
      default: return OverwriteAnswer::Cancel;
    }
  }
  void overwriteAll() override { form_.CheckBox2OverWrite->setChecked(true); }
  std::string lineBreak() override {
    // Read right before each file is written, as the menu may change meanwhile.
    LineBreakChoice choice = LineBreakChoice::CrLf;
    if (form_.mmSameLB1->isChecked()) choice = LineBreakChoice::Same;
    else if (form_.mmCR1->isChecked()) choice = LineBreakChoice::Cr;
    else if (form_.mmLF1->isChecked()) choice = LineBreakChoice::Lf;
    return form_.session().outputLineBreak(choice);
  }
  void progress(int64_t value) override {
    form_.SetProgressValue(value);
    form_.Pump().poll();
  }
  bool canceled() override { return form_.IsCanceled; }
  void keepResponsive() override { form_.Pump().step(); }
  void fileWritten(int64_t k, const std::string& path, int64_t lines) override {
    QTreeWidgetItem* item = nullptr;
    if (listed()) {
      item = row(k);
    } else {
      item = AddOutputRow(form_.ListView1, QFile::decodeName(path.c_str()));
    }
    item->setText(1, TVarnopelForm::FormatCount(lines));
    form_.ListView1->setCurrentItem(item);
    form_.ListView1->scrollToItem(item);
    form_.FitListColumns(form_.ListView1);
    form_.Pump().step();
  }

 private:
  bool listed() const { return files_ <= kMostListedFiles; }
  QTreeWidgetItem* row(int64_t k) const { return form_.ListView1->topLevelItem(static_cast<int>(k - 1)); }

  TVarnopelForm& form_;
  qint64 files_;
};

void TVarnopelForm::RereadInputFiles() {
  Session1_.clear();
  Pump().pumpNow();
  QStringList names;
  for (int i = 0; i < ListView2->topLevelItemCount(); ++i) names << ListView2->topLevelItem(i)->text(0);
  ReadInputFiles(names, LoadRoad::Reread);
}

void TVarnopelForm::Button3ExecClick() {
  if (IsBusy() || Edit1InFile->text().trimmed().isEmpty() || Edit2OutFolder->text().trimmed().isEmpty() ||
      ListView2->topLevelItemCount() == 0) {
    return;
  }
  OperationScope operation(*this);
  if (ListView2->topLevelItemCount() > 1 && IsListView2Modified) RereadInputFiles();
  if (Session1_.lines().empty()) {
    StatusPanel1()->setText(QStringLiteral("分割する行がありません"));
    return;
  }

  const qint64 n = static_cast<qint64>(Session1_.lines().count());
  SplitPlan plan;
  if (RadioButton2Lines->isChecked()) plan = Session1_.plan(SplitMode::Lines, NumberBox2Lines->value());
  else if (RadioButton3Half->isChecked()) plan = Session1_.plan(SplitMode::Half, NumberBox3Half->value());
  else plan = Session1_.plan(SplitMode::Files, NumberBox1Files->value());
  // A listed plan needs a row per file: after a command-line load or a
  // restore the list is empty until something rebuilds it.
  if (plan.files <= kMostListedFiles && ListView1->topLevelItemCount() != plan.files) {
    if (!BuildOutputList(plan.files)) {
      StatusPanel1()->setText(FileNamePart(Edit1InFile->text()) + QStringLiteral(" の処理を打切りました"));
      return;
    }
  }

  EnableWorkControls(false);
  // The plan must stay as it was when the run started.
  for (QWidget* control : SplitModeControls()) control->setEnabled(false);
  SetFaceBackground(ListView1, false);
  PageControl1->setCurrentWidget(tsWriteOut1);
  Pump().pumpNow();
  ShowProgress(ProgressState::Normal, 0, n);
  ShowCancelButton(Button3Exec);
  EnableCloseCommand(false);
  SetBusyTab(tsWriteOut1, true);
  SetProgramCursor(Qt::BusyCursor);
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) ListView1->topLevelItem(i)->setText(1, QString());

  WindowSplitCallbacks callbacks(*this, plan.files);
  SplitResult result;
  QString failure;
  try {
    result = Session1_.run(plan, callbacks);
  } catch (const std::exception& error) {
    failure = QString::fromStdString(error.what());
  }

  HideCancelButton();
  EnableCloseCommand(true);
  SetBusyTab(tsWriteOut1, false);
  SetProgramCursor(Qt::ArrowCursor);
  for (QWidget* control : SplitModeControls()) control->setEnabled(true);
  const QString inputName = FileNamePart(Edit1InFile->text());
  if (!failure.isEmpty() || IsCanceled || result.canceled || result.lastDeclined) {
    StatusPanel1()->setText(inputName + QStringLiteral(" の処理を打切りました"));
  } else {
    StatusPanel1()->setText(Label1InFile->text() + QStringLiteral(" を ") + FormatCount(plan.files) +
                            (CheckBox3Distribute->isChecked() ? QStringLiteral(" ファイルに振分け出力しました")
                                                              : QStringLiteral(" ファイルに分割出力しました")));
  }
  EnableWorkControls(true);
  Button4Open->setEnabled(true);
  ListView1->setEnabled(true);
  if (!failure.isEmpty()) dialogs().errorBox(failure);
  if (!isActiveWindow()) FlashAndRestore(10, 500);
}

void TVarnopelForm::Button4OpenClick() {
  const QString folder = Edit2OutFolder->text();
  if (folder.trimmed().isEmpty()) return;
  if (ListView1->topLevelItemCount() == 1) ListView1->setCurrentItem(ListView1->topLevelItem(0));
  QTreeWidgetItem* selected = ListView1->currentItem();
  if (selected == nullptr || !selected->isSelected()) {
    shell().openDocument(folder);  // a failure here shows nothing
    return;
  }
  const QString path = selected->text(0);
  if (path.isEmpty()) return;
  if (QFileInfo(path).isFile()) {
    ShowInFileManager(path);
  } else {
    ShellOpen(path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1)));
  }
}

}  // namespace varnopel
