#pragma once
// Qt's own texts (dialog buttons, the file dialog) in the user's language.
#include <QLocale>

class QCoreApplication;

namespace varnopel {

// Installs Qt's translation for `locale` on `app`. False when there is none
// (the package with Qt's translations is optional): Qt's English remains.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace varnopel
