#pragma once
// The common frame of the window tests: a temporary folder, scripted
// dialogs, a recording shell, and the window with its settings kept in the
// folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "Widgets.h"
#include "app/TVarnopelForm.h"

namespace varnopel::test {

class FormFixture {
 protected:
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::shared_ptr<FakeShellServices> shell_;
  std::unique_ptr<TVarnopelForm> form_;
  std::unique_ptr<QTemporaryDir> temp_;

  // Call from init(): everything fresh.
  void resetFixture() {
    form_.reset();
    dialogs_ = std::make_shared<ScriptedDialogs>();
    shell_ = std::make_shared<FakeShellServices>();
    temp_ = std::make_unique<QTemporaryDir>();
  }

  // Call from cleanup(): no answer may be left unused.
  void finishFixture() {
    QCOMPARE(dialogs_->pending(), size_t(0));
    form_.reset();
  }

  // The window after its start with these command-line files, shown
  // unless `show` is false.
  TVarnopelForm& start(const QStringList& args = {}, bool show = true) {
    form_ = std::make_unique<TVarnopelForm>(dialogs_, shell_);
    form_->setSettingsPaths(temp_->filePath(QStringLiteral("settings.ini")),
                            temp_->filePath(QStringLiteral("fallback.ini")));
    form_->FormCreate(args);
    if (show) form_->show();
    return *form_;
  }

  // A file in the test's folder (its subfolders made as needed).
  QString write(const QString& name, const QByteArray& bytes = "a\nb\n") {
    const QString path = temp_->filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
  }
  QByteArray read(const QString& name) const {
    QFile f(temp_->filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QStringList lines() const {
    QStringList out;
    for (size_t i = 0; i < form_->session().lines().count(); ++i) {
      const std::string_view line = form_->session().lines()[i];
      out << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    return out;
  }
  QString status() const { return named<QLabel>(*form_, "StatusPanel1")->text(); }
};

}  // namespace varnopel::test
