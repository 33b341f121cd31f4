// Desktop entries: any file reads and resolves without harm; a value written
// with our escaping reads back unchanged; a program quoted for an Exec line
// comes back as the same single word.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "shell/DesktopEntry.h"

using namespace varnopel;

namespace {

QString TempEntryPath() {
  static const QString path = [] {
    std::string folder = QDir::tempPath().toStdString() + "/varnopel-fuzz-XXXXXX";
    FUZZ_CHECK(::mkdtemp(folder.data()) != nullptr);
    return QString::fromStdString(folder) + QStringLiteral("/entry.desktop");
  }();
  return path;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  FUZZ_CHECK(file.write(bytes) == bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = TempEntryPath();
  WriteFile(path, bytes);
  DesktopEntry entry;
  if (ReadDesktopEntry(path, entry)) {
    ExpandExec(entry.value(QStringLiteral("Exec")), QStringLiteral("/tmp/a b.txt"));
    entry.localized(QStringLiteral("Name"));
  }
  ResolveShortcut(path);

  // The bytes as one value (a comment, a program path).
  const QString value = QString::fromUtf8(bytes);
  FUZZ_CHECK(UnescapeDesktopValue(EscapeDesktopValue(value)) == value);
  WriteFile(path, "[Desktop Entry]\nComment=" + EscapeDesktopValue(value).toUtf8() + "\n");
  FUZZ_CHECK(ReadDesktopEntry(path, entry));
  FUZZ_CHECK(entry.value(QStringLiteral("Comment")) == value);
  if (!value.isEmpty()) {
    const QString file = QStringLiteral("/tmp/in put.txt");
    FUZZ_CHECK(ExpandExec(QuoteExecArgument(value) + QStringLiteral(" %f"), file) == QStringList({value, file}));
    FUZZ_CHECK(SplitExec(QuoteExecArgument(value) + QStringLiteral(" x")).size() == 2);
  }
  return 0;
}
