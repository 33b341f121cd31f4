#pragma once
// Records what the program asks of the desktop; starts nothing.
#include <QFile>
#include <QMap>
#include <QStringList>

#include <cerrno>

#include "shell/ShellServices.h"

namespace varnopel::test {

class FakeShellServices : public ShellServices {
 public:
  struct Progress {
    ProgressState state;
    qint64 value;
    qint64 maximum;
  };

  // Results the next calls give: 0 for success or an errno value.
  int openResult = 0;
  int startResult = 0;
  bool showItemsResult = true;

  bool propertiesResult = true;
  // ENOSYS lets the program show its own chooser.
  int portalResult = ENOSYS;
  int trashResult = 0;
  QList<DesktopApplication> applicationsForType;
  QList<DesktopApplication> applications;
  QStringList textEditor{QStringLiteral("/usr/bin/editor")};
  QMap<SpecialFolder, QString> folders;
  QString program = QStringLiteral("/opt/varnopel/bin/varnopel");

  QStringList opened;
  QList<QStringList> started;  // program, then its arguments
  QList<QStringList> shownItems;
  QList<Progress> progress;
  int alerts = 0;
  QStringList propertiesShown;
  QStringList portalAsked;
  std::function<void()> portalFailed;  // what the portal would call on failure
  QStringList queriedTypes;
  QStringList trashed;  // only the successful moves
  QStringList launchable;

  int openDocument(const QString& target) override {
    opened << target;
    return openResult;
  }
  int startProgram(const QString& executable, const QStringList& arguments) override {
    started << (QStringList{executable} + arguments);
    return startResult;
  }
  bool showItems(const QStringList& paths) override {
    shownItems << paths;
    return showItemsResult;
  }
  void setProgress(ProgressState state, qint64 value, qint64 maximum) override {
    progress.append({state, value, maximum});
  }
  void alert(QWidget*) override { ++alerts; }
  bool showItemProperties(const QString& path) override {
    propertiesShown << path;
    return propertiesResult;
  }
  int openWithPortal(QWidget*, const QString& path, std::function<void()> failed) override {
    portalAsked << path;
    portalFailed = std::move(failed);
    return portalResult;
  }
  QList<DesktopApplication> applicationsFor(const QString& mimeType) override {
    queriedTypes << mimeType;
    return applicationsForType;
  }
  QList<DesktopApplication> allApplications() override { return applications; }
  QStringList textEditorCommand(const QString& path) override {
    return textEditor.isEmpty() ? QStringList{} : textEditor + QStringList{path};
  }
  // Moves the file away for real (the tests' folders are temporary), so
  // that the program sees it gone.
  int moveToTrash(const QString& path) override {
    if (trashResult != 0) return trashResult;
    if (!QFile::remove(path)) return EACCES;
    trashed << path;
    return 0;
  }
  QString specialFolder(SpecialFolder which) override { return folders.value(which); }
  void markLaunchable(const QString& desktopEntry) override { launchable << desktopEntry; }
  QString programFile() override { return program; }

  // Reports a failure that the opener would show only later.
  void failLater(int error, const QString& target) {
    if (lateFailure_) lateFailure_(error, target);
  }
};

}  // namespace varnopel::test
