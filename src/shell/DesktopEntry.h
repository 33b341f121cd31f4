#pragma once
// Desktop entry files (".desktop"): reading, the quoting of Exec lines and
// the escaping of values, as the Desktop Entry rules have them.
#include <QMap>
#include <QString>
#include <QStringList>

namespace varnopel {

struct DesktopEntry {
  // Keys of the [Desktop Entry] group, values already unescaped.
  QMap<QString, QString> values;

  QString value(const QString& key) const { return values.value(key); }
  // The value for the user's language ("Name[ja]"), else the plain one.
  QString localized(const QString& key) const;
  bool flag(const QString& key) const { return values.value(key) == QStringLiteral("true"); }
};

// Reads the [Desktop Entry] group of a file; false when the file cannot be
// read or has no such group.
bool ReadDesktopEntry(const QString& path, DesktopEntry& entry);

// One argument of an Exec line: always in double quotes, with the four
// characters that stay special inside them escaped, and "%" doubled.
QString QuoteExecArgument(const QString& argument);
// A value as written in the file: backslash, line breaks and tabs escaped.
QString EscapeDesktopValue(const QString& value);
QString UnescapeDesktopValue(const QString& value);

// The words of an Exec line with quotes removed; field codes stay as they are.
QStringList SplitExec(const QString& exec);
// Program and arguments that open `file` with an Exec line: %f and %F give
// the path, %u and %U its URL, "%%" a percent sign, other codes vanish. When
// the line has no file code the path is added at the end, so the chosen
// program always gets the file.
QStringList ExpandExec(const QString& exec, const QString& file);

// What a desktop entry or a symbolic link points to: an Application entry
// gives its program (the first word of Exec), a Link entry its URL (a local
// path for file URLs), a symbolic link its target. Anything else, or an
// entry that does not read, gives the path itself.
QString ResolveShortcut(const QString& path);

}  // namespace varnopel
