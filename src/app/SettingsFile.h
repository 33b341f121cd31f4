#pragma once
// The settings file: a small INI file of sections and "key=value" lines.
// Names are matched without regard to case; the file is written back whole,
// with CR LF lines, an empty line after each section, and in the encoding of
// the file it replaces (UTF-8, or UTF-8/UTF-16 with their byte-order mark).
#include <QByteArray>
#include <QList>
#include <QString>

namespace varnopel {

// <config folder>/<maker>/<program>/<program>.ini, where <program> is the
// program file's name without its extension.
QString SettingsFilePath(const QString& maker);
// The program file's path with its extension replaced by ".ini". Read when
// the real file does not exist; written when its folder cannot be made.
QString SettingsFallbackPath();

class SettingsFile {
 public:
  enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };
  // Longer values are cut to this many characters when read.
  static constexpr int kMaxValueLength = 2047;

  // Reads the file at `path`. A missing or unreadable file gives no entries
  // (every read then returns its default); false in that case.
  bool load(const QString& path);
  void parse(const QByteArray& bytes);
  // The encoding a file starting with `head` is in, by its byte-order mark.
  static Encoding encodingOf(const QByteArray& head);
  // The encoding of the file at `path`; UTF-8 when it cannot be read.
  static Encoding encodingOfFile(const QString& path);

  bool contains(const QString& section, const QString& key) const;
  QString readString(const QString& section, const QString& key, const QString& fallback) const;
  // Decimal, or hexadecimal after "0x"; anything else gives `fallback`.
  int readInteger(const QString& section, const QString& key, int fallback) const;
  // An integer; true when not 0.
  bool readBool(const QString& section, const QString& key, bool fallback) const;
  // The integer reading on its own, for a value text.
  static bool parseInteger(const QString& text, int& value);

  // Adds the section and key at the end when new, else replaces the value.
  void writeString(const QString& section, const QString& key, const QString& value);
  void writeInteger(const QString& section, const QString& key, int value);
  void writeBool(const QString& section, const QString& key, bool value);

  Encoding encoding() const { return encoding_; }
  void setEncoding(Encoding encoding) { encoding_ = encoding; }

  // The whole file, in encoding() with its mark.
  QByteArray toBytes() const;
  // Replaces the file at `path` at once (never half-written). On failure
  // returns false and the system's reason in `error`.
  bool save(const QString& path, QString* error) const;

 private:
  struct Entry {
    QString key;
    QString value;
  };
  struct Section {
    QString name;
    QList<Entry> entries;
  };
  const Entry* find(const QString& section, const QString& key) const;

  QList<Section> sections_;
  Encoding encoding_ = Encoding::Utf8;
};

}  // namespace varnopel
