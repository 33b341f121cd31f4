#include "app/SettingsFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace varnopel {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LEMark("\xFF\xFE", 2);
const QByteArray kUtf16BEMark("\xFE\xFF", 2);

QString ProgramBaseName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

QString SettingsFilePath(const QString& maker) {
  const QString base = ProgramBaseName();
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + maker + u'/' + base + u'/' +
         base + QStringLiteral(".ini");
}

QString SettingsFallbackPath() {
  const QFileInfo program(QCoreApplication::applicationFilePath());
  return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

SettingsFile::Encoding SettingsFile::encodingOf(const QByteArray& head) {
  if (head.startsWith(kUtf8Mark)) return Encoding::Utf8Bom;
  if (head.startsWith(kUtf16LEMark)) return Encoding::Utf16LE;
  if (head.startsWith(kUtf16BEMark)) return Encoding::Utf16BE;
  return Encoding::Utf8;
}

SettingsFile::Encoding SettingsFile::encodingOfFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return Encoding::Utf8;
  return encodingOf(file.read(3));
}

bool SettingsFile::load(const QString& path) {
  sections_.clear();
  encoding_ = Encoding::Utf8;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  parse(file.readAll());
  return true;
}

void SettingsFile::parse(const QByteArray& bytes) {
  sections_.clear();
  encoding_ = encodingOf(bytes);
  QString text;
  switch (encoding_) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom: text = QString::fromUtf8(bytes.mid(encoding_ == Encoding::Utf8Bom ? 3 : 0)); break;
    case Encoding::Utf16LE: text = QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2)); break;
    case Encoding::Utf16BE: text = QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2)); break;
  }

  // Lines may end in CR LF, CR or LF: the file may have been edited anywhere.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  Section* current = nullptr;
  for (const QString& raw : text.split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith(u'[')) {
      int end = line.indexOf(u']');
      if (end < 0) end = line.size();
      const QString name = line.mid(1, end - 1).trimmed();
      // A repeated section adds nothing: the first one answers.
      bool repeated = false;
      for (const Section& s : std::as_const(sections_))
        if (SameName(s.name, name)) repeated = true;
      if (repeated) {
        current = nullptr;
      } else {
        sections_.append({name, {}});
        current = &sections_.last();
      }
      continue;
    }
    const int equals = raw.indexOf(u'=');
    if (current == nullptr || equals < 0) continue;
    const QString key = raw.left(equals).trimmed();
    if (key.isEmpty()) continue;
    // Values stay as written, blanks included: folder names may have them.
    QString value = raw.mid(equals + 1);
    if (value.size() > kMaxValueLength) {
      value.truncate(kMaxValueLength);
      if (value.back().isHighSurrogate()) value.chop(1);
    }
    bool known = false;
    for (const Entry& e : std::as_const(current->entries))
      if (SameName(e.key, key)) known = true;
    if (!known) current->entries.append({key, value});
  }
}

const SettingsFile::Entry* SettingsFile::find(const QString& section, const QString& key) const {
  for (const Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    for (const Entry& e : s.entries)
      if (SameName(e.key, key)) return &e;
  }
  return nullptr;
}

bool SettingsFile::contains(const QString& section, const QString& key) const { return find(section, key) != nullptr; }

QString SettingsFile::readString(const QString& section, const QString& key, const QString& fallback) const {
  const Entry* entry = find(section, key);
  return entry != nullptr ? entry->value : fallback;
}

bool SettingsFile::parseInteger(const QString& text, int& value) {
  const QString s = text.trimmed();
  if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
    // Up to eight hex digits; the top bit makes the value negative.
    const QStringView digits = QStringView(s).mid(2);
    if (digits.size() > 8) return false;
    quint32 result = 0;
    for (QChar c : digits) {
      const char16_t u = c.unicode();
      int d = -1;
      if (u >= '0' && u <= '9') d = u - '0';
      else if (u >= 'a' && u <= 'f') d = u - 'a' + 10;
      else if (u >= 'A' && u <= 'F') d = u - 'A' + 10;
      if (d < 0) return false;
      result = result * 16 + static_cast<quint32>(d);
    }
    value = static_cast<int>(result);
    return true;
  }
  for (qsizetype i = 0; i < s.size(); ++i)
    if (!(s[i].unicode() >= '0' && s[i].unicode() <= '9') && !(i == 0 && (s[i] == u'-' || s[i] == u'+'))) return false;
  bool ok = false;
  const int result = s.toInt(&ok, 10);
  if (ok) value = result;
  return ok;
}

int SettingsFile::readInteger(const QString& section, const QString& key, int fallback) const {
  const Entry* entry = find(section, key);
  int value = fallback;
  if (entry == nullptr || !parseInteger(entry->value, value)) return fallback;
  return value;
}

bool SettingsFile::readBool(const QString& section, const QString& key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void SettingsFile::writeString(const QString& section, const QString& key, const QString& value) {
  Section* target = nullptr;
  for (Section& s : sections_)
    if (SameName(s.name, section)) target = &s;
  if (target == nullptr) {
    sections_.append({section, {}});
    target = &sections_.last();
  }
  for (Entry& e : target->entries) {
    if (SameName(e.key, key)) {
      e.value = value;
      return;
    }
  }
  target->entries.append({key, value});
}

void SettingsFile::writeInteger(const QString& section, const QString& key, int value) {
  writeString(section, key, QString::number(value));
}

void SettingsFile::writeBool(const QString& section, const QString& key, bool value) {
  writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray SettingsFile::toBytes() const {
  QString text;
  for (const Section& s : sections_) {
    text += u'[' + s.name + QStringLiteral("]\r\n");
    for (const Entry& e : s.entries) text += e.key + u'=' + e.value + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n");
  }
  switch (encoding_) {
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf8Bom: return kUtf8Mark + text.toUtf8();
    case Encoding::Utf16LE: return QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text);
    case Encoding::Utf16BE: return QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom).encode(text);
  }
  return {};
}

bool SettingsFile::save(const QString& path, QString* error) const {
  QSaveFile file(path);
  // A file we may write in a folder we may not still gets written.
  file.setDirectWriteFallback(true);
  const QByteArray bytes = toBytes();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace varnopel
