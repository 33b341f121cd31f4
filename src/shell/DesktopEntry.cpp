#include "shell/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace varnopel {

QString DesktopEntry::localized(const QString& key) const {
  const QString name = QLocale().name();  // "ja_JP"
  for (const QString& tag : {name, name.section(u'_', 0, 0)}) {
    const QString found = values.value(key + u'[' + tag + u']');
    if (!found.isEmpty()) return found;
  }
  return values.value(key);
}

namespace {

// Only blanks, tabs and line ends surround keys and values: other white
// space (a no-break or ideographic space) belongs to the value.
QString TrimBlanks(const QString& text) {
  auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

}  // namespace

bool ReadDesktopEntry(const QString& path, DesktopEntry& entry) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  bool inGroup = false;
  bool found = false;
  entry.values.clear();
  while (!file.atEnd()) {
    const QString line = TrimBlanks(QString::fromUtf8(file.readLine()));
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      inGroup = line == QStringLiteral("[Desktop Entry]");
      found = found || inGroup;
      continue;
    }
    if (!inGroup) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) continue;
    const QString key = TrimBlanks(line.left(equals));
    // The first occurrence of a key counts.
    if (!entry.values.contains(key)) entry.values.insert(key, UnescapeDesktopValue(TrimBlanks(line.mid(equals + 1))));
  }
  return found;
}

QString QuoteExecArgument(const QString& argument) {
  QString quoted = QStringLiteral("\"");
  for (QChar c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    quoted += c;
    if (c == u'%') quoted += u'%';
  }
  return quoted + u'"';
}

QString EscapeDesktopValue(const QString& value) {
  QString escaped;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == u'\\') escaped += QStringLiteral("\\\\");
    else if (c == u'\n') escaped += QStringLiteral("\\n");
    else if (c == u'\r') escaped += QStringLiteral("\\r");
    else if (c == u'\t') escaped += QStringLiteral("\\t");
    else if (c == u' ' && (i == 0 || i + 1 == value.size()))
      escaped += QStringLiteral("\\s");  // outer blanks are trimmed
    else escaped += c;
  }
  return escaped;
}

QString UnescapeDesktopValue(const QString& value) {
  QString plain;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      plain += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == u's') plain += u' ';
    else if (next == u'n') plain += u'\n';
    else if (next == u't') plain += u'\t';
    else if (next == u'r') plain += u'\r';
    else if (next == u'\\') plain += u'\\';
    else plain += QString{u'\\', next};  // not a value escape: leave it to the Exec reader
  }
  return plain;
}

QStringList SplitExec(const QString& exec) {
  QStringList words;
  QString word;
  bool inWord = false;
  bool quoted = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'"') {
        quoted = false;
      } else if (c == u'\\' && i + 1 < exec.size()) {
        word += exec[++i];
      } else {
        word += c;
      }
    } else if (c == u'"') {
      quoted = true;
      inWord = true;
    } else if (c == u' ' || c == u'\t') {
      if (inWord) words << word;
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words << word;
  return words;
}

QStringList ExpandExec(const QString& exec, const QString& file) {
  QStringList command;
  bool fileGiven = false;
  for (const QString& word : SplitExec(exec)) {
    if (word == QStringLiteral("%f") || word == QStringLiteral("%F")) {
      command << file;
      fileGiven = true;
      continue;
    }
    if (word == QStringLiteral("%u") || word == QStringLiteral("%U")) {
      command << QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
      fileGiven = true;
      continue;
    }
    QString expanded;
    for (qsizetype i = 0; i < word.size(); ++i) {
      if (word[i] == u'%' && i + 1 < word.size()) {
        if (word[++i] == u'%') expanded += u'%';
        continue;  // other field codes (icon, name, location) are dropped
      }
      expanded += word[i];
    }
    if (!expanded.isEmpty()) command << expanded;
  }
  if (!command.isEmpty() && !fileGiven) command << file;
  return command;
}

QString ResolveShortcut(const QString& path) {
  const QFileInfo info(path);
  if (info.suffix().compare(QStringLiteral("desktop"), Qt::CaseInsensitive) == 0) {
    DesktopEntry entry;
    if (!ReadDesktopEntry(path, entry)) return path;
    const QString type = entry.value(QStringLiteral("Type"));
    if (type == QStringLiteral("Link")) {
      const QUrl url(entry.value(QStringLiteral("URL")));
      if (url.isLocalFile()) return url.toLocalFile();
      return url.isEmpty() ? path : url.toString();
    }
    const QStringList words = SplitExec(entry.value(QStringLiteral("Exec")));
    return words.isEmpty() ? path : words.first();
  }
  if (info.isSymLink()) return info.symLinkTarget();
  return path;
}

}  // namespace varnopel
