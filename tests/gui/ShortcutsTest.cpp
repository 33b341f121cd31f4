// Shortcuts to the program and to listed files: the create / rewrite /
// trash dialogue, the entries written, and the Exec quoting.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "FormFixture.h"
#include "Widgets.h"
#include "shell/DesktopEntry.h"
#include "shell/Shortcut.h"

using varnopel::DesktopEntry;
using varnopel::Dialogs;
using varnopel::SpecialFolder;
using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;
using Kind = ScriptedDialogs::Kind;

namespace {

const QString kCreated = QStringLiteral("フォルダ デスクトップ に\r\nヴァルノペル.desktop\r\nを新規作成しました。");
const QString kExists = QStringLiteral(
    "フォルダ デスクトップ に\r\nヴァルノペル.desktop\r\nは既に存在します。更新しますか？\r\n\r\n"
    "[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し");
const QString kOpenFolder = QStringLiteral("フォルダ デスクトップ を開きますか？");

DesktopEntry Read(const QString& path) {
  DesktopEntry entry;
  if (!varnopel::ReadDesktopEntry(path, entry)) qWarning("no desktop entry at %s", qPrintable(path));
  return entry;
}

}  // namespace

class ShortcutsTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
  QString desktop_;

  QString programLink() const { return desktop_ + QStringLiteral("/ヴァルノペル.desktop"); }

 private slots:
  void init() {
    resetFixture();
    desktop_ = temp_->filePath(QStringLiteral("Desktop"));
    shell_->folders[SpecialFolder::Desktop] = desktop_;
    shell_->folders[SpecialFolder::Programs] = temp_->filePath(QStringLiteral("applications"));
    shell_->folders[SpecialFolder::SendTo] = temp_->filePath(QStringLiteral("scripts"));
    start({}, false);
    form_->setClock([] { return QDateTime(QDate(2024, 5, 1), QTime(9, 8, 7)); });
  }

  void cleanup() {
    form_.reset();
    QCOMPARE(dialogs_->pending(), size_t(0));
  }

  void desktopShortcutCycle() {
    // First use: created, then the folder is offered with the entry selected.
    dialogs_->queueQuestion(true);
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information), QStringList{kCreated});
    QCOMPARE(dialogs_->texts(Kind::Question), QStringList{kOpenFolder});
    QCOMPARE(shell_->shownItems, (QList<QStringList>{{programLink()}}));
    QCOMPARE(shell_->launchable, QStringList{programLink()});
    DesktopEntry entry = Read(programLink());
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("\"/opt/varnopel/bin/varnopel\""));
    QCOMPARE(entry.value(QStringLiteral("Comment")), QStringLiteral("2024/05/01 09:08:07 Created by varnopel V2.6"));

    // Again, Yes: rewritten with the new time.
    dialogs_->clearShown();
    form_->setClock([] { return QDateTime(QDate(2024, 5, 2), QTime(10, 0, 0)); });
    dialogs_->queueYesNoCancel(Dialogs::Answer::Yes);
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(dialogs_->texts(Kind::YesNoCancel), QStringList{kExists});
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("フォルダ デスクトップ の\r\nヴァルノペル.desktop\r\nを更新しました。")});
    QCOMPARE(Read(programLink()).value(QStringLiteral("Comment")),
             QStringLiteral("2024/05/02 10:00:00 Created by varnopel V2.6"));

    // Cancel: nothing more, not even the folder question.
    dialogs_->clearShown();
    dialogs_->queueYesNoCancel(Dialogs::Answer::Cancel);
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(dialogs_->shown().size(), 1);
    QVERIFY(QFile::exists(programLink()));

    // No, then declining the trash question: the entry stays.
    dialogs_->clearShown();
    dialogs_->queueYesNoCancel(Dialogs::Answer::No);
    dialogs_->queueQuestion(false);  // move to the trash?
    dialogs_->queueQuestion(false);  // open the folder?
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information),
             (QStringList{
                 QStringLiteral("Operations Aborted."),
                 QStringLiteral("フォルダ デスクトップ から \r\nヴァルノペル.desktop\r\nを削除できませんでした。")}));
    QVERIFY(QFile::exists(programLink()));

    // No, and the trash takes it; the folder itself opens afterwards.
    dialogs_->clearShown();
    dialogs_->queueYesNoCancel(Dialogs::Answer::No);
    dialogs_->queueQuestion(true);
    dialogs_->queueQuestion(true);
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(shell_->trashed, QStringList{programLink()});
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("フォルダ デスクトップ から \r\nヴァルノペル.desktop\r\nを削除しました。")});
    QCOMPARE(shell_->opened, QStringList{desktop_});
  }

  void failedTrashIsReported() {
    QVERIFY(QDir().mkpath(desktop_));
    QFile(programLink()).open(QIODevice::WriteOnly);
    shell_->trashResult = EIO;
    dialogs_->queueYesNoCancel(Dialogs::Answer::No);
    dialogs_->queueQuestion(true);
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "DeskTop1")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information).first(), QStringLiteral("Delete \"ヴァルノペル.desktop\" Failed."));
    QVERIFY(QFile::exists(programLink()));
  }

  void failedSaveIsReported() {
    // A file where the folder should be.
    QFile(temp_->filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly);
    shell_->folders[SpecialFolder::Programs] = temp_->filePath(QStringLiteral("blocked/applications"));
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "StartMenu1")->trigger();
    const QString box = dialogs_->texts(Kind::Information).value(0);
    QVERIFY2(box.startsWith(QStringLiteral(
                 "フォルダ スタートメニュー に\r\nヴァルノペル.desktop\r\nを新規作成できませんでした。HRESULT=")),
             qPrintable(box));
    QCOMPARE(dialogs_->texts(Kind::Question), QStringList{QStringLiteral("フォルダ スタートメニュー を開きますか？")});
  }

  void listedFileShortcut() {
    const QString work = temp_->filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(work));
    const QString list = work + QStringLiteral("/list.txt");
    QFile(list).open(QIODevice::WriteOnly);
    new QTreeWidgetItem(named<QTreeWidget>(*form_, "ListView2"), {list, QStringLiteral("0")});
    named<QTreeWidget>(*form_, "ListView2")->topLevelItem(0)->setSelected(true);
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "MakeShortCut2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("フォルダ デスクトップ に\r\nlist.txt.desktop\r\nを新規作成しました。")});
    const DesktopEntry entry = Read(desktop_ + QStringLiteral("/list.txt.desktop"));
    // A document opens in its application; the working folder is the
    // temporary folder, not the file's.
    QCOMPARE(varnopel::SplitExec(entry.value(QStringLiteral("Exec"))), (QStringList{QStringLiteral("xdg-open"), list}));
    QCOMPARE(entry.value(QStringLiteral("Path")), varnopel::ShortcutWorkingFolder());
    QVERIFY(entry.value(QStringLiteral("Path")).endsWith(u'/'));
    QVERIFY(!entry.value(QStringLiteral("Path")).startsWith(work));
  }

  void execQuotingSurvivesAwkwardPaths() {
    const QString program = temp_->filePath(QStringLiteral("my \"best\" $HOME `x` \\ 100% tool"));
    shell_->program = program;
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "DeskTop1")->trigger();
    const QString link = programLink();
    QFile file(link);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // Quoted once, with the specials escaped inside the quotes, "%" doubled,
    // and the backslash escaped again as a value.
    QVERIFY2(text.contains(QStringLiteral("Exec=\"") + temp_->path() +
                           QStringLiteral("/my \\\\\"best\\\\\" \\\\$HOME \\\\`x\\\\` \\\\\\\\ 100%% tool\"\n")),
             qPrintable(text));
    QCOMPARE(varnopel::ExpandExec(Read(link).value(QStringLiteral("Exec")), QStringLiteral("/f")),
             (QStringList{program, QStringLiteral("/f")}));
  }

  void sendToIsASymbolicLink() {
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "SendTo1")->trigger();
    const QString link = temp_->filePath(QStringLiteral("scripts/ヴァルノペル"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), QStringLiteral("/opt/varnopel/bin/varnopel"));
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("フォルダ 「送る」 に\r\nヴァルノペル\r\nを新規作成しました。")});
    // The link dangles here (no such program), yet it counts as existing.
    dialogs_->queueYesNoCancel(Dialogs::Answer::Yes);
    dialogs_->queueQuestion(false);
    named<QAction>(*form_, "SendTo1")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information).last(),
             QStringLiteral("フォルダ 「送る」 の\r\nヴァルノペル\r\nを更新しました。"));
  }
};

QTEST_MAIN(ShortcutsTest)
#include "ShortcutsTest.moc"
