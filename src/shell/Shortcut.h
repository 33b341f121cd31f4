#pragma once
// The shortcut files that the program writes: desktop entries, and in the
// Send To (file manager scripts) folder a symbolic link.
#include <QDateTime>
#include <QLocale>
#include <QString>

#include "shell/ShellServices.h"

namespace varnopel {

// "ヴァルノペル" for the program itself (an exact comparison of the paths),
// else the target's file name; ".desktop" follows except in Send To, whose
// entries are symbolic links named as the file manager shows them.
QString ShortcutFileName(SpecialFolder folder, const QString& target, const QString& programFile);

// "2024/05/01 09:08:07 Created by varnopel V2.6", with the locale's date and
// time separators.
QString ShortcutDescription(const QDateTime& now, const QString& programFile, const QLocale& locale);
// The temporary folder, symbolic links resolved, ending in "/".
QString ShortcutWorkingFolder();

struct ShortcutContents {
  QString name;
  QString target;
  bool isProgram = false;  // the target runs itself; other files open in their application
  QString workingFolder;
  QString description;
  QString icon;
};

// The text of the desktop entry, lines ending in "\n".
QString DesktopEntryText(const ShortcutContents& contents);

}  // namespace varnopel
