// Execute from end to end through the window, and the open-folder button.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "FormFixture.h"
#include "Widgets.h"

using varnopel::Dialogs;
using varnopel::NumberBox;
using varnopel::TVarnopelForm;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

class SplitExecTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
  // Loads through a drop, as a user would, so that the output list is built.
  TVarnopelForm& load(const QStringList& paths) {
    start().WMDropFiles(paths);
    return *form_;
  }
  static QStringList counts(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(1);
    return out;
  }

  const QByteArray kTen = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\n";

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() { resetFixture(); }
  void cleanup() { finishFixture(); }

  void blocksAndDealtOut() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    named<NumberBox>(form, "NumberBox1Files")->setValue(3);
    form.Button3ExecClick();
    QCOMPARE(read("list-1.txt"), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
    QCOMPARE(read("list-3.txt"), QByteArray("i\r\nj\r\n"));
    QCOMPARE(counts(named<QTreeWidget>(form, "ListView1")), QStringList({"4", "4", "2"}));
    QCOMPARE(status(), QStringLiteral("10 行 / 1 ファイル (ANSI) を 3 ファイルに分割出力しました"));
    QVERIFY(named<QPushButton>(form, "Button3Exec")->isEnabled());
    QVERIFY(!named<QPushButton>(form, "Button0Cancel")->isVisible());

    named<QCheckBox>(form, "CheckBox3Distribute")->setChecked(true);
    named<QAction>(form, "mmLF1")->setChecked(true);
    dialogs_->queueOverwrite(Dialogs::Answer::YesToAll);
    form.Button3ExecClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Overwrite).value(0),
             QStringLiteral("ファイルは既に存在します\r\n") + temp_->filePath("list-1.txt") +
                 QStringLiteral("上書きしますか？"));
    QVERIFY(named<QCheckBox>(form, "CheckBox2OverWrite")->isChecked());
    QCOMPARE(read("list-1.txt"), QByteArray("a\nd\ng\nj\n"));
    QCOMPARE(read("list-2.txt"), QByteArray("b\ne\nh\n"));
    QVERIFY(status().endsWith(QStringLiteral("ファイルに振分け出力しました")));
  }

  void overwriteNoAndCancel() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    named<NumberBox>(form, "NumberBox1Files")->setValue(3);
    write("list-1.txt", "old1");
    write("list-2.txt", "old2");
    dialogs_->queueOverwrite(Dialogs::Answer::No);
    dialogs_->queueOverwrite(Dialogs::Answer::Yes);
    form.Button3ExecClick();
    QCOMPARE(read("list-1.txt"), QByteArray("old1"));
    QCOMPARE(read("list-2.txt"), QByteArray("e\r\nf\r\ng\r\nh\r\n"));
    QCOMPARE(counts(named<QTreeWidget>(form, "ListView1")), QStringList({"", "4", "2"}));

    write("list-2.txt", "old2");
    QFile::remove(temp_->filePath("list-3.txt"));
    dialogs_->queueOverwrite(Dialogs::Answer::Yes);
    dialogs_->queueOverwrite(Dialogs::Answer::Cancel);
    form.Button3ExecClick();
    QCOMPARE(read("list-2.txt"), QByteArray("old2"));
    QCOMPARE(read("list-3.txt"), QByteArray("<missing>"));
    QCOMPARE(status(), QStringLiteral("list.txt の処理を打切りました"));
  }

  // A dangling symbolic link at an output name is asked about like a file,
  // and a Yes replaces the link itself.
  void aDanglingLinkIsAskedAboutAndReplaced() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    const QString link = temp_->filePath("list-1.txt");
    QVERIFY(QFile::link(temp_->filePath("nowhere.txt"), link));
    dialogs_->queueOverwrite(Dialogs::Answer::No);
    form.Button3ExecClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Overwrite),
             QStringList({QStringLiteral("ファイルは既に存在します\r\n") + link + QStringLiteral("上書きしますか？")}));
    QVERIFY(QFileInfo(link).isSymLink());

    dialogs_->queueOverwrite(Dialogs::Answer::Yes);
    form.Button3ExecClick();
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(read("list-1.txt"), kTen);
    QVERIFY(!QFileInfo::exists(temp_->filePath("nowhere.txt")));
  }

  void uncheckedRowsAndManyFiles() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    named<NumberBox>(form, "NumberBox1Files")->setValue(7);
    named<QTreeWidget>(form, "ListView1")->topLevelItem(5)->setCheckState(0, Qt::Unchecked);
    form.Button3ExecClick();
    QCOMPARE(counts(named<QTreeWidget>(form, "ListView1")), QStringList({"2", "2", "2", "2", "2", "0", "0"}));
    QCOMPARE(read("list-6.txt"), QByteArray("<missing>"));
    QCOMPARE(read("list-7.txt"), QByteArray());

    // Seventeen files: the list starts empty and gains a row per written file,
    // and a second run appends after the first.
    named<QRadioButton>(form, "RadioButton2Lines")->setChecked(true);
    named<NumberBox>(form, "NumberBox2Lines")->setValue(1);
    named<NumberBox>(form, "NumberBox1Files")->setValue(10);
    named<QCheckBox>(form, "CheckBox2OverWrite")->setChecked(true);
    const QByteArray many = QByteArray("x\n").repeated(17);
    form_.reset();
    TVarnopelForm& second = load({write("many.txt", many)});
    named<NumberBox>(second, "NumberBox2Lines")->setValue(1);
    QCOMPARE(named<QTreeWidget>(second, "ListView1")->topLevelItemCount(), 0);
    second.Button3ExecClick();
    QCOMPARE(named<QTreeWidget>(second, "ListView1")->topLevelItemCount(), 17);
    QVERIFY(named<QTreeWidget>(second, "ListView1")->topLevelItem(16)->text(0).endsWith(QStringLiteral("many-17.txt")));
    named<QCheckBox>(second, "CheckBox2OverWrite")->setChecked(true);
    second.Button3ExecClick();
    QCOMPARE(named<QTreeWidget>(second, "ListView1")->topLevelItemCount(), 34);
  }

  void encodingsOfTheInput() {
    struct Case {
      const char* name;
      QByteArray input;
      QByteArray output;
    } cases[] = {
        {"utf8.txt", "\xE3\x81\x82\n\xE3\x81\x84\n", "\xEF\xBB\xBF\xE3\x81\x82\n\xE3\x81\x84\n"},
        {"utf16.txt",
         QByteArray("\xFF\xFE"
                    "a\0\r\0\n\0",
                    8),
         QByteArray("\xFF\xFE"
                    "a\0\r\0\n\0",
                    8)},
        {"sjis.txt", "\x82\xA0\r\n", "\x82\xA0\r\n"},
    };
    for (const Case& c : cases) {
      TVarnopelForm& form = load({write(c.name, c.input)});
      form.Button3ExecClick();
      const QString out = QString::fromLatin1(c.name).replace(".txt", "-1.txt");
      QCOMPARE(read(out), c.output);
    }
    QCOMPARE(form_->session().codePage(), 932);
  }

  void reorderedInputsAreReadAgain() {
    TVarnopelForm& form = load({write("p1.txt", "one\n"), write("p2.txt", "two\n")});
    // The user moved the second file to the top.
    QTreeWidget* inputs = named<QTreeWidget>(form, "ListView2");
    inputs->setCurrentItem(inputs->topLevelItem(1));
    form.ToTop2Click();
    form.Button3ExecClick();
    QCOMPARE(read("p2-1.txt"), QByteArray("two\none\n"));
    QVERIFY(form.inputOrderChanged());
  }

  void commandLineLoadBuildsTheMissingRows() {
    start({write("cl.txt", kTen)});
    QCOMPARE(named<QTreeWidget>(*form_, "ListView1")->topLevelItemCount(), 0);
    form_->Button3ExecClick();
    QCOMPARE(read("cl-1.txt"), kTen);
    QCOMPARE(counts(named<QTreeWidget>(*form_, "ListView1")), QStringList({"10"}));
  }

  // Paths typed relative to the starting folder are made full, so that
  // the output folder is known and Execute writes.
  void relativeCommandLinePathsAreMadeFull() {
    write("data.csv", kTen);
    QDir(temp_->path()).mkdir(QStringLiteral("sub"));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(temp_->path()));
    const QString folder = QDir::currentPath();
    start({QStringLiteral("sub/../data.csv")});
    QDir::setCurrent(before);

    const QString full = folder + QStringLiteral("/data.csv");
    QCOMPARE(named<QTreeWidget>(*form_, "ListView2")->topLevelItem(0)->text(0), full);
    QCOMPARE(named<QLineEdit>(*form_, "Edit1InFile")->text(), full);
    QCOMPARE(named<QLineEdit>(*form_, "Edit2OutFolder")->text(), folder + QStringLiteral("/"));
    named<NumberBox>(*form_, "NumberBox1Files")->setValue(2);
    form_->Button3ExecClick();
    QCOMPARE(read("data-1.csv"), QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n"));
    QCOMPARE(read("data-2.csv"), QByteArray("f\r\ng\r\nh\r\ni\r\nj\r\n"));
    // Every row shows its whole path as a tooltip, where the column elides it.
    QCOMPARE(named<QTreeWidget>(*form_, "ListView2")->topLevelItem(0)->toolTip(0), full);
    QTreeWidgetItem* written = named<QTreeWidget>(*form_, "ListView1")->topLevelItem(1);
    QCOMPARE(written->toolTip(0), written->text(0));
  }

  void aFailedCreateEndsTheRunCleanly() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    named<QCheckBox>(form, "CheckBox1SameFolder")->setChecked(false);
    const QString gone = temp_->filePath("gone");
    named<QLineEdit>(form, "Edit2OutFolder")->setText(gone);
    named<NumberBox>(form, "NumberBox1Files")->setValue(2);
    form.Button3ExecClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error).value(0),
             QStringLiteral("ファイル \"") + gone +
                 QStringLiteral("/list-1.txt\" を作成できません。No such file or directory."));
    QCOMPARE(status(), QStringLiteral("list.txt の処理を打切りました"));
    QVERIFY(named<QPushButton>(form, "Button3Exec")->isEnabled());
    QVERIFY(named<NumberBox>(form, "NumberBox1Files")->isEnabled());
    QVERIFY(!named<QPushButton>(form, "Button0Cancel")->isVisible());
    QVERIFY(!form.IsBusy());
  }

  void emptyListWritesNothing() {
    TVarnopelForm& form = load({write("empty.txt", "")});
    form.Button3ExecClick();
    QCOMPARE(status(), QStringLiteral("分割する行がありません"));
    QCOMPARE(read("empty-1.txt"), QByteArray("<missing>"));
  }

  void openFolderButton() {
    TVarnopelForm& form = load({write("list.txt", kTen)});
    form.Button4OpenClick();  // one planned file, not written yet: its folder opens
    QCOMPARE(shell_->opened, QStringList({temp_->filePath("list-1.txt").section('/', 0, -2)}));
    form.Button3ExecClick();
    form.Button4OpenClick();
    QCOMPARE(shell_->shownItems.value(0), QStringList({temp_->filePath("list-1.txt")}));
  }

  void windowAndCommandLineAgree() {
    const QByteArray lines = "5\n3\n10\n1\n7\n2\n9\n";
    for (bool deal : {false, true}) {
      QTemporaryDir cliOut;
      TVarnopelForm& form = load({write("agree.txt", lines)});
      named<NumberBox>(form, "NumberBox1Files")->setValue(3);
      named<QCheckBox>(form, "CheckBox3Distribute")->setChecked(deal);
      named<QCheckBox>(form, "CheckBox2OverWrite")->setChecked(true);
      form.Button3ExecClick();
      QStringList args{temp_->filePath("agree.txt"), "--files", "3", "--out", cliOut.path(), "--quiet"};
      if (deal) args << "--deal";
      QCOMPARE(QProcess::execute(QStringLiteral(VARNOPEL_SPLIT_PROGRAM), args), 0);
      for (int k = 1; k <= 3; ++k) {
        QFile cli(cliOut.filePath(QStringLiteral("agree-%1.txt").arg(k)));
        QVERIFY(cli.open(QIODevice::ReadOnly));
        QCOMPARE(read(QStringLiteral("agree-%1.txt").arg(k)), cli.readAll());
      }
    }
  }
};

QTEST_MAIN(SplitExecTest)
#include "SplitExecTest.moc"
