// Faults seen through the window: failing disks injected under the real
// split run, a file size limit, memory running out while reading, and inputs
// that vanish or are not text. Each leaves a clear message, the busy state
// left, no half-written file and the list as it was.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>

#include "FormFixture.h"
#include "Widgets.h"
#include "shell/DesktopEntry.h"
#include "split/OutputFile.h"

using varnopel::FileSystemCalls;
using varnopel::NumberBox;
using varnopel::RealFileSystemCalls;
using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

namespace {

// The injected fault: which output file (1-based, by creation) fails and how.
struct Fault {
  int creates = 0;
  int failCreateOf = 0;
  int createError = 0;
  int fullDiskOn = 0;  // writes to this file fail with ENOSPC
  std::function<void()> beforeWriteOf2;
} fault;

const FileSystemCalls kFaulty = [] {
  FileSystemCalls calls = RealFileSystemCalls();
  calls.open = [](const char* path, int flags, unsigned mode) {
    if ((flags & O_CREAT) && ++fault.creates == fault.failCreateOf) {
      errno = fault.createError;
      return -1;
    }
    return RealFileSystemCalls().open(path, flags, mode);
  };
  calls.write = [](int fd, const void* data, unsigned long size) -> long {
    if (fault.creates == 2 && fault.beforeWriteOf2) std::exchange(fault.beforeWriteOf2, nullptr)();
    if (fault.creates == fault.fullDiskOn) {
      errno = ENOSPC;
      return -1;
    }
    return RealFileSystemCalls().write(fd, data, size);
  };
  return calls;
}();

// Reading a file of 1 MiB or more runs out of memory.
const FileSystemCalls kNoMemoryForBigFiles = [] {
  FileSystemCalls calls = RealFileSystemCalls();
  calls.read = [](int fd, void* data, unsigned long size) -> long {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size >= (1 << 20)) throw std::bad_alloc();
    return RealFileSystemCalls().read(fd, data, size);
  };
  return calls;
}();

}  // namespace

class FaultTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
  QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  TVarnopelForm& load(const QStringList& paths) {
    start().WMDropFiles(paths);
    return *form_;
  }
  QStringList workingList() const {
    QStringList lines;
    for (size_t i = 0; i < form_->session().lines().count(); ++i)
      lines << QString::fromUtf8(form_->session().lines()[i].data(),
                                 static_cast<qsizetype>(form_->session().lines()[i].size()));
    return lines;
  }
  QString status() const { return named<QLabel>(*form_, "StatusPanel1")->text(); }
  // The run is over: nothing is busy and the controls are back.
  void verifyIdle() const {
    QVERIFY(!form_->IsBusy());
    QVERIFY(named<QPushButton>(*form_, "Button3Exec")->isEnabled());
    QVERIFY(named<NumberBox>(*form_, "NumberBox1Files")->isEnabled());
    QVERIFY(!named<QPushButton>(*form_, "Button0Cancel")->isVisible());
  }

  const QByteArray kSix = "a\nb\nc\nd\ne\nf\n";

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() {
    resetFixture();
    fault = Fault{};
  }
  void cleanup() {
    varnopel::SetFileSystemCallsForTesting(nullptr);
    QCOMPARE(dialogs_->pending(), size_t(0));
    form_.reset();
  }

  void writeFaultsEndTheRunCleanly_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");  // "%1" is the output folder
    QTest::addColumn<QStringList>("left");
    QTest::newRow("disk full in the second file")
        << 0 << QStringLiteral("ストリームへの書き込みエラー.") << QStringList({"list-1.txt", "list-2.txt"});
    QTest::newRow("permission denied on create")
        << 1 << QStringLiteral("ファイル \"%1/list-1.txt\" を作成できません。Permission denied.")
        << QStringList({"list-2.txt"});
    QTest::newRow("the folder vanishes")
        << 2 << QStringLiteral("ファイル \"%1/list-2.txt\" を作成できません。No such file or directory.")
        << QStringList();
  }
  void writeFaultsEndTheRunCleanly() {
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QStringList, left);
    const QString input = write("list.txt", kSix);
    TVarnopelForm& form = load({input});
    const QString out = temp_->filePath("out");
    QDir().mkpath(out);
    named<QCheckBox>(form, "CheckBox1SameFolder")->setChecked(false);
    named<QLineEdit>(form, "Edit2OutFolder")->setText(out);
    named<QCheckBox>(form, "CheckBox2OverWrite")->setChecked(true);
    named<NumberBox>(form, "NumberBox1Files")->setValue(2);
    write("out/list-2.txt", "precious");
    const QStringList before = workingList();

    if (kind == 0) fault.fullDiskOn = 2;
    if (kind == 1) fault.failCreateOf = 1, fault.createError = EACCES;
    if (kind == 2) fault.beforeWriteOf2 = [out] { QDir(out).removeRecursively(); };
    varnopel::SetFileSystemCallsForTesting(&kFaulty);
    form.Button3ExecClick();
    varnopel::SetFileSystemCallsForTesting(nullptr);

    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error),
             QStringList({QString(message).replace(QStringLiteral("%1"), out)}));
    QCOMPARE(status(), QStringLiteral("list.txt の処理を打切りました"));
    verifyIdle();
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), left);
    if (left.contains("list-2.txt")) QCOMPARE(read(out + "/list-2.txt"), QByteArray("precious"));
    if (left.contains("list-1.txt")) QCOMPARE(read(out + "/list-1.txt"), QByteArray("a\nb\nc\n"));
    QCOMPARE(workingList(), before);
  }

  void controlCharacterInThePathStopsBeforeWriting() {
    const QString input = write(QStringLiteral("in\x01put.txt"), kSix);
    TVarnopelForm& form = load({input});
    QCOMPARE(form.session().lines().count(), size_t(6));
    // Building the output list after the load already meets the bad name;
    // Execute meets it again and says so once.
    const QString expected =
        QStringLiteral("パスに無効な文字が含まれています\r\n[") + temp_->filePath("in\x01put.txt") + "].";
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error), QStringList({expected}));
    dialogs_->clearShown();
    form.Button3ExecClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error), QStringList({expected}));
    verifyIdle();
    QCOMPARE(QDir(temp_->path()).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("in\x01put.txt")}));
    QCOMPARE(workingList().size(), 6);
  }

  void unreadableInputsAreReportedAndLeftOut() {
    const QString good = write("a-good.txt", "one\ntwo\n");
    const QString invalid = write("b-invalid.txt", "\xE6\x97\xA5\n" + QByteArray(600, 'x') + "\xC3\x28\n");
    const QString lone = write("c-lone.txt", "\xFF\xFE\x41");
    const QString empty = write("d-empty.txt", "");
    const QString binary = write("e-binary.txt", QByteArray("\x7F"
                                                            "ELF\x02\x01\x01\0\0\0",
                                                            10));
    TVarnopelForm& form = load({good, invalid, lone, empty, binary});
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({QStringLiteral("読み込めませんでした\r\n") + invalid,
                          QStringLiteral("読み込めませんでした\r\n") + lone}));
    // Empty and binary files are listed with no lines; the broken ones are not listed.
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 3);
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItem(1)->text(0), empty);
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItem(1)->text(1), QStringLiteral("0"));
    QCOMPARE(workingList(), QStringList({"one", "two"}));
    verifyIdle();

    // Only the empty and binary files: nothing to split.
    load({empty, binary});
    QVERIFY(!named<NumberBox>(*form_, "NumberBox1Files")->isEnabled());
    form_->Button3ExecClick();
    QCOMPARE(status(), QStringLiteral("分割する行がありません"));
    QCOMPARE(QDir(temp_->path()).entryList({"*-1.txt"}, QDir::Files), QStringList());
  }

  void inputDeletedBeforeRestoreOrRereading() {
    const QString first = write("p1.txt", "one\n");
    const QString second = write("p2.txt", "two\n");
    TVarnopelForm& form = load({first, second});
    QFile::remove(second);
    form.Button9ReloadClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({QStringLiteral("復元できませんでした\r\n") + second}));
    QCOMPARE(status(), QStringLiteral("復元しました"));
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->topLevelItemCount(), 1);
    QCOMPARE(workingList(), QStringList({"one"}));
    verifyIdle();

    // Deleted after a move in the input list: Execute reads the files again.
    dialogs_->clearShown();
    const QString third = write("p3.txt", "three\n");
    load({first, third});
    QTreeWidget* inputs = named<QTreeWidget>(*form_, "ListView2");
    inputs->setCurrentItem(inputs->topLevelItem(1));
    form_->ToTop2Click();
    QFile::remove(first);
    form_->Button3ExecClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({QStringLiteral("読み込めませんでした\r\n") + first}));
    QCOMPARE(read(temp_->filePath("p3-1.txt")), QByteArray("three\n"));
    verifyIdle();
  }

  // A file over the size limit fails its write like a full disk: the box
  // says so and the program is not ended by the signal.
  void aFileOverTheSizeLimitShowsTheWriteError() {
    TVarnopelForm& form = load({write("list.txt", QByteArray("0123456789\n").repeated(1000))});
    rlimit before{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
    rlimit small = before;
    small.rlim_cur = 4096;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    form.Button3ExecClick();
    ::setrlimit(RLIMIT_FSIZE, &before);
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Error),
             QStringList({QStringLiteral("ストリームへの書き込みエラー.")}));
    QCOMPARE(QDir(temp_->path()).entryList({"*list*"}, QDir::Files | QDir::Hidden), QStringList({"list.txt"}));
    verifyIdle();
  }

  // Out of memory while reading, on each road that reads: the box names the
  // file and says how much memory it needs, in words.
  void outOfMemoryIsSaidInWords_data() {
    QTest::addColumn<int>("road");
    QTest::addColumn<QString>("box");
    QTest::newRow("drop") << 0 << QStringLiteral("読み込めませんでした\r\n");
    QTest::newRow("restore") << 1 << QStringLiteral("復元できませんでした\r\n");
    QTest::newRow("read again by Execute") << 2 << QStringLiteral("読み込めませんでした\r\n");
  }
  void outOfMemoryIsSaidInWords() {
    QFETCH(int, road);
    QFETCH(QString, box);
    const QString small = write("a-small.txt", "one\n");
    // UTF-16: the decoded text comes on top of the bytes, 3 MiB in all.
    const QString big =
        write("b-big.txt", "\xFF\xFE" + QByteArray("a\0\n\0", 4).repeated((1 << 18) - 1) + QByteArray("a\0", 2));
    // The drop's own read fails; the other roads fail when they read again.
    if (road == 0) varnopel::SetFileSystemCallsForTesting(&kNoMemoryForBigFiles);
    TVarnopelForm& form = load({small, big});
    varnopel::SetFileSystemCallsForTesting(&kNoMemoryForBigFiles);
    if (road == 1) form.Button9ReloadClick();
    if (road == 2) {
      QTreeWidget* inputs = named<QTreeWidget>(form, "ListView2");
      inputs->setCurrentItem(inputs->topLevelItem(1));
      form.ToTop2Click();
      form.Button3ExecClick();
    }
    varnopel::SetFileSystemCallsForTesting(nullptr);
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Information),
             QStringList({box + big +
                          QStringLiteral("\r\nこのファイルには約 3 MB のメモリが必要ですが、確保できませんでした")}));
    QCOMPARE(workingList(), QStringList({"one"}));
    verifyIdle();
  }

  // Found by fuzzing: a shortcut comment with outer blanks or a leading
  // ideographic space lost them when the entry was read back.
  void desktopEntryValuesKeepTheirOuterSpaces() {
    for (const QString& value : {QStringLiteral(" padded "), QStringLiteral("\u3000全角"), QStringLiteral("tab\t "),
                                 QStringLiteral("\u00A0nbsp\u00A0")}) {
      const QString path = temp_->filePath("entry.desktop");
      QFile::remove(path);
      write("entry.desktop", "[Desktop Entry]\nComment = " + varnopel::EscapeDesktopValue(value).toUtf8() + " \r\n");
      varnopel::DesktopEntry entry;
      QVERIFY(varnopel::ReadDesktopEntry(path, entry));
      QCOMPARE(entry.value(QStringLiteral("Comment")), value);
    }
  }
};

QTEST_MAIN(FaultTest)
#include "FaultTest.moc"
