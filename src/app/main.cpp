#include <QApplication>
#include <QStringList>

#include <memory>

#include "app/QtDialogs.h"
#include "app/TVarnopelForm.h"
#include "shell/FreedesktopShell.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("varnopel"));
  QApplication::setDesktopFileName(QStringLiteral("varnopel"));

  auto dialogs = std::make_shared<varnopel::QtDialogs>();
  varnopel::TVarnopelForm form(dialogs, std::make_shared<varnopel::FreedesktopShell>());
  dialogs->setOwner(&form);
  QStringList args = QApplication::arguments();
  args.removeFirst();
  form.FormCreate(args);
  form.show();
  return app.exec();
}
