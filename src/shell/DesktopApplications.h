#pragma once
// The applications installed for the user, read from the desktop entries in
// the XDG data folders and the MIME defaults in mimeapps.list.
#include <QList>
#include <QString>
#include <QStringList>

#include "shell/ShellServices.h"

namespace varnopel {

// Applications that declare the type or one of its parent types, the
// user's default first, then by name. Hidden entries are left out.
QList<DesktopApplication> ApplicationsForType(const QString& mimeType);
// Every application shown in menus, by name.
QList<DesktopApplication> AllDesktopApplications();
// The command that opens `path` in the default text editor: the default
// application of text/plain, else the first of the usual editors installed.
QStringList TextEditorCommand(const QString& path);

}  // namespace varnopel
