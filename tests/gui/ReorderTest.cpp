// Reverse, shuffle, sort, duplicate removal and restore through the window.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include "FormFixture.h"
#include "Widgets.h"

using varnopel::TVarnopelForm;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

class ReorderTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() { resetFixture(); }
  void cleanup() { finishFixture(); }

  void sortsFollowTheSettingsMenu() {
    TVarnopelForm& form = start({write("s.txt", "a10\na2\na1\n")});
    const QString label = named<QLabel>(form, "Label1InFile")->text();
    form.Button7AscendClick();
    QCOMPARE(lines(), QStringList({"a1", "a2", "a10"}));
    QCOMPARE(status(), label + QStringLiteral(" の内容を昇順に整列しました"));
    form.Button8DescendClick();
    QCOMPARE(lines(), QStringList({"a10", "a2", "a1"}));
    QCOMPARE(status(), label + QStringLiteral(" の内容を降順に整列しました"));

    named<QAction>(form, "mmSortDic1")->setChecked(true);
    form.Button7AscendClick();
    QCOMPARE(lines(), QStringList({"a1", "a10", "a2"}));
    named<QAction>(form, "mmSortDic1")->setChecked(false);  // neither item checked: dictionary order
    form.Button8DescendClick();
    QCOMPARE(lines(), QStringList({"a2", "a10", "a1"}));
    QVERIFY(named<QPushButton>(form, "Button7Ascend")->isEnabled());
  }

  void reverseAndShuffleKeepEveryLine() {
    TVarnopelForm& form = start({write("r.txt", "x\ny\nz\n")});
    shell_->progress.clear();
    form.Button6ReverseClick();
    QCOMPARE(lines(), QStringList({"z", "y", "x"}));
    QCOMPARE(shell_->progress.first().value, 1);
    QCOMPARE(shell_->progress.last().value, 2);
    QVERIFY(status().endsWith(QStringLiteral(" の内容を逆順に反転しました")));
    QVERIFY(!named<QPushButton>(form, "Button0Cancel")->isVisible());

    form.seedRandom(1);
    form.Button5RandomClick();
    QStringList shuffled = lines();
    shuffled.sort();
    QCOMPARE(shuffled, QStringList({"x", "y", "z"}));
    QVERIFY(status().endsWith(QStringLiteral(" の内容を乱順に撹拌しました")));
  }

  void duplicateRemovalAndRestore() {
    const QString first = write("d1.txt", "a\nb\na\n");
    const QString second = write("d2.txt", "c\nb\n");
    TVarnopelForm& form = start({first, second});
    const QString label = named<QLabel>(form, "Label1InFile")->text();
    form.Button10CompressClick();
    QCOMPARE(lines(), QStringList({"c", "b", "a"}));
    QCOMPARE(status(), QStringLiteral("重複を除去しました 5 行 - 2 行 = 3 行"));
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), label);  // not refreshed by the removal

    // Restore reads the files again in the list's order; a deleted file
    // loses its row with a message.
    QFile::remove(second);
    form.Button9ReloadClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({QStringLiteral("復元できませんでした\r\n") + second}));
    QCOMPARE(lines(), QStringList({"a", "b", "a"}));
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 1);
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("3 行 / 1 ファイル (ANSI)"));
    QCOMPARE(status(), QStringLiteral("復元しました"));
  }

  void cancelledRemovalLeavesTheListAsItWas() {
    QByteArray many;
    for (int i = 0; i < 400000; ++i) many += QByteArray::number(i % 1000) + '\n';
    TVarnopelForm& form = start({write("many.txt", many)});
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, named<QPushButton>(form, "Button0Cancel"), [&] {
      if (named<QPushButton>(form, "Button0Cancel")->isVisible()) named<QPushButton>(form, "Button0Cancel")->click();
    });
    clicker.start(0);
    form.Pump().setIntervalMs(0);  // pump at every clock check, so Cancel is surely seen
    form.Button10CompressClick();
    clicker.stop();
    QCOMPARE(status(), QStringLiteral("重複の除去を打切りました"));
    QCOMPARE(form.session().lines().count(), size_t(400000));
    QCOMPARE(QString::fromUtf8(form.session().lines()[1001].data(), 1), QStringLiteral("1"));
  }
};

QTEST_MAIN(ReorderTest)
#include "ReorderTest.moc"
