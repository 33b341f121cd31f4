#pragma once
// Records what the program asks of the desktop; starts nothing.
#include <QStringList>

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

  QStringList opened;
  QList<QStringList> started;  // program, then its arguments
  QList<QStringList> shownItems;
  QList<Progress> progress;
  int alerts = 0;

  int openDocument(const QString& target) override {
    opened << target;
    return openResult;
  }
  int startProgram(const QString& program, const QStringList& arguments) override {
    started << (QStringList{program} + arguments);
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

  // Reports a failure that the opener would show only later.
  void failLater(int error, const QString& target) {
    if (lateFailure_) lateFailure_(error, target);
  }
};

}  // namespace varnopel::test
