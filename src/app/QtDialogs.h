#pragma once
#include <QPointer>
#include <QWidget>

#include "dialogs/Dialogs.h"

namespace varnopel {

// The real boxes and file dialogs, owned by the main window.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }

  void information(const QString& text) override;
  bool question(const QString& text) override;
  Answer questionYesNoCancel(const QString& text) override;
  Answer overwriteQuestion(const QString& text) override;
  QStringList openFiles(const QString& startFolder) override;
  QString pickFolder(const QString& startFolder) override;
  QString openFile(const QString& startFolder) override;
  DesktopApplication chooseApplication(const QString& path, const QList<DesktopApplication>& forType,
                                       const QList<DesktopApplication>& all) override;
  void fileProperties(const QString& path) override;
  void aboutBox(const QString& text) override;

 protected:
  void showError(const QString& text) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace varnopel
