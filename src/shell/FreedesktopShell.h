#pragma once
#include <QObject>

#include "shell/ShellServices.h"

namespace varnopel {

// xdg-open, QProcess, the file manager and the launcher entry over D-Bus.
class FreedesktopShell : public ShellServices {
 public:
  int openDocument(const QString& target) override;
  int startProgram(const QString& program, const QStringList& arguments) override;
  bool showItems(const QStringList& paths) override;
  void setProgress(ProgressState state, qint64 value, qint64 maximum) override;
  void alert(QWidget* window) override;
  bool showItemProperties(const QString& path) override;
  int openWithPortal(QWidget* window, const QString& path, std::function<void()> failed) override;
  QList<DesktopApplication> applicationsFor(const QString& mimeType) override;
  QList<DesktopApplication> allApplications() override;
  QStringList textEditorCommand(const QString& path) override;
  int moveToTrash(const QString& path) override;
  QString specialFolder(SpecialFolder which) override;
  void markLaunchable(const QString& desktopEntry) override;
  QString programFile() override;

 private:
  // Context of the callbacks of started openers and portal requests: they
  // are dropped with the services instead of running on a destroyed object.
  QObject guard_;
};

}  // namespace varnopel
