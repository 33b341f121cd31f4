#include "dialogs/Dialogs.h"

namespace varnopel {

QString Dialogs::caption() { return QStringLiteral("ヴァルノペル"); }

QString Dialogs::displayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QString Dialogs::withFullStop(const QString& text) {
  if (!text.isEmpty() && text.back().unicode() > u'.') return text + u'.';
  return text;
}

}  // namespace varnopel
