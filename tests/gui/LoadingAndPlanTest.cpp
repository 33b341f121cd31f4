// Loading input files by dialog, drop and command line; the split plan and
// its output list; the busy state's Cancel and close refusal.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <memory>

#include "FormFixture.h"
#include "Widgets.h"
#include "app/OperationScope.h"

using varnopel::Dialogs;
using varnopel::NumberBox;
using varnopel::TVarnopelForm;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

class LoadingAndPlanTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
  // A file of `lines` lines named `name` in the temporary folder.
  QString file(const QString& name, int lines) {
    const QString path = temp_->filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    for (int i = 0; i < lines; ++i) f.write(QStringLiteral("%1 %2\r\n").arg(name).arg(i).toUtf8());
    return path;
  }

  static QStringList rows(QTreeWidget* list, int column = 0) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(column);
    return out;
  }
  QStringList names(QTreeWidget* list) {
    QStringList out;
    for (const QString& path : rows(list)) out << path.mid(path.lastIndexOf('/') + 1);
    return out;
  }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() { resetFixture(); }
  void cleanup() { finishFixture(); }

  void dialogRoadLoadsAppendsAndCancels() {
    TVarnopelForm& form = start();
    dialogs_->queueOpenFiles({file("a10.txt", 2), file("a2.txt", 3)});
    form.Button1InFileClick();
    QCOMPARE(names(named<QTreeWidget>(form, "ListView2")), QStringList({"a2.txt", "a10.txt"}));
    QCOMPARE(rows(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"3", "2"}));
    QCOMPARE(form.session().lines().count(), size_t(5));
    QCOMPARE(QString::fromUtf8(form.session().lines()[0].data(), 8), QStringLiteral("a2.txt 0"));
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("5 行 / 2 ファイル (ANSI)"));
    QCOMPARE(status(), QStringLiteral("a10.txt を読込みました"));
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), temp_->path() + "/");
    // The plan for one file is listed, checked, and the input tab stays in front.
    QCOMPARE(names(named<QTreeWidget>(form, "ListView1")), QStringList({"a10-1.txt"}));
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItem(0)->checkState(0), Qt::Checked);
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->currentWidget(), named<QWidget>(form, "tsReadIn2"));

    // No: the new file is appended to the set.
    dialogs_->queueYesNoCancel(Dialogs::Answer::No);
    dialogs_->queueOpenFiles({file("b.txt", 4)});
    form.Button1InFileClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::YesNoCancel).last(),
             QStringLiteral("既存の 2 ファイルをクリアしますか？"));
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("9 行 / 3 ファイル (ANSI)"));

    // Cancel: nothing changes. Yes then a cancelled dialog: the set is empty.
    dialogs_->queueYesNoCancel(Dialogs::Answer::Cancel);
    form.Button1InFileClick();
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 3);
    dialogs_->queueYesNoCancel(Dialogs::Answer::Yes);
    dialogs_->queueOpenFiles({});
    form.Button1InFileClick();
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 0);
    QCOMPARE(form.session().lines().count(), size_t(0));
    QCOMPARE(named<QLineEdit>(form, "Edit1InFile")->text(), QString());
  }

  void dropRoadReplacesTheSetInSortedOrder() {
    TVarnopelForm& form = start();
    dialogs_->queueOpenFiles({file("old.txt", 1)});
    form.Button1InFileClick();

    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(file("c3.txt", 1)), QUrl::fromLocalFile(file("c1.txt", 2)),
                   QUrl::fromLocalFile(file("c20.txt", 3))});
    // The window must accept the drag before the drop reaches it.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    QTRY_COMPARE_WITH_TIMEOUT(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 3, 5000);
    QCOMPARE(names(named<QTreeWidget>(form, "ListView2")), QStringList({"c1.txt", "c3.txt", "c20.txt"}));
    QCOMPARE(form.session().lines().count(), size_t(6));
    QCOMPARE(QString::fromUtf8(form.session().lines()[5].data(), 9), QStringLiteral("c20.txt 2"));
    QCOMPARE(status(), QStringLiteral("c20.txtを読込みました"));  // this road's text has no blank
    QCOMPARE(names(named<QTreeWidget>(form, "ListView1")), QStringList({"c20-1.txt"}));
    delete mime;
  }

  void commandLineRoadLeavesTheOutputListEmpty() {
    const QString a = file("x.txt", 2);
    const QString missing = temp_->filePath("missing.txt");
    TVarnopelForm& form = start({a, missing});
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({QStringLiteral("読み込めませんでした\r\n") + missing}));
    QCOMPARE(rows(named<QTreeWidget>(form, "ListView2")), QStringList({a}));
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 0);
    QCOMPARE(status(), QStringLiteral("2 行 / 1 ファイル (ANSI) を読込みました"));
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->currentWidget(), named<QWidget>(form, "tsReadIn2"));
    QVERIFY(named<QPushButton>(form, "Button3Exec")->isEnabled());
  }

  void nameOrderFollowsTheSettingsMenu() {
    const QStringList given{file("a2.txt", 1), file("a10.txt", 1), file("a1.txt", 1)};
    TVarnopelForm& form = start(given);
    QCOMPARE(names(named<QTreeWidget>(form, "ListView2")), QStringList({"a1.txt", "a2.txt", "a10.txt"}));
    named<QAction>(form, "mmSortDic1")->setChecked(true);
    form.WMDropFiles(given);
    QCOMPARE(names(named<QTreeWidget>(form, "ListView2")), QStringList({"a1.txt", "a10.txt", "a2.txt"}));
  }

  void emptyListPlansNothing() {
    TVarnopelForm& form = start({file("empty.txt", 0)});
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("0 行 / 1 ファイル (Unknown)"));
    QVERIFY(!named<NumberBox>(form, "NumberBox1Files")->isEnabled());
    named<QRadioButton>(form, "RadioButton3Half")->click();
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 0);
  }

  void planModesOverTenLines() {
    TVarnopelForm& form = start({file("list.txt", 10)});
    named<NumberBox>(form, "NumberBox1Files")->setValue(4);
    QCOMPARE(named<QLabel>(form, "label1Files")->text(), QStringLiteral("3 行 x 4 ファイル"));
    QCOMPARE(names(named<QTreeWidget>(form, "ListView1")),
             QStringList({"list-1.txt", "list-2.txt", "list-3.txt", "list-4.txt"}));
    QCOMPARE(rows(named<QTreeWidget>(form, "ListView1"), 1), QStringList({"", "", "", ""}));
    QCOMPARE(status(), QStringLiteral("出力ファイル一覧 4行 を作成しました"));
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->currentWidget(), named<QWidget>(form, "tsWriteOut1"));

    named<NumberBox>(form, "NumberBox2Lines")->setValue(3);
    QVERIFY(named<QRadioButton>(form, "RadioButton2Lines")->isChecked());
    QCOMPARE(named<QLabel>(form, "Label2Lines")->text(), QStringLiteral("3 行 x 4 ファイル"));
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 4);

    for (auto [half, label] : {std::pair{3, "3 行 + 7 行"}, {0, "0 行 + 10 行"}, {10, "10 行 + 0 行"}}) {
      named<NumberBox>(form, "NumberBox3Half")->setValue(half);
      QCOMPARE(named<QLabel>(form, "Label25Half")->text(), QString::fromUtf8(label));
      QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 2);
    }

    // Unchecking a row, then any change: every row comes back checked.
    named<NumberBox>(form, "NumberBox1Files")->setValue(2);
    named<QTreeWidget>(form, "ListView1")->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    named<NumberBox>(form, "NumberBox1Files")->setValue(3);
    for (int i = 0; i < 3; ++i)
      QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItem(i)->checkState(0), Qt::Checked);
  }

  void sixteenFilesAreListedSeventeenAreNot() {
    TVarnopelForm& form = start({file("big.txt", 20)});
    named<NumberBox>(form, "NumberBox1Files")->setValue(16);
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 16);
    QCOMPARE(names(named<QTreeWidget>(form, "ListView1")).last(), QStringLiteral("big-16.txt"));
    named<NumberBox>(form, "NumberBox1Files")->setValue(17);
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 0);
    QCOMPARE(status(), QString());
  }

  void spinStepGrowsWithTheDigits() {
    TVarnopelForm& form = start({file("many.txt", 5000)});
    QCOMPARE(named<NumberBox>(form, "NumberBox2Lines")->maxTextLength(), 4);
    for (auto [value, step] : {std::pair{99, 1}, {100, 10}, {999, 10}, {1000, 100}}) {
      named<NumberBox>(form, "NumberBox2Lines")->setValue(value);
      QCOMPARE(named<NumberBox>(form, "NumberBox2Lines")->singleStep(), step);
    }
    named<NumberBox>(form, "NumberBox3Half")->setValue(250);
    QCOMPARE(named<NumberBox>(form, "NumberBox3Half")->singleStep(), 10);
  }

  void controlCharactersInThePathAreRefused() {
    TVarnopelForm& form = start({file("ok.txt", 3)});
    named<QCheckBox>(form, "CheckBox1SameFolder")->setChecked(false);
    named<QLineEdit>(form, "Edit2OutFolder")->setText(QStringLiteral("/tmp/a\tb/"));
    named<NumberBox>(form, "NumberBox1Files")->setValue(2);
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error).value(0),
             QStringLiteral("パスに無効な文字が含まれています\r\n[/tmp/a\tb/]."));  // full stop added after "]"
    QCOMPARE(status(), QStringLiteral("出力ファイル一覧 0行 を作成しました"));
  }

  void cancelStopsALoopAtItsNextPoll() {
    TVarnopelForm& form = start();
    varnopel::OperationScope operation(form);
    form.ShowCancelButton();
    QVERIFY(named<QPushButton>(form, "Button0Cancel")->isVisible());
    QTimer::singleShot(50, named<QPushButton>(form, "Button0Cancel"), &QPushButton::click);
    QElapsedTimer clock;
    clock.start();
    long long iterations = 0;
    while (!form.cancelRequested() && clock.elapsed() < 5000) {
      ++iterations;
      form.Pump().poll();
    }
    QVERIFY(form.cancelRequested());
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!named<QPushButton>(form, "Button0Cancel")->isVisible());
    // While the operation runs, the window refuses to close.
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
  }
};

QTEST_MAIN(LoadingAndPlanTest)
#include "LoadingAndPlanTest.moc"
