#include "shell/HelpAbout.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace varnopel {

QString HelpInstallFolder = QStringLiteral(VARNOPEL_HELP_DIR);

QString FindHelpFile(const QString& programFile, const QString& installedFolder, QString* fileName) {
  const QFileInfo program(programFile);
  const QString name = program.completeBaseName() + QStringLiteral(".html");
  if (fileName) *fileName = name;
  QDir folder = program.absoluteDir();
  for (;;) {
    const QString candidate = folder.filePath(name);
    if (QFileInfo(candidate).isFile()) return candidate;
    if (folder.isRoot() || !folder.cdUp()) break;
  }
  // Installed: beside bin/ under the prefix the program was installed to,
  // which need not be the one it was built for.
  const QStringList installed{program.absolutePath() + QStringLiteral("/../share/doc/varnopel"), installedFolder};
  for (const QString& docFolder : installed) {
    if (docFolder.isEmpty()) continue;
    const QString page = QDir::cleanPath(QDir(docFolder).filePath(name));
    if (QFileInfo(page).isFile()) return page;
  }
  return {};
}

QString ScreenLine(int width, int height, int dotsPerInch) {
  const int percent = int(dotsPerInch * 100.0 / 96.0 + 0.5);
  return QStringLiteral("CurrentScreen %1 x %2 / %3dpi x %4%").arg(width).arg(height).arg(dotsPerInch).arg(percent);
}

QString FileVersionText(const QString& path, const QString& programFile) {
  if (QFileInfo(path).absoluteFilePath() != QFileInfo(programFile).absoluteFilePath()) return {};
  return QStringLiteral(VARNOPEL_VERSION);
}

namespace {

// The last Sunday of a month, at a time of day, in the same reckoning.
QDateTime LastSunday(int year, int month, QTime time) {
  QDate day(year, month, QDate(year, month, 1).daysInMonth());
  while (day.dayOfWeek() != Qt::Sunday) day = day.addDays(-1);
  return QDateTime(day, time, Qt::UTC);
}

}  // namespace

QString UkraineTimeText(const QDateTime& utc) {
  // Times in the UTC+2 reckoning are held as UTC values so that no local
  // zone rule of this computer touches them.
  QDateTime kyiv = utc.toUTC().addSecs(120 * 60);
  const int year = kyiv.date().year();
  const QDateTime start = LastSunday(year, 3, QTime(3, 0));
  const QDateTime end = LastSunday(year, 10, QTime(4, 0));
  const bool summer = kyiv > start && kyiv < end;
  if (summer) kyiv = kyiv.addSecs(60 * 60);

  const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
  const QDate date = kyiv.date();
  // Nominative names: "жовтень", not the genitive "жовтня" of a full date.
  const QString formatted =
      QString::number(date.day()) + u' ' + ukrainian.standaloneMonthName(date.month(), QLocale::LongFormat) + u' ' +
      QString::number(date.year()) + u' ' + ukrainian.standaloneDayName(date.dayOfWeek(), QLocale::LongFormat) + u' ' +
      kyiv.time().toString(QStringLiteral("HH:mm"));
  if (summer)
    return QStringLiteral("Peace for Ukraine\r\n") + formatted +
           QStringLiteral(", Ukraine Standard Time (in Daylight Saving Time)");
  return QStringLiteral("Peace For Ukraine\r\n") + formatted + QStringLiteral(", Ukraine Standard Time");
}

QString AboutText(const QString& programFile, int screenWidth, int screenHeight, int dotsPerInch,
                  const QDateTime& utc) {
  const QString crlf = QStringLiteral("\r\n");
  QString text;
  text += QFileInfo(programFile).completeBaseName() + u' ' + QString::fromLatin1(kProgramVersionText) +
          QStringLiteral(" (") + FileVersionText(programFile, programFile) + QStringLiteral(") Release Build") + crlf;
  text += programFile + crlf;
  text += ScreenLine(screenWidth, screenHeight, dotsPerInch) + crlf;
  text += crlf;
  text += QString::fromLatin1(kMakerNotice) + crlf;
  text += QString::fromLatin1(kMakerMail) + crlf;
  text += QString::fromLatin1(kMakerHomePage) + crlf;
  text += QStringLiteral("made in Japan") + crlf;
  text += crlf;
  text += UkraineTimeText(utc) + crlf;
  return text;
}

}  // namespace varnopel
