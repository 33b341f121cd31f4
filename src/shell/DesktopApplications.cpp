#include "shell/DesktopApplications.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

#include "shell/DesktopEntry.h"

namespace varnopel {

namespace {

struct Installed {
  DesktopApplication app;
  QStringList mimeTypes;
};

// Entries by desktop id; a folder earlier in the search order hides the
// same id further down, as launchers do.
QList<Installed> ScanApplications() {
  QList<Installed> found;
  QSet<QString> seen;
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      // Sub-folders give ids joined with "-": kde/foo.desktop is kde-foo.desktop.
      QString id = QDir(folder).relativeFilePath(file);
      id.replace(u'/', u'-');
      if (seen.contains(id)) continue;
      seen.insert(id);
      DesktopEntry entry;
      if (!ReadDesktopEntry(file, entry)) continue;
      if (entry.value(QStringLiteral("Type")) != QStringLiteral("Application")) continue;
      if (entry.flag(QStringLiteral("Hidden")) || entry.flag(QStringLiteral("NoDisplay"))) continue;
      const QString exec = entry.value(QStringLiteral("Exec"));
      if (exec.isEmpty()) continue;
      Installed installed;
      installed.app = {id, entry.localized(QStringLiteral("Name")), exec, entry.value(QStringLiteral("Icon"))};
      installed.mimeTypes = entry.value(QStringLiteral("MimeType")).split(u';', Qt::SkipEmptyParts);
      found << installed;
    }
  }
  return found;
}

void SortByName(QList<DesktopApplication>& apps) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(apps.begin(), apps.end(), [&](const DesktopApplication& a, const DesktopApplication& b) {
    return collator.compare(a.name, b.name) < 0;
  });
}

// The ids named as default for a type in the mimeapps.list files, in their
// order of precedence.
QStringList DefaultIds(const QString& mimeType) {
  QStringList files;
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
    files << folder + QStringLiteral("/mimeapps.list");
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
    files << folder + QStringLiteral("/mimeapps.list");
  QStringList ids;
  for (const QString& path : files) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) continue;
    bool inDefaults = false;
    while (!file.atEnd()) {
      const QString line = QString::fromUtf8(file.readLine()).trimmed();
      if (line.startsWith(u'[')) {
        inDefaults = line == QStringLiteral("[Default Applications]");
        continue;
      }
      if (!inDefaults || !line.startsWith(mimeType + u'=')) continue;
      ids << line.mid(mimeType.size() + 1).split(u';', Qt::SkipEmptyParts);
    }
  }
  return ids;
}

}  // namespace

QList<DesktopApplication> ApplicationsForType(const QString& mimeType) {
  const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForName(mimeType);
  QSet<QString> accepted{mimeType};
  if (type.isValid())
    for (const QString& parent : type.allAncestors()) accepted.insert(parent);

  QList<DesktopApplication> matching;
  for (const Installed& installed : ScanApplications())
    if (std::any_of(installed.mimeTypes.begin(), installed.mimeTypes.end(),
                    [&](const QString& m) { return accepted.contains(m); }))
      matching << installed.app;
  SortByName(matching);

  const QStringList defaults = DefaultIds(mimeType);
  for (auto id = defaults.rbegin(); id != defaults.rend(); ++id) {
    const auto at =
        std::find_if(matching.begin(), matching.end(), [&](const DesktopApplication& a) { return a.id == *id; });
    if (at != matching.end()) matching.move(at - matching.begin(), 0);
  }
  return matching;
}

QList<DesktopApplication> AllDesktopApplications() {
  QList<DesktopApplication> all;
  for (const Installed& installed : ScanApplications()) all << installed.app;
  SortByName(all);
  return all;
}

QStringList TextEditorCommand(const QString& path) {
  const QStringList defaults = DefaultIds(QStringLiteral("text/plain"));
  const QList<Installed> installed = ScanApplications();
  for (const QString& id : defaults)
    for (const Installed& candidate : installed)
      if (candidate.app.id == id) return ExpandExec(candidate.app.exec, path);
  for (const char* editor :
       {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "featherpad"}) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(editor));
    if (!program.isEmpty()) return {program, path};
  }
  return {};
}

}  // namespace varnopel
