#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <vector>

#include "app/ProgramOptions.h"
#include "app/QtDialogs.h"
#include "app/QtTranslations.h"
#include "app/TVarnopelForm.h"
#include "shell/FreedesktopShell.h"

int main(int argc, char* argv[]) {
  const varnopel::ProgramOptions options = varnopel::ParseProgramOptions(argc, argv);
  if (options.action != varnopel::ProgramOptions::Action::Open) {
    const std::string text = options.action == varnopel::ProgramOptions::Action::Help ? varnopel::ProgramHelpText()
                                                                                      : varnopel::ProgramVersionText();
    const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : 1;
  }
  // Qt sees the arguments before "--" only; the rest are files as they are.
  int qtArgc = options.qtCount;
  std::vector<char*> qtArgv(argv, argv + qtArgc);
  qtArgv.push_back(nullptr);
  QApplication app(qtArgc, qtArgv.data());
  QApplication::setApplicationName(QStringLiteral("varnopel"));
  QApplication::setDesktopFileName(QStringLiteral("varnopel"));
  // Qt's own buttons and file dialog speak the user's language when Qt's
  // translations are installed; otherwise they stay English.
  varnopel::InstallQtTranslations(app, QLocale::system());

  auto dialogs = std::make_shared<varnopel::QtDialogs>();
  varnopel::TVarnopelForm form(dialogs, std::make_shared<varnopel::FreedesktopShell>());
  dialogs->setOwner(&form);
  QStringList args = QApplication::arguments();
  args.removeFirst();
  for (const std::string& file : options.filesAfterEnd) args << QString::fromLocal8Bit(file);
  form.FormCreate(args);
  form.show();
  return app.exec();
}
