#pragma once
// The texts of the Help menu: where the help page is, and the lines of the
// About box.
#include <QDateTime>
#include <QString>

namespace varnopel {

// The maker's fixed texts.
inline constexpr auto kMakerNotice = "Copyright (C) 2019-2024 Quillmoor Software Works";
inline constexpr auto kMakerMail = "varnopel@quillmoor.example";
inline constexpr auto kMakerHomePage = "https://www.quillmoor.example/";
inline constexpr auto kMakerSupportPage = "https://www.quillmoor.example/support/varnopel.html";
inline constexpr auto kProgramVersionText = "V2.6";

// Where `cmake --install` puts the help page; searched after the folders
// around the program. Tests clear it.
extern QString HelpInstallFolder;

// The help page for a program file: its name with ".html" in place of its
// extension, looked for beside the program and then in each folder above
// it up to the root, then in "../share/doc/varnopel" beside the program's
// folder and in `installedFolder` (may be empty). Empty when
// there is none; `fileName` gets the page's name either way.
QString FindHelpFile(const QString& programFile, const QString& installedFolder, QString* fileName = nullptr);

// "CurrentScreen 1920 x 1080 / 144dpi x 150%"
QString ScreenLine(int width, int height, int dotsPerInch);
// The build's version ("2.6.0.0") for the program file; other files have
// no version and give "".
QString FileVersionText(const QString& path, const QString& programFile);
// Two lines: a greeting and the time in Kyiv for a moment given in UTC,
// with the summer time of Ukraine worked out from its own rules.
QString UkraineTimeText(const QDateTime& utc);
// Every line of the About box, each ending in "\r\n".
QString AboutText(const QString& programFile, int screenWidth, int screenHeight, int dotsPerInch, const QDateTime& utc);

}  // namespace varnopel
