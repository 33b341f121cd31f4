// The Help menu: the help page, the About box, the program's properties and
// the maker's pages.
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>

#include "app/TVarnopelForm.h"
#include "shell/HelpAbout.h"

namespace varnopel {

void TVarnopelForm::Help2Click() {
  QString name;
  const QString page = FindHelpFile(shell_->programFile(), HelpInstallFolder, &name);
  if (page.isEmpty()) {
    dialogs_->information(QStringLiteral("ヘルプファイルがありません\r\n\r\n") + name);
    return;
  }
  ShellOpen(page);
}

void TVarnopelForm::About1Click() {
  int width = 0, height = 0, dpi = 96;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    width = screen->geometry().width();
    height = screen->geometry().height();
    dpi = qRound(screen->logicalDotsPerInch());
  }
  // The date line runs on the true UTC clock: the local clock's repeated
  // hour in autumn would make it ambiguous.
  dialogs_->aboutBox(AboutText(shell_->programFile(), width, height, dpi, QDateTime::currentDateTimeUtc()));
}

void TVarnopelForm::Properties1Click() { ShowFileProperties(shell_->programFile()); }

void TVarnopelForm::Donation1Click() { ShellOpen(QString::fromLatin1(kMakerSupportPage)); }

void TVarnopelForm::HomeSite1Click() { ShellOpen(QString::fromLatin1(kMakerHomePage)); }

}  // namespace varnopel
