// The busy state of long operations: work controls, cursor, Cancel button,
// progress display, close refusal and flashing.
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include "app/Icons.h"
#include "app/OperationScope.h"
#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"

namespace varnopel {

OperationScope::OperationScope(TVarnopelForm& form) : form_(form) {
  if (form_.Operations_++ == 0) {
    form_.ProgressBar1->setValue(0);
    form_.ProgressBar1->show();
  }
}

OperationScope::~OperationScope() {
  if (--form_.Operations_ == 0) form_.ProgressBar1->hide();
}

void TVarnopelForm::EnableWorkControls(bool enabled) {
  for (QWidget* control :
       {static_cast<QWidget*>(Button1InFile), static_cast<QWidget*>(Edit1InFile), static_cast<QWidget*>(Button6Reverse),
        static_cast<QWidget*>(Button5Random), static_cast<QWidget*>(Button7Ascend),
        static_cast<QWidget*>(Button8Descend), static_cast<QWidget*>(Button9Reload),
        static_cast<QWidget*>(Button10Compress), static_cast<QWidget*>(Button3Exec)}) {
    control->setEnabled(enabled);
  }
  // Menu commands that start operations follow their buttons: a second
  // operation must not start inside the first one's event processing.
  ReadFile1->setEnabled(enabled);
  SetProgramCursor(enabled ? Qt::ArrowCursor : Qt::WaitCursor);
}

void TVarnopelForm::EnableCloseCommand(bool enabled) { CloseCommandEnabled_ = enabled; }

void TVarnopelForm::FlashAndRestore(int /*count*/, int /*intervalMs*/) {
  // The desktop decides how the attention mark looks and clears it when the
  // window comes to the front.
  shell_->alert(this);
  if (isMinimized()) showNormal();
}

void TVarnopelForm::SetBusyTab(QWidget* tab, bool busy) {
  const int index = PageControl1->indexOf(tab);
  if (index < 0) return;
  PageControl1->setTabIcon(index, busy ? ThemeIcon(QStringLiteral("view-refresh")) : QIcon());
}

void TVarnopelForm::ShowProgress(ProgressState state, qint64 value, qint64 maximum) {
  ProgressState_ = state;
  ProgressValue_ = value;
  ProgressMaximum_ = maximum;
  UpdateProgressDisplay();
}

void TVarnopelForm::UpdateProgressDisplay() {
  if (ProgressState_ != ShownProgressState_ || ProgressValue_ != ShownProgressValue_ ||
      ProgressMaximum_ != ShownProgressMaximum_) {
    shell_->setProgress(ProgressState_, ProgressValue_, ProgressMaximum_);
    ShownProgressState_ = ProgressState_;
    ShownProgressValue_ = ProgressValue_;
    ShownProgressMaximum_ = ProgressMaximum_;
  }
  // The bar counts in thousandths so that 64-bit counts fit its int range.
  const int permille = ProgressMaximum_ > 0 ? static_cast<int>(ProgressValue_ * 1000 / ProgressMaximum_) : 0;
  ProgressBar1->setValue(std::clamp(permille, 0, 1000));
}

void TVarnopelForm::ShowCancelButton(QWidget* cover) {
  IsCanceled = false;
  if (cover != nullptr) {
    Button0Cancel->setMinimumSize(0, 0);
    Button0Cancel->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Button0Cancel->setGeometry(QRect(cover->mapTo(this, QPoint(0, 0)), cover->size()));
  } else {
    Button0Cancel->setFixedSize(kCancelWidth, kCancelHeight);
    PlaceButton0Cancel();
  }
  Button0Cancel->setEnabled(true);
  Button0Cancel->show();
  Button0Cancel->raise();
}

void TVarnopelForm::HideCancelButton() {
  Button0Cancel->setEnabled(false);
  Button0Cancel->hide();
}

void TVarnopelForm::Button0CancelClick() {
  IsCanceled = true;
  HideCancelButton();
  SetBusyTab(tsReadIn2, false);
  SetBusyTab(tsWriteOut1, false);
}

}  // namespace varnopel
