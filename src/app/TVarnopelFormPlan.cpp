// The split plan: the three modes with their number boxes and labels, the
// output file names and the output list.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cmath>

#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"
#include "split/OutputFileName.h"

namespace varnopel {

QString TVarnopelForm::FilesLabelText(qint64 files) const {
  return FormatCount(LinesPerFile(static_cast<int32_t>(files))) + QStringLiteral(" 行 x ") + FormatCount(files) +
         QStringLiteral(" ファイル");
}

QString TVarnopelForm::LinesLabelText(qint64 lines) const {
  return FormatCount(lines) + QStringLiteral(" 行 x ") + FormatCount(FilesForLines(static_cast<int32_t>(lines))) +
         QStringLiteral(" ファイル");
}

QString TVarnopelForm::HalfLabelText(qint64 half) const {
  return FormatCount(half) + QStringLiteral(" 行 + ") +
         FormatCount(static_cast<qint64>(session().lines().count()) - half) + QStringLiteral(" 行");
}

QString TVarnopelForm::OutputFileName(qint64 number) const {
  return QString::fromStdString(
      varnopel::OutputFileName(Edit2OutFolder->text().toStdString(), Edit1InFile->text().toStdString(), number));
}

bool TVarnopelForm::BuildOutputList(qint64 files) {
  if (Refreshing_) return true;
  // Nothing to plan with no lines (the number boxes are greyed then).
  if (files > kMostListedFiles || NumberBox1Files->value() == 0 || NumberBox2Lines->value() == 0 ||
      session().lines().empty()) {
    ListView1->clear();
    StatusPanel1()->clear();
    return true;
  }
  const bool showing = isVisible();
  if (showing) StatusPanel1()->setText(QStringLiteral("出力ファイル一覧を作成中"));
  SetProgramCursor(Qt::WaitCursor);
  ListView1->setUpdatesEnabled(false);
  ListView1->clear();
  SetFaceBackground(ListView1, false);
  QString refused;
  try {
    for (qint64 k = 1; k <= files; ++k) {
      AddOutputRow(ListView1, OutputFileName(k));
      Pump().step();
    }
  } catch (const InvalidPathError& error) {
    refused = QString::fromStdString(error.what());
  }
  if (showing) {
    StatusPanel1()->setText(QStringLiteral("出力ファイル一覧 ") + QString::number(ListView1->topLevelItemCount()) +
                            QStringLiteral("行 を作成しました"));
  }
  SetProgramCursor(IsBusy() ? Qt::WaitCursor : Qt::ArrowCursor);
  ListView1->setUpdatesEnabled(true);
  if (!refused.isEmpty()) {
    dialogs().errorBox(refused);
    return false;
  }
  FitListColumns(ListView1);
  if (PageControl1->currentWidget() != tsWriteOut1) PageControl1->setCurrentWidget(tsWriteOut1);
  return true;
}

QList<QWidget*> TVarnopelForm::SplitModeControls() const {
  return {RadioButton1Files, RadioButton2Lines, RadioButton3Half, NumberBox1Files, NumberBox2Lines, NumberBox3Half};
}

void TVarnopelForm::SetSpinStep(NumberBox* box) {
  const int digits = static_cast<int>(box->lineEdit()->text().size());
  box->setSingleStep(digits <= 2 ? 1 : static_cast<int>(std::pow(10, digits - 2)));
}

void TVarnopelForm::NumberBox1FilesChange() {
  RadioButton1Files->setChecked(true);
  const int files = NumberBox1Files->value();
  label1Files->setText(FilesLabelText(files));
  BuildOutputList(files);
}

void TVarnopelForm::NumberBox2LinesChange() {
  // The box's minimum of 1 already keeps the value from falling below it.
  RadioButton2Lines->setChecked(true);
  SetSpinStep(NumberBox2Lines);
  const int lines = NumberBox2Lines->value();
  Label2Lines->setText(LinesLabelText(lines));
  BuildOutputList(FilesForLines(lines));
}

void TVarnopelForm::NumberBox3HalfChange() {
  RadioButton3Half->setChecked(true);
  Label25Half->setText(HalfLabelText(NumberBox3Half->value()));
  SetSpinStep(NumberBox3Half);
  Pump().step();
  BuildOutputList(2);
}

void TVarnopelForm::RadioButton1FilesClick() {
  if (!isVisible()) return;
  label1Files->setEnabled(true);
  Label2Lines->setEnabled(false);
  Label25Half->setEnabled(false);
  BuildOutputList(NumberBox1Files->value());
}

void TVarnopelForm::RadioButton2LinesClick() {
  if (!isVisible()) return;
  Label2Lines->setEnabled(true);
  label1Files->setEnabled(false);
  Label25Half->setEnabled(false);
  BuildOutputList(FilesForLines(NumberBox2Lines->value()));
}

void TVarnopelForm::RadioButton3HalfClick() {
  if (!isVisible()) return;
  Label25Half->setEnabled(true);
  label1Files->setEnabled(false);
  Label2Lines->setEnabled(false);
  BuildOutputList(2);
}

}  // namespace varnopel
