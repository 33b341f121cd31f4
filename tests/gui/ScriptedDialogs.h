#pragma once
// Dialogs for tests: answers come from a queue filled by the test, and every
// box records what it showed. A dialog asked for with no (or the wrong kind
// of) answer queued fails the running test and is answered with Cancel.
#include <QString>
#include <QStringList>
#include <QTest>

#include <deque>
#include <utility>

#include "dialogs/Dialogs.h"

namespace varnopel::test {

class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind {
    Information,
    Question,
    YesNoCancel,
    Overwrite,
    Error,
    OpenFiles,
    PickFolder,
    OpenFile,
    ChooseApplication,
    Properties,
    About
  };

  struct Shown {
    Kind kind;
    QString text;  // the message, or the start folder of a file dialog
  };

  // --- Answers, consumed in order ---
  void queueQuestion(bool yes) { push(Kind::Question, yes ? Answer::Yes : Answer::No); }
  void queueYesNoCancel(Answer answer) { push(Kind::YesNoCancel, answer); }
  void queueOverwrite(Answer answer) { push(Kind::Overwrite, answer); }
  // An empty list or path stands for a cancelled dialog.
  void queueOpenFiles(const QStringList& files) { push(Kind::OpenFiles, Answer::Yes, files); }
  void queuePickFolder(const QString& folder) { push(Kind::PickFolder, Answer::Yes, {folder}); }
  void queueOpenFile(const QString& file) { push(Kind::OpenFile, Answer::Yes, {file}); }
  // The Exec line of the chosen application; empty for a cancelled chooser.
  void queueChooseApplication(const QString& exec) { push(Kind::ChooseApplication, Answer::Yes, {exec}); }
  // Lists the chooser was given last: for the type, then all.
  QList<DesktopApplication> choiceForType, choiceAll;

  size_t pending() const { return queue_.size(); }
  const QList<Shown>& shown() const { return shown_; }
  QStringList texts(Kind kind) const {
    QStringList result;
    for (const Shown& s : shown_)
      if (s.kind == kind) result << s.text;
    return result;
  }
  void clearShown() { shown_.clear(); }

  // --- Dialogs ---
  void information(const QString& text) override { shown_.append({Kind::Information, text}); }
  bool question(const QString& text) override { return take(Kind::Question, text).answer == Answer::Yes; }
  Answer questionYesNoCancel(const QString& text) override { return take(Kind::YesNoCancel, text).answer; }
  Answer overwriteQuestion(const QString& text) override { return take(Kind::Overwrite, text).answer; }
  QStringList openFiles(const QString& startFolder) override { return take(Kind::OpenFiles, startFolder).paths; }
  QString pickFolder(const QString& startFolder) override { return take(Kind::PickFolder, startFolder).paths.value(0); }
  QString openFile(const QString& startFolder) override { return take(Kind::OpenFile, startFolder).paths.value(0); }
  DesktopApplication chooseApplication(const QString& path, const QList<DesktopApplication>& forType,
                                       const QList<DesktopApplication>& all) override {
    choiceForType = forType;
    choiceAll = all;
    return {QString(), QString(), take(Kind::ChooseApplication, path).paths.value(0), QString()};
  }
  void fileProperties(const QString& path) override { shown_.append({Kind::Properties, path}); }
  void aboutBox(const QString& text) override { shown_.append({Kind::About, text}); }

 protected:
  void showError(const QString& text) override { shown_.append({Kind::Error, text}); }

 private:
  struct Queued {
    Kind kind;
    Answer answer;
    QStringList paths;
  };

  void push(Kind kind, Answer answer, QStringList paths = {}) { queue_.push_back({kind, answer, std::move(paths)}); }

  Queued take(Kind kind, const QString& text) {
    shown_.append({kind, text});
    if (queue_.empty() || queue_.front().kind != kind) {
      static const char* const names[] = {
          "information box",  "yes/no question", "yes/no/cancel question", "overwrite question",  "error box",
          "file-open dialog", "folder picker",   "plain file-open dialog", "application chooser", "properties view",
          "About box"};
      const QByteArray message =
          QByteArray("no answer queued for the ") + names[static_cast<int>(kind)] + ": " + text.toUtf8();
      QTest::qFail(message.constData(), __FILE__, __LINE__);
      return {kind, Answer::Cancel, {}};
    }
    Queued answer = queue_.front();
    queue_.pop_front();
    return answer;
  }

  std::deque<Queued> queue_;
  QList<Shown> shown_;
};

}  // namespace varnopel::test
