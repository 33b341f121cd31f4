// Reverse, shuffle, the two sorts, duplicate removal and restore.
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/OperationScope.h"
#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"

namespace varnopel {

void TVarnopelForm::RunReordering(const QString& busyText, const QString& doneText, bool progress, bool cancelButton,
                                  const std::function<void()>& work) {
  if (IsBusy()) return;
  OperationScope operation(*this);
  EnableWorkControls(false);
  StatusPanel1()->setText(busyText);
  Pump().pumpNow();
  if (progress) {
    ShowProgress(ProgressState::Normal, 1, 2);
    Pump().pumpNow();
  }
  if (cancelButton) ShowCancelButton();
  // The work itself runs to its end: the list is always wholly reordered.
  work();
  if (progress) ShowProgress(ProgressState::Normal, 2, 2);
  if (cancelButton) HideCancelButton();
  EnableWorkControls(true);
  StatusPanel1()->setText(Label1InFile->text() + doneText);
}

void TVarnopelForm::Button6ReverseClick() {
  RunReordering(QStringLiteral("逆順に反転中"), QStringLiteral(" の内容を逆順に反転しました"), true, true,
                [this] { Session1_.reverse(); });
}

void TVarnopelForm::Button5RandomClick() {
  RunReordering(QStringLiteral("乱順に撹拌中"), QStringLiteral(" の内容を乱順に撹拌しました"), true, true, [this] {
    SetProgramCursor(Qt::BusyCursor);
    Session1_.shuffle(Random1);
  });
}

void TVarnopelForm::Button7AscendClick() {
  const SortOrder order = mmSortNum1->isChecked() ? SortOrder::Numeric : SortOrder::Dictionary;
  RunReordering(QStringLiteral("昇順に整列中"), QStringLiteral(" の内容を昇順に整列しました"), false, false,
                [this, order] { Session1_.sort(order, false); });
}

void TVarnopelForm::Button8DescendClick() {
  const SortOrder order = mmSortNum1->isChecked() ? SortOrder::Numeric : SortOrder::Dictionary;
  RunReordering(QStringLiteral("降順に整列中"), QStringLiteral(" の内容を降順に整列しました"), true, false,
                [this, order] { Session1_.sort(order, true); });
}

void TVarnopelForm::Button10CompressClick() {
  if (IsBusy()) return;
  OperationScope operation(*this);
  EnableWorkControls(false);
  StatusPanel1()->setText(QStringLiteral("重複を圧縮中"));
  Pump().pumpNow();
  const qint64 n = static_cast<qint64>(Session1_.lines().count());
  ShowProgress(ProgressState::Normal, 0, n);
  ShowCancelButton();
  SetProgramCursor(Qt::BusyCursor);
  const DedupResult result = Session1_.removeDuplicates([this](int64_t i, bool repeated) {
    SetProgressState(repeated ? ProgressState::Paused : ProgressState::Normal);
    SetProgressValue(i);
    Pump().poll();
    return IsCanceled;
  });
  HideCancelButton();
  SetProgramCursor(Qt::ArrowCursor);
  ShowProgress(ProgressState::Normal, 0, n);
  EnableWorkControls(true);
  if (result.canceled) {
    // The list is left as it was before the removal.
    StatusPanel1()->setText(QStringLiteral("重複の除去を打切りました"));
    return;
  }
  StatusPanel1()->setText(QStringLiteral("重複を除去しました ") + FormatCount(n) + QStringLiteral(" 行 - ") +
                          FormatCount(result.removed) + QStringLiteral(" 行 = ") +
                          FormatCount(static_cast<qint64>(Session1_.lines().count())) + QStringLiteral(" 行"));
}

void TVarnopelForm::Button9ReloadClick() {
  if (IsBusy()) return;
  EnableWorkControls(false);
  QStringList names;
  for (int i = 0; i < ListView2->topLevelItemCount(); ++i) names << ListView2->topLevelItem(i)->text(0);
  ListView2->clear();
  SetFaceBackground(ListView2, false);
  Pump().pumpNow();
  ReadInputFiles(names, LoadRoad::Restore);
  EnableWorkControls(true);
  StatusPanel1()->setText(QStringLiteral("復元しました"));
  RefreshAfterLoad(true);
}

}  // namespace varnopel
