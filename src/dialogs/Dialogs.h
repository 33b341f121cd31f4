#pragma once
// Every box and file dialog the window shows goes through this interface, so
// that the window can be driven by scripted answers in tests.
#include <QString>
#include <QStringList>

#include <QList>

#include "dialogs/DesktopApplication.h"

namespace varnopel {

class Dialogs {
 public:
  // Answers of the yes/no/cancel and the overwrite questions.
  enum class Answer { Yes, No, Cancel, YesToAll };

  virtual ~Dialogs() = default;

  // Caption of every box: the application title.
  static QString caption();
  // The program writes line breaks as "\r\n"; boxes show plain "\n".
  static QString displayText(const QString& text);
  // Error texts end in a full stop unless their last character sorts at or
  // below "." (so "…!" or "…)" stay as they are, Japanese text gets one).
  static QString withFullStop(const QString& text);

  // Message without icon, OK only.
  virtual void information(const QString& text) = 0;
  // Question icon, Yes is the default. true for Yes.
  virtual bool question(const QString& text) = 0;
  // Yes, No or Cancel.
  virtual Answer questionYesNoCancel(const QString& text) = 0;
  // Yes, No, Cancel or YesToAll, for replacing an existing file.
  virtual Answer overwriteQuestion(const QString& text) = 0;
  // Error box with OK; the full-stop rule is applied here for every caller.
  void errorBox(const QString& text) { showError(withFullStop(text)); }

  // Existing files, several at once; empty when cancelled.
  virtual QStringList openFiles(const QString& startFolder) = 0;
  // A folder; empty when cancelled.
  virtual QString pickFolder(const QString& startFolder) = 0;
  // One existing file; empty when cancelled.
  virtual QString openFile(const QString& startFolder) = 0;
  // The Open-With chooser: the applications for the file's type, all
  // applications, and a way to pick any program. The chosen application, or
  // one with an empty exec when cancelled.
  virtual DesktopApplication chooseApplication(const QString& path, const QList<DesktopApplication>& forType,
                                               const QList<DesktopApplication>& all) = 0;
  // Our own properties view of a file, for desktops without one.
  virtual void fileProperties(const QString& path) = 0;
  // The About box with its text; modal.
  virtual void aboutBox(const QString& text) = 0;

 protected:
  virtual void showError(const QString& text) = 0;
};

}  // namespace varnopel
