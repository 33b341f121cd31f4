// The desktop actions with their failure boxes, desktop entries (reading,
// Exec quoting and expansion, links) and the installed applications.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <memory>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "shell/DesktopApplications.h"
#include "shell/DesktopEntry.h"
#include "shell/FreedesktopShell.h"
#include "shell/ShellCommands.h"
#include "split/SystemErrorText.h"

using namespace varnopel;
using varnopel::test::FakeShellServices;
using varnopel::test::ScriptedDialogs;
using Kind = ScriptedDialogs::Kind;

namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

}  // namespace

class ShellServicesTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir temp_;

 private slots:
  void openFailureNamesErrorAndTarget() {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    FakeShellServices shell;
    shell.openResult = ENOENT;
    ShellOpen(shell, dialogs, QStringLiteral("/no/such file"));
    const QString expected = QStringLiteral("Open Failed 2\r\n") + QString::fromStdString(SystemErrorText(ENOENT)) +
                             QStringLiteral("\r\n/no/such file");
    QCOMPARE(dialogs->texts(Kind::Information), QStringList{expected});
    QVERIFY(!SystemErrorText(ENOENT).empty());

    // The opener's verdict a moment later gets the same box.
    shell.openResult = 0;
    ShellOpen(shell, dialogs, QStringLiteral("/doc.odt"));
    shell.failLater(ENOEXEC, QStringLiteral("/doc.odt"));
    QCOMPARE(dialogs->texts(Kind::Information).size(), 2);
    QVERIFY(dialogs->texts(Kind::Information)[1].startsWith(QStringLiteral("Open Failed 8\r\n")));
    // ...but not once the window and its boxes are gone.
    dialogs.reset();
    shell.failLater(ENOEXEC, QStringLiteral("/doc.odt"));
  }

  void openByFailureAndUnknownErrorText() {
    ScriptedDialogs dialogs;
    FakeShellServices shell;
    shell.startResult = 99999;  // no text for it: an empty line stays
    ShellOpenWith(shell, dialogs, QStringLiteral("/bin/tool"), {QStringLiteral("a b"), QStringLiteral("c")});
    QCOMPARE(dialogs.texts(Kind::Information),
             QStringList{QStringLiteral("OpenBy Failed 99999\r\n\r\n/bin/tool\r\na b c")});
  }

  void productionOpenOfMissingPathFailsAtOnce() {
    // Fails before any opener is started.
    FreedesktopShell shell;
    QCOMPARE(shell.openDocument(temp_.filePath(QStringLiteral("missing.txt"))), ENOENT);
  }

  void fileManagerFallbacks() {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    FakeShellServices shell;
    ShowInFileManager(shell, dialogs, QStringLiteral("/data/out/list-1.txt"));
    QVERIFY(shell.opened.isEmpty());
    shell.showItemsResult = false;
    ShowInFileManager(shell, dialogs, QStringLiteral("/data/out/list-1.txt"));
    QCOMPARE(shell.opened, QStringList{QStringLiteral("/data/out")});
  }

  void specialFolderEndsInSlash() {
    FakeShellServices shell;
    shell.folders[SpecialFolder::SendTo] = QStringLiteral("/home/u/.local/share/nautilus/scripts");
    shell.folders[SpecialFolder::Desktop] = QStringLiteral("/home/u/Desktop/");
    QCOMPARE(SpecialFolderPath(shell, SpecialFolder::SendTo), QStringLiteral("/home/u/.local/share/nautilus/scripts/"));
    QCOMPARE(SpecialFolderPath(shell, SpecialFolder::Desktop), QStringLiteral("/home/u/Desktop/"));
  }

  void execQuotingRoundTrips_data() {
    QTest::addColumn<QString>("argument");
    QTest::newRow("plain") << "/usr/bin/varnopel";
    QTest::newRow("blanks") << "/home/u/My Files/a b.txt";
    QTest::newRow("quotes") << "/tmp/say \"hi\".txt";
    QTest::newRow("dollar and backquote") << "/tmp/$HOME/`id`";
    QTest::newRow("backslash") << "/tmp/a\\b";
    QTest::newRow("percent") << "/tmp/100%f";
    QTest::newRow("japanese") << "/tmp/分割 済み.txt";
  }

  void execQuotingRoundTrips() {
    QFETCH(QString, argument);
    // Through the file: quoted, escaped as a value, read back, expanded.
    const QString path = temp_.filePath(QStringLiteral("q.desktop"));
    Write(path, "[Desktop Entry]\nType=Application\nExec=" + EscapeDesktopValue(QuoteExecArgument(argument)).toUtf8() +
                    " %F\n");
    DesktopEntry entry;
    QVERIFY(ReadDesktopEntry(path, entry));
    QCOMPARE(ExpandExec(entry.value(QStringLiteral("Exec")), QStringLiteral("/x")),
             (QStringList{argument, QStringLiteral("/x")}));
  }

  void expandExec_data() {
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("file code") << "gedit --new-window %F" << QStringList{"gedit", "--new-window", "/d/a b.txt"};
    QTest::newRow("url code") << "app %u" << QStringList{"app", "file:///d/a%20b.txt"};
    QTest::newRow("no code: file appended") << "kwrite" << QStringList{"kwrite", "/d/a b.txt"};
    QTest::newRow("other codes vanish") << "app %i %c %f" << QStringList{"app", "/d/a b.txt"};
    QTest::newRow("quoted program") << "\"/opt/My App/run\" %f" << QStringList{"/opt/My App/run", "/d/a b.txt"};
    QTest::newRow("empty") << "" << QStringList{};
  }

  void expandExec() {
    QFETCH(QString, exec);
    QFETCH(QStringList, expected);
    QCOMPARE(ExpandExec(exec, QStringLiteral("/d/a b.txt")), expected);
  }

  void resolveShortcut() {
    const QString app = temp_.filePath(QStringLiteral("app.desktop"));
    Write(app, "[Desktop Entry]\nType=Application\nExec=\"/opt/x y/bin\" --flag %f\n");
    QCOMPARE(ResolveShortcut(app), QStringLiteral("/opt/x y/bin"));
    const QString link = temp_.filePath(QStringLiteral("folder.Desktop"));
    Write(link, "[Other]\nURL=file:///nowhere\n[Desktop Entry]\nType=Link\nURL=file:///srv/share%20d\n");
    QCOMPARE(ResolveShortcut(link), QStringLiteral("/srv/share d"));
    const QString broken = temp_.filePath(QStringLiteral("broken.desktop"));
    Write(broken, "not an entry\n");
    QCOMPARE(ResolveShortcut(broken), broken);
    const QString symlink = temp_.filePath(QStringLiteral("to-bin"));
    QVERIFY(QFile::link(QStringLiteral("/usr/bin"), symlink));
    QCOMPARE(ResolveShortcut(symlink), QStringLiteral("/usr/bin"));
    QCOMPARE(ResolveShortcut(QStringLiteral("/etc/hostname")), QStringLiteral("/etc/hostname"));
  }

  void installedApplications() {
    // The type database is read once, from the real data folders, before
    // they are pointed at the test's own.
    QVERIFY(QMimeDatabase().mimeTypeForName(QStringLiteral("text/csv")).inherits(QStringLiteral("text/plain")));
    const QString data = temp_.filePath(QStringLiteral("data"));
    const QString config = temp_.filePath(QStringLiteral("config"));
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_DATA_DIRS", temp_.filePath(QStringLiteral("system")).toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_CONFIG_DIRS", temp_.filePath(QStringLiteral("etc")).toUtf8());
    auto entry = [&](const QString& id, const QByteArray& body) {
      Write(data + QStringLiteral("/applications/") + id, "[Desktop Entry]\nType=Application\n" + body);
    };
    entry(QStringLiteral("alpha.desktop"), "Name=Alpha\nExec=alpha %f\nMimeType=text/plain;\n");
    entry(QStringLiteral("zed.desktop"), "Name=Zed\nName[ja]=ゼッド\nExec=zed %F\nMimeType=text/plain;image/png;\n");
    entry(QStringLiteral("hidden.desktop"), "Name=Hidden\nExec=h\nNoDisplay=true\nMimeType=text/plain;\n");
    entry(QStringLiteral("paint.desktop"), "Name=Paint\nExec=paint\nMimeType=image/png;\n");
    Write(config + QStringLiteral("/mimeapps.list"), "[Default Applications]\ntext/plain=zed.desktop;\n");

    auto ids = [](const QList<DesktopApplication>& apps) {
      QStringList result;
      for (const DesktopApplication& a : apps) result << a.id;
      return result;
    };
    // The default first; a CSV file is plain text too.
    QCOMPARE(ids(ApplicationsForType(QStringLiteral("text/plain"))), (QStringList{"zed.desktop", "alpha.desktop"}));
    QCOMPARE(ids(ApplicationsForType(QStringLiteral("text/csv"))), (QStringList{"alpha.desktop", "zed.desktop"}));
    QCOMPARE(ids(AllDesktopApplications()), (QStringList{"alpha.desktop", "paint.desktop", "zed.desktop"}));
    QCOMPARE(TextEditorCommand(QStringLiteral("/d/n.txt")), (QStringList{"zed", "/d/n.txt"}));
  }
};

QTEST_MAIN(ShellServicesTest)
#include "ShellServicesTest.moc"
