#include "app/Icons.h"

#include <QFile>

// The drawings live in a static library, so their registration has to be
// pulled in by hand.
static void LoadBundledIcons() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  Q_UNUSED(loaded);
}

namespace varnopel {

QIcon ThemeIcon(const QString& name) {
  LoadBundledIcons();
  const QString bundled = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
  return QIcon::fromTheme(name, QFile::exists(bundled) ? QIcon(bundled) : QIcon());
}

QIcon ApplicationIcon() {
  LoadBundledIcons();
  return QIcon::fromTheme(QStringLiteral("varnopel"), QIcon(QStringLiteral(":/icons/varnopel.svg")));
}

}  // namespace varnopel
