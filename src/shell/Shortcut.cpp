#include "shell/Shortcut.h"

#include <QDir>
#include <QFileInfo>

#include "shell/DesktopEntry.h"
#include "shell/HelpAbout.h"

namespace varnopel {

namespace {

// The first character of a format that is no field letter and no quote.
QChar Separator(const QString& format, QChar fallback) {
  for (QChar c : format)
    if (!c.isLetter() && c != u'\'' && !c.isSpace()) return c;
  return fallback;
}

}  // namespace

QString ShortcutFileName(SpecialFolder folder, const QString& target, const QString& programFile) {
  QString name = target == programFile ? QStringLiteral("ヴァルノペル") : QFileInfo(target).fileName();
  if (folder != SpecialFolder::SendTo) name += QStringLiteral(".desktop");
  return name;
}

QString ShortcutDescription(const QDateTime& now, const QString& programFile, const QLocale& locale) {
  const QChar date = Separator(locale.dateFormat(QLocale::ShortFormat), u'/');
  const QChar time = Separator(locale.timeFormat(QLocale::ShortFormat), u':');
  const QString stamp = now.toString(QStringLiteral("yyyy%1MM%1dd HH%2mm%2ss").arg(date, time));
  return stamp + QStringLiteral(" Created by ") + QFileInfo(programFile).completeBaseName() + u' ' +
         QString::fromLatin1(kProgramVersionText);
}

QString ShortcutWorkingFolder() {
  QString folder = QFileInfo(QDir::tempPath()).canonicalFilePath();
  if (folder.isEmpty()) folder = QDir::tempPath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

QString DesktopEntryText(const ShortcutContents& c) {
  QString exec = QuoteExecArgument(c.target);
  // A document has no program of its own: open it as a double click would.
  if (!c.isProgram) exec = QStringLiteral("xdg-open ") + exec;
  QString text = QStringLiteral("[Desktop Entry]\n");
  text += QStringLiteral("Type=Application\n");
  text += QStringLiteral("Name=") + EscapeDesktopValue(c.name) + u'\n';
  text += QStringLiteral("Exec=") + EscapeDesktopValue(exec) + u'\n';
  text += QStringLiteral("Path=") + EscapeDesktopValue(c.workingFolder) + u'\n';
  text += QStringLiteral("Comment=") + EscapeDesktopValue(c.description) + u'\n';
  if (!c.icon.isEmpty()) text += QStringLiteral("Icon=") + EscapeDesktopValue(c.icon) + u'\n';
  text += QStringLiteral("Terminal=false\n");
  return text;
}

}  // namespace varnopel
