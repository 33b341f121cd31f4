// The pop-up menu of the file lists: which items apply, and what each
// action asks of the desktop.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cerrno>
#include <memory>

#include "FormFixture.h"
#include "Widgets.h"

using varnopel::DesktopApplication;
using varnopel::SpecialFolder;
using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;
using Kind = ScriptedDialogs::Kind;

class FileActionsTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
  // Rows with the given captions; `selected` is the selected row or -1.
  void fill(QTreeWidget* list, const QStringList& paths, int selected) {
    list->clear();
    for (const QString& path : paths) new QTreeWidgetItem(list, {path, QStringLiteral("2")});
    if (selected >= 0) list->topLevelItem(selected)->setSelected(true);
    named<QTabWidget>(*form_, "PageControl1")
        ->setCurrentWidget(list == named<QTreeWidget>(*form_, "ListView1") ? named<QWidget>(*form_, "tsWriteOut1")
                                                                           : named<QWidget>(*form_, "tsReadIn2"));
  }

  // "E" enabled, "D" disabled, "H" hidden, for each pop-up item but N4.
  QString states() {
    QString result;
    for (QAction* item : named<QMenu>(*form_, "PopupMenu1")->actions()) {
      if (item->objectName() == QStringLiteral("N4")) {
        if (!item->isVisible()) result += u'!';  // the separator above the moves never hides
        continue;
      }
      result += !item->isVisible() ? u'H' : item->isEnabled() ? u'E' : u'D';
    }
    return result;
  }

 private slots:
  void init() {
    resetFixture();
    shell_->folders[SpecialFolder::SendTo] = temp_->filePath(QStringLiteral("scripts"));
    start({}, false);
  }

  void cleanup() {
    form_.reset();
    QCOMPARE(dialogs_->pending(), size_t(0));
  }

  // Items in menu order: Open2, Notepad, OpenWith, SendTo, N6, MakeShortCut2,
  // N3, Properties2, OpenLocation2, then the four moves.
  void popupRules_data() {
    QTest::addColumn<bool>("outputList");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no selection") << false << 3 << -1 << true << "DDDDDDDDDDDDD";
    QTest::newRow("only row") << false << 1 << 0 << true << "EEEEEEEEEHHHH";
    QTest::newRow("first row") << false << 3 << 0 << true << "EEEEEEEEEDDEE";
    QTest::newRow("middle row") << false << 3 << 1 << true << "EEEEEEEEEEEEE";
    QTest::newRow("last row") << false << 3 << 2 << true << "EEEEEEEEEEEDD";
    QTest::newRow("first row, file gone") << false << 3 << 0 << false << "DDDDDDDDDDDEE";
    QTest::newRow("middle row, file gone") << false << 3 << 1 << false << "DDDDDDDDDDDDD";
    QTest::newRow("last row, file gone") << false << 3 << 2 << false << "DDDDDDDDDEEDD";
    QTest::newRow("output row written") << true << 3 << 1 << true << "EEEEEEEEEHHHH";
    QTest::newRow("output row not written yet") << true << 3 << 0 << false << "DDDDDDDDDHHHH";
  }

  void popupRules() {
    QFETCH(bool, outputList);
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(bool, fileExists);
    QFETCH(QString, expected);
    QStringList paths;
    for (int i = 0; i < rows; ++i) {
      const QString name = QStringLiteral("f%1.txt").arg(i);
      paths << (fileExists ? write(name) : temp_->filePath(name));
    }
    fill(outputList ? named<QTreeWidget>(*form_, "ListView1") : named<QTreeWidget>(*form_, "ListView2"), paths,
         selected);
    form_->PopupMenu1Popup();
    QCOMPARE(states(), expected);
  }

  void popupShowsTypeIconOfPlannedName() {
    fill(named<QTreeWidget>(*form_, "ListView1"), {temp_->filePath(QStringLiteral("planned-1.html"))}, 0);
    const QIcon before = named<QAction>(*form_, "Open2")->icon();
    form_->PopupMenu1Popup();
    // The type is judged by the name: the icon changed although no file exists.
    QVERIFY(named<QAction>(*form_, "Open2")->icon().cacheKey() != before.cacheKey());
    // With no selected row the picture stays as it was.
    const qint64 shown = named<QAction>(*form_, "Open2")->icon().cacheKey();
    named<QTreeWidget>(*form_, "ListView1")->clearSelection();
    form_->PopupMenu1Popup();
    QCOMPARE(named<QAction>(*form_, "Open2")->icon().cacheKey(), shown);
  }

  void actionsDoNothingWithoutSelection() {
    fill(named<QTreeWidget>(*form_, "ListView2"), {write(QStringLiteral("a.txt"))}, -1);
    for (QAction* item : {named<QAction>(*form_, "Open2"), named<QAction>(*form_, "OpenWithNotepad2"),
                          named<QAction>(*form_, "OpenWith2"), named<QAction>(*form_, "OpenWithSendTo2"),
                          named<QAction>(*form_, "Properties2"), named<QAction>(*form_, "OpenLocation2"),
                          named<QAction>(*form_, "MakeShortCut2")})
      item->trigger();
    QVERIFY(shell_->opened.isEmpty() && shell_->started.isEmpty() && shell_->portalAsked.isEmpty());
    QVERIFY(dialogs_->shown().isEmpty());
  }

  void openActionsUseTheRowOfTheFrontList() {
    const QString input = write(QStringLiteral("in put.txt"));
    const QString output = write(QStringLiteral("out-1.txt"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {input}, 0);
    fill(named<QTreeWidget>(*form_, "ListView1"), {output}, 0);
    // The output tab is in front.
    emit named<QTreeWidget>(*form_, "ListView1")
        ->itemDoubleClicked(named<QTreeWidget>(*form_, "ListView1")->topLevelItem(0), 0);
    named<QAction>(*form_, "OpenWithNotepad2")->trigger();
    named<QAction>(*form_, "OpenLocation2")->trigger();
    named<QAction>(*form_, "Properties2")->trigger();
    QCOMPARE(shell_->opened, QStringList{output});
    QCOMPARE(shell_->started, (QList<QStringList>{{QStringLiteral("/usr/bin/editor"), output}}));
    QCOMPARE(shell_->shownItems, (QList<QStringList>{{output}}));
    QCOMPARE(shell_->propertiesShown, QStringList{output});

    named<QTabWidget>(*form_, "PageControl1")->setCurrentWidget(named<QWidget>(*form_, "tsReadIn2"));
    named<QAction>(*form_, "Open2")->trigger();
    QCOMPARE(shell_->opened.last(), input);
    QVERIFY(dialogs_->shown().isEmpty());
  }

  void openFailuresAreReported() {
    const QString path = temp_->filePath(QStringLiteral("gone.txt"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);
    shell_->openResult = ENOENT;
    named<QAction>(*form_, "Open2")->trigger();
    // No file manager on the bus: the folder opens instead (and fails too).
    shell_->showItemsResult = false;
    named<QAction>(*form_, "OpenLocation2")->trigger();
    QCOMPARE(shell_->opened, (QStringList{path, temp_->path()}));
    const QStringList boxes = dialogs_->texts(Kind::Information);
    QCOMPARE(boxes.size(), 2);
    QVERIFY(boxes[0].startsWith(QStringLiteral("Open Failed 2\r\n")));
    QVERIFY(boxes[0].endsWith(QStringLiteral("\r\n") + path));
    // A missing file has no properties to show.
    named<QAction>(*form_, "Properties2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information).last(), QStringLiteral("プロパティを表示できませんでした\r\n") + path);
    QVERIFY(shell_->propertiesShown.isEmpty());
  }

  void propertiesFallBackToOwnView() {
    const QString path = write(QStringLiteral("p.txt"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);
    shell_->propertiesResult = false;
    named<QAction>(*form_, "Properties2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Properties), QStringList{path});
  }

  void openWithAsksThePortalFirst() {
    const QString path = write(QStringLiteral("a.csv"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);
    shell_->portalResult = 0;
    named<QAction>(*form_, "OpenWith2")->trigger();
    QCOMPARE(shell_->portalAsked, QStringList{path});
    QVERIFY(dialogs_->shown().isEmpty());
    // The portal reports a failed start later.
    shell_->portalFailed();
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("指定プログラムを起動できませんでした\r\n") + path});
  }

  void openWithOwnChooser() {
    const QString path = write(QStringLiteral("a.txt"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);
    shell_->applicationsForType = {
        {QStringLiteral("ed.desktop"), QStringLiteral("Ed"), QStringLiteral("ed --new %F"), {}}};
    shell_->applications = shell_->applicationsForType;

    dialogs_->queueChooseApplication(QString());  // cancelled: nothing more
    named<QAction>(*form_, "OpenWith2")->trigger();
    QCOMPARE(shell_->queriedTypes, QStringList{QStringLiteral("text/plain")});
    QCOMPARE(dialogs_->choiceForType.size(), 1);
    QVERIFY(shell_->started.isEmpty());
    QCOMPARE(dialogs_->texts(Kind::Information), QStringList{});

    dialogs_->queueChooseApplication(QStringLiteral("ed --new %F"));
    named<QAction>(*form_, "OpenWith2")->trigger();
    QCOMPARE(shell_->started, (QList<QStringList>{{QStringLiteral("ed"), QStringLiteral("--new"), path}}));

    shell_->startResult = ENOENT;
    dialogs_->queueChooseApplication(QStringLiteral("\"/opt/no such/prog\" %f"));
    named<QAction>(*form_, "OpenWith2")->trigger();
    QCOMPARE(shell_->started.last(), (QStringList{QStringLiteral("/opt/no such/prog"), path}));
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("指定プログラムを起動できませんでした\r\n") + path});
  }

  void sendToFolderCopiesWithoutOverwriting() {
    const QString path = write(QStringLiteral("list.txt"), "new\n");
    const QString box = temp_->filePath(QStringLiteral("scripts/Box"));
    QVERIFY(QDir().mkpath(box));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);

    dialogs_->queueOpenFile(box);
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::OpenFile), QStringList{temp_->filePath(QStringLiteral("scripts/"))});
    QFile copy(box + QStringLiteral("/list.txt"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("new\n"));
    copy.close();

    // A second send finds the name taken and leaves that file alone.
    write(QStringLiteral("scripts/Box/list.txt"), "kept\n");
    dialogs_->queueOpenFile(box);
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("Same Name File Already Exists. Copyfile Failed\r\n\r\n") + box +
                         QStringLiteral("/list.txt")});
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("kept\n"));

    dialogs_->queueOpenFile(QString());  // cancelled
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    QVERIFY(shell_->started.isEmpty());
  }

  void sendToEntriesAndLinks() {
    const QString path = write(QStringLiteral("list.txt"));
    fill(named<QTreeWidget>(*form_, "ListView2"), {path}, 0);
    const QString folder = temp_->filePath(QStringLiteral("Backup"));
    QVERIFY(QDir().mkpath(folder));

    // A link entry to a folder, its extension in capitals.
    const QString link = write(QStringLiteral("scripts/Backup.DESKTOP"),
                               "[Desktop Entry]\nType=Link\nName=Backup\nURL=file://" + folder.toUtf8() + "\n");
    dialogs_->queueOpenFile(link);
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    QVERIFY(QFile::exists(folder + QStringLiteral("/list.txt")));

    // An application entry runs its whole command with the file.
    const QString app =
        write(QStringLiteral("scripts/Mail.desktop"),
              "[Desktop Entry]\nType=Application\nName=Mail\nExec=\"/opt/mail app/mail\" --attach %f\n");
    dialogs_->queueOpenFile(app);
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    // A symbolic link to a program runs that program with the file.
    const QString symlink = temp_->filePath(QStringLiteral("scripts/Viewer"));
    QVERIFY(QFile::link(QStringLiteral("/opt/viewer/bin/viewer"), symlink));
    dialogs_->queueOpenFile(symlink);
    named<QAction>(*form_, "OpenWithSendTo2")->trigger();
    QCOMPARE(shell_->started,
             (QList<QStringList>{{QStringLiteral("/opt/mail app/mail"), QStringLiteral("--attach"), path},
                                 {QStringLiteral("/opt/viewer/bin/viewer"), path}}));
    QVERIFY(dialogs_->texts(Kind::Information).isEmpty());
  }
};

QTEST_MAIN(FileActionsTest)
#include "FileActionsTest.moc"
