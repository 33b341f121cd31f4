#pragma once
// Every service of the desktop that the program uses, behind one interface:
// the freedesktop implementation in production, a recording fake in tests.
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace varnopel {

enum class ProgressState { None, Normal, Paused };

class ShellServices {
 public:
  virtual ~ShellServices() = default;

  // Opens a document, folder or URL with the desktop's default application.
  // Returns 0 when it started, else an errno value. A failure that shows only
  // later (the opener exits non-zero within a few seconds) is passed to
  // `lateFailure`, if set.
  virtual int openDocument(const QString& target) = 0;
  // Starts a program with arguments (never re-quoted). 0 or an errno value.
  virtual int startProgram(const QString& program, const QStringList& arguments) = 0;
  // Shows the files selected in the file manager; false when no file manager answers.
  virtual bool showItems(const QStringList& paths) = 0;
  // Progress of the running operation on the launcher entry of the desktop.
  virtual void setProgress(ProgressState state, qint64 value, qint64 maximum) = 0;
  // Marks the window for the user's attention until it comes to the front.
  virtual void alert(QWidget* window) = 0;

  // Receives failures that show only after openDocument returned.
  void setLateFailureHandler(std::function<void(int error, const QString& target)> handler) {
    lateFailure_ = std::move(handler);
  }

 protected:
  std::function<void(int, const QString&)> lateFailure_;
};

}  // namespace varnopel
