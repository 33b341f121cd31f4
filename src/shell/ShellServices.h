#pragma once
// Every service of the desktop that the program uses, behind one interface:
// the freedesktop implementation in production, a recording fake in tests.
#include <QString>
#include <QStringList>

#include <functional>

#include "dialogs/DesktopApplication.h"

class QWidget;

namespace varnopel {

enum class ProgressState { None, Normal, Paused };

// The folders that shortcuts go to. The numbers are the program's own names
// for them and stay stable.
enum class SpecialFolder { Desktop = 0, Programs = 2, Startup = 7, SendTo = 9 };

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

  // The file manager's properties view of a file; false when none answers.
  virtual bool showItemProperties(const QString& path) = 0;
  // Lets the desktop portal ask the user for the application to open a file
  // with. 0 when the portal took the request, ENOSYS when no portal answers.
  // `failed` runs later if the chosen application could not be started; a
  // cancelled choice reports nothing.
  virtual int openWithPortal(QWidget* window, const QString& path, std::function<void()> failed) = 0;
  // Applications that declare the MIME type (the user's default first), and
  // every application that can be shown in a menu.
  virtual QList<DesktopApplication> applicationsFor(const QString& mimeType) = 0;
  virtual QList<DesktopApplication> allApplications() = 0;
  // Program and arguments that open a file in the user's text editor; empty
  // when there is none.
  virtual QStringList textEditorCommand(const QString& path) = 0;
  // Moves a file to the trash. 0 or an errno value.
  virtual int moveToTrash(const QString& path) = 0;
  // Where a special folder lies (it may not exist yet).
  virtual QString specialFolder(SpecialFolder which) = 0;
  // Lets the desktop start a desktop entry that the program wrote: the
  // executable bit, and the trusted mark where the desktop keeps one.
  virtual void markLaunchable(const QString& desktopEntry) = 0;
  // The full path of the running program.
  virtual QString programFile() = 0;

  // Receives failures that show only after openDocument returned.
  void setLateFailureHandler(std::function<void(int error, const QString& target)> handler) {
    lateFailure_ = std::move(handler);
  }

 protected:
  std::function<void(int, const QString&)> lateFailure_;
};

}  // namespace varnopel
