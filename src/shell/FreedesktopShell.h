#pragma once
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
};

}  // namespace varnopel
