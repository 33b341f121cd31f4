#include "app/QtDialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace varnopel {

namespace {

// Our own captions: the question boxes speak Japanese whatever Qt's
// translations are.
QPushButton* AddYes(QMessageBox& box) { return box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole); }
QPushButton* AddNo(QMessageBox& box) { return box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole); }
QPushButton* AddCancel(QMessageBox& box) {
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setEscapeButton(cancel);
  return cancel;
}

// Boxes open centred on the screen, not on the window.
int run(QMessageBox& box) {
  box.adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    box.move(area.center() - box.rect().center());
  }
  return box.exec();
}

}  // namespace

void QtDialogs::information(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption(), displayText(text), QMessageBox::Ok, owner_);
  run(box);
}

bool QtDialogs::question(const QString& text) {
  QMessageBox box(QMessageBox::Question, caption(), displayText(text), QMessageBox::NoButton, owner_);
  QPushButton* yes = AddYes(box);
  QPushButton* no = AddNo(box);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  run(box);
  return box.clickedButton() == yes;
}

Dialogs::Answer QtDialogs::questionYesNoCancel(const QString& text) {
  QMessageBox box(QMessageBox::Question, caption(), displayText(text), QMessageBox::NoButton, owner_);
  QPushButton* yes = AddYes(box);
  QPushButton* no = AddNo(box);
  AddCancel(box);
  box.setDefaultButton(yes);
  run(box);
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  return Answer::Cancel;
}

Dialogs::Answer QtDialogs::overwriteQuestion(const QString& text) {
  QMessageBox box(QMessageBox::Question, caption(), displayText(text), QMessageBox::NoButton, owner_);
  QPushButton* yes = AddYes(box);
  QPushButton* no = AddNo(box);
  AddCancel(box);
  QPushButton* all = box.addButton(QStringLiteral("すべてはい(&A)"), QMessageBox::YesRole);
  box.setDefaultButton(yes);
  run(box);
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked == yes) return Answer::Yes;
  if (clicked == no) return Answer::No;
  if (clicked == all) return Answer::YesToAll;
  return Answer::Cancel;
}

void QtDialogs::showError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption(), displayText(text), QMessageBox::Ok, owner_);
  run(box);
}

QStringList QtDialogs::openFiles(const QString& startFolder) {
  QFileDialog dialog(owner_, QString(), startFolder);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString QtDialogs::pickFolder(const QString& startFolder) {
  return QFileDialog::getExistingDirectory(owner_, QString(), startFolder);
}

QString QtDialogs::openFile(const QString& startFolder) {
  return QFileDialog::getOpenFileName(owner_, QString(), startFolder);
}

}  // namespace varnopel
