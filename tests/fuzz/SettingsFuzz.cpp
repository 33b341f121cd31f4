// Any settings file reads without harm, and what is written back from it
// reads back to the same settings: writing twice gives the same bytes.
#include <QByteArray>
#include <QString>

#include <cstdint>

#include "FuzzCheck.h"
#include "app/SettingsFile.h"

using varnopel::SettingsFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SettingsFile first;
  first.parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  int value = 0;
  first.readInteger(QStringLiteral("Options"), QStringLiteral("Left"), 0);
  SettingsFile::parseInteger(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                             value);

  const QByteArray written = first.toBytes();
  SettingsFile second;
  second.parse(written);
  FUZZ_CHECK(second.encoding() == first.encoding());
  FUZZ_CHECK(second.toBytes() == written);
  return 0;
}
