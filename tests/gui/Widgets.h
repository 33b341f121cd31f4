#pragma once
// The window's controls as the tests reach them: by type and objectName,
// the names the window gives them.
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace varnopel::test {

// The child of `form` of type T named `name`. A missing one ends the test
// program, naming it: every later step would fail on it anyway.
template <class T>
T* named(const QObject& form, const char* name) {
  T* found = form.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) qFatal("no %s named %s", T::staticMetaObject.className(), name);
  return found;
}

}  // namespace varnopel::test
