#pragma once
#include <QString>

namespace varnopel {

// An application as a desktop entry describes it: what the Open With chooser
// offers and the desktop services start.
struct DesktopApplication {
  QString id;    // file name of the entry, "org.example.App.desktop"
  QString name;  // localized name
  QString exec;  // the Exec line, field codes included
  QString icon;
};

}  // namespace varnopel
