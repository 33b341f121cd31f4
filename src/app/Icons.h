#pragma once
#include <QIcon>

namespace varnopel {

// An icon of the desktop's theme, else the drawing bundled with the program
// under the same name (":/icons/<name>.svg"), else a null icon.
QIcon ThemeIcon(const QString& name);
// The program's own icon: the installed one, else the bundled one.
QIcon ApplicationIcon();

}  // namespace varnopel
