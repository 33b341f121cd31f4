// The settings file: its reading rules, the window's start from it, the
// close question and what a close writes, and the sort-order menu items.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "Widgets.h"
#include "app/SettingsFile.h"
#include "app/TVarnopelForm.h"

using varnopel::SettingsFile;
using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

namespace {

const char* const kOptionItems[] = {"mmSortNum1", "mmSortDic1", "mmSameLB1",   "mmCRLF1",
                                    "mmCR1",      "mmLF1",      "CloseQuery1", "SaveStatus1"};

// A file as a close writes it with the state saved, PROGRAM values aside.
const char kSavedFile[] =
    "[PROGRAM]\r\n"
    "Name=Example\r\n"
    "Path=/opt/tools/\r\n"
    "Version=V2.6\r\n"
    "LastClose=2025/04/25 13:05:09\r\n"
    "\r\n"
    "[POSITION]\r\n"
    "Flags=2\r\n"
    "ShowCmd=1\r\n"
    "MaxX=-1\r\n"
    "MaxY=-8\r\n"
    "Left=48\r\n"
    "Top=21\r\n"
    "Right=648\r\n"
    "Bottom=521\r\n"
    "State=0\r\n"
    "\r\n"
    "[OPTION]\r\n"
    "SortNum=0\r\n"
    "SortDic=1\r\n"
    "CloseQuery=1\r\n"
    "SaveStatus=1\r\n"
    "PrevOpenFolder=/home/user/データ/\r\n"
    "PrevSaveFolder=/home/user/out dir/\r\n"
    "LineBreakSame=0\r\n"
    "LineBreakCRLF=0\r\n"
    "LineBreakCR=1\r\n"
    "LineBreakLF=0\r\n"
    "\r\n";

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private:
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<TVarnopelForm> form_;
  std::unique_ptr<QTemporaryDir> temp_;

  QString primaryPath() const { return temp_->filePath(QStringLiteral("config/Quillmoor/varnopel/varnopel.ini")); }
  QString fallbackPath() const { return temp_->filePath(QStringLiteral("bin/varnopel.ini")); }

  static void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // A window started with its settings at the test's own paths.
  TVarnopelForm& start() {
    form_ = std::make_unique<TVarnopelForm>(dialogs_, std::make_shared<FakeShellServices>());
    form_->setSettingsPaths(primaryPath(), fallbackPath());
    form_->setClock([] { return QDateTime(QDate(2025, 4, 25), QTime(13, 5, 9)); });
    form_->FormCreate({});
    return *form_;
  }

  QStringList checkedOptions() const {
    QStringList names;
    for (const char* name : kOptionItems)
      if (form_->findChild<QAction*>(QString::fromLatin1(name))->isChecked()) names << QString::fromLatin1(name);
    return names;
  }

  // The lines of a written file, with the PROGRAM values cut off after "=".
  static QStringList linesWithoutProgramValues(const QByteArray& bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    for (int i = 1; i <= 4 && i < lines.size(); ++i) lines[i] = lines[i].section(u'=', 0, 0) + u'=';
    return lines;
  }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

  void init() {
    dialogs_ = std::make_shared<ScriptedDialogs>();
    temp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(temp_->isValid());
  }

  void cleanup() {
    form_.reset();
    QCOMPARE(dialogs_->pending(), size_t(0));
  }

  // --- The file on its own ---

  void integerValues_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");  // 77 is the default
    QTest::newRow("decimal") << "480" << 480;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("hex") << "0x10" << 16;
    QTest::newRow("hex any case") << "0XfF" << 255;
    QTest::newRow("hex top bit") << "0xFFFFFFFF" << -1;
    QTest::newRow("bare 0x") << "0x" << 77;
    QTest::newRow("bad hex digit") << "0x1g" << 77;
    QTest::newRow("too many hex digits") << "0x100000000" << 77;
    QTest::newRow("trailing letters") << "12px" << 77;
    QTest::newRow("text") << "yes" << 77;
    QTest::newRow("empty") << "" << 77;
    QTest::newRow("out of range") << "99999999999" << 77;
  }
  void integerValues() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    SettingsFile ini;
    ini.parse("[S]\r\nK=" + text.toUtf8() + "\r\n");
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 77), expected);
  }

  void readingRules() {
    SettingsFile ini;
    const QByteArray longValue(3000, 'v');
    ini.parse("top=1\n[option]\nSTATE=2\nstate=3\nPath= a b \nLong=" + longValue +
              "\r[Other]\rK=x\r\n[OPTION]\nLate=1\n");
    // Names without regard to case; the first of a repeated key or section.
    QCOMPARE(ini.readInteger(QStringLiteral("OPTION"), QStringLiteral("State"), 0), 2);
    QVERIFY(!ini.contains(QStringLiteral("OPTION"), QStringLiteral("Late")));
    // Entries outside a section belong to none.
    QVERIFY(!ini.contains(QString(), QStringLiteral("top")));
    // Strings exactly as written; long ones cut to 2,047 characters.
    QCOMPARE(ini.readString(QStringLiteral("Option"), QStringLiteral("path"), QString()), QStringLiteral(" a b "));
    QCOMPARE(ini.readString(QStringLiteral("Option"), QStringLiteral("Long"), QString()).size(), 2047);
    QCOMPARE(ini.readString(QStringLiteral("other"), QStringLiteral("k"), QString()), QStringLiteral("x"));
    QCOMPARE(ini.readString(QStringLiteral("other"), QStringLiteral("missing"), QStringLiteral("d")),
             QStringLiteral("d"));
    QCOMPARE(ini.readBool(QStringLiteral("option"), QStringLiteral("state"), false), true);
  }

  // --- Start ---

  void firstStartUsesDefaults() {
    TVarnopelForm& form = start();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmSameLB1", "SaveStatus1"}));
    QVERIFY(form.previousOpenFolder().isEmpty());
    QVERIFY(form.previousSaveFolder().isEmpty());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const int left = screen.width() / 4;
    const int top = screen.height() / 5;
    QCOMPARE(form.geometry(), QRect(QPoint(left, top), QPoint(3 * left - 1, 4 * top - 1)));
    QCOMPARE(form.windowState(), Qt::WindowNoState);
  }

  // The saved file is read back in full and a close writes the same file.
  void savedFileRoundTrip() {
    writeFile(primaryPath(), kSavedFile);
    TVarnopelForm& form = start();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmCR1", "CloseQuery1", "SaveStatus1"}));
    QCOMPARE(form.previousOpenFolder(), QStringLiteral("/home/user/データ/"));
    QCOMPARE(form.previousSaveFolder(), QStringLiteral("/home/user/out dir/"));
    // The file dialog and the folder picker open at those folders.
    dialogs_->queueOpenFiles({});
    form.Button1InFileClick();
    dialogs_->queuePickFolder(QString());
    form.Button2OutFolderClick();
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::OpenFiles), QStringList({form.previousOpenFolder()}));
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::PickFolder), QStringList({form.previousSaveFolder()}));
    QCOMPARE(form.geometry(), QRect(48, 21, 600, 500));

    dialogs_->queueQuestion(true);
    QVERIFY(form.close());
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::Question), QStringList({"終了してよいですか？"}));
    const QByteArray written = readFile(primaryPath());
    QCOMPARE(linesWithoutProgramValues(written), linesWithoutProgramValues(kSavedFile));
    const QFileInfo program(QCoreApplication::applicationFilePath());
    QVERIFY(written.startsWith("[PROGRAM]\r\nName=" + program.fileName().toUtf8() +
                               "\r\nPath=" + program.absolutePath().toUtf8() +
                               "/\r\nVersion=V2.6\r\nLastClose=4/25/25 1:05:09 PM\r\n"));
  }

  void optionsRead_data() {
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("neither sort") << QByteArray("SortNum=0\r\nSortDic=0") << QStringList({"mmSameLB1", "SaveStatus1"});
    QTest::newRow("both sorts: the later wins")
        << QByteArray("SortNum=1\r\nSortDic=1") << QStringList({"mmSortDic1", "mmSameLB1", "SaveStatus1"});
    QTest::newRow("no line break") << QByteArray("LineBreakSame=0\r\nLineBreakCRLF=0\r\nLineBreakCR=0\r\nLineBreakLF=0")
                                   << QStringList({"mmSortNum1", "mmSameLB1", "SaveStatus1"});
    QTest::newRow("two line breaks: the later wins")
        << QByteArray("LineBreakCRLF=1\r\nLineBreakLF=1") << QStringList({"mmSortNum1", "mmLF1", "SaveStatus1"});
    QTest::newRow("lower-case names, hex, not numbers")
        << QByteArray("sortnum=zero\r\nsavestatus=0x0\r\ncLOSEqUERY=0x1")
        << QStringList({"mmSortNum1", "mmSameLB1", "CloseQuery1"});
  }
  void optionsRead() {
    QFETCH(QByteArray, option);
    QFETCH(QStringList, checked);
    writeFile(primaryPath(), "[OPTION]\r\n" + option + "\r\n\r\n");
    start();
    QCOMPARE(checkedOptions(), checked);
  }

  void placementRead_data() {
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<QRect>("geometry");  // null: only the size is known
    QTest::addColumn<int>("state");
    QTest::newRow("hex left, default right")
        << QByteArray("Left=0xC8\r\nTop=20\r\nBottom=0x154") << QRect(200, 20, 400, 320) << int(Qt::WindowNoState);
    QTest::newRow("maximised") << QByteArray("Left=10\r\nTop=20\r\nRight=410\r\nBottom=320\r\nState=2")
                               << QRect(10, 20, 400, 300) << int(Qt::WindowMaximized);
    QTest::newRow("minimised") << QByteArray("Left=10\r\nTop=20\r\nRight=410\r\nBottom=320\r\nstate=1")
                               << QRect(10, 20, 400, 300) << int(Qt::WindowMinimized);
    QTest::newRow("unknown state") << QByteArray("Left=10\r\nTop=20\r\nRight=410\r\nBottom=320\r\nState=7")
                                   << QRect(10, 20, 400, 300) << int(Qt::WindowNoState);
    QTest::newRow("off every screen") << QByteArray("Left=30000\r\nTop=-30000\r\nRight=30400\r\nBottom=-29700")
                                      << QRect() << int(Qt::WindowNoState);
    // Saved on a bigger screen: partly off this one, the whole window comes back.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto edges = [](int left, int top) {
      return QStringLiteral("Left=%1\r\nTop=%2\r\nRight=%3\r\nBottom=%4")
          .arg(left)
          .arg(top)
          .arg(left + 400)
          .arg(top + 300)
          .toLatin1();
    };
    QTest::newRow("bottom below the screen") << edges(10, area.height() - 100) << QRect() << int(Qt::WindowNoState);
    QTest::newRow("right beyond the screen") << edges(area.width() - 50, 20) << QRect() << int(Qt::WindowNoState);
    QTest::newRow("left of the screen") << edges(-350, 20) << QRect() << int(Qt::WindowNoState);
  }
  void placementRead() {
    QFETCH(QByteArray, position);
    QFETCH(QRect, geometry);
    QFETCH(int, state);
    writeFile(primaryPath(), "[POSITION]\r\n" + position + "\r\n\r\n");
    TVarnopelForm& form = start();
    QCOMPARE(int(form.windowState()), state);
    if (!geometry.isNull()) {
      QCOMPARE(form.geometry(), geometry);
    } else {
      QCOMPARE(form.geometry().size(), QSize(400, 300));
      QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(form.geometry()));
    }
  }

  void fallbackReadThenRealFileWritten() {
    writeFile(fallbackPath(), "[OPTION]\r\nSortDic=1\r\n\r\n");
    start();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1", "SaveStatus1"}));
    QVERIFY(form_->close());
    QVERIFY(readFile(primaryPath()).contains("SortDic=1\r\n"));
    QCOMPARE(readFile(fallbackPath()), QByteArray("[OPTION]\r\nSortDic=1\r\n\r\n"));

    // From now on the real file answers, whatever the one beside the program says.
    writeFile(fallbackPath(), "[OPTION]\r\nSortDic=0\r\nCloseQuery=1\r\n\r\n");
    start();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1", "SaveStatus1"}));
  }

  // --- Close ---

  void closeWithoutSavingStateWritesProgramOnly() {
    writeFile(primaryPath(), kSavedFile);
    TVarnopelForm& form = start();
    named<QAction>(form, "SaveStatus1")->trigger();
    QVERIFY(!named<QAction>(form, "SaveStatus1")->isChecked());
    dialogs_->queueQuestion(true);
    QVERIFY(form.close());
    const QStringList lines = linesWithoutProgramValues(readFile(primaryPath()));
    QCOMPARE(lines, QStringList({"[PROGRAM]", "Name=", "Path=", "Version=", "LastClose=", "", ""}));

    // The next start knows nothing but the defaults, saving included.
    start();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmSameLB1", "SaveStatus1"}));
  }

  void closeRefusedLeavesFileAlone() {
    writeFile(primaryPath(), kSavedFile);
    TVarnopelForm& form = start();
    named<QAction>(form, "mmSortNum1")->trigger();
    dialogs_->queueQuestion(false);
    QVERIFY(!form.close());
    QCOMPARE(readFile(primaryPath()), QByteArray(kSavedFile));
  }

  void foldersFromTheBoxes_data() {
    QTest::addColumn<QString>("inFile");
    QTest::addColumn<QString>("outFolder");
    QTest::addColumn<QString>("openFolder");
    QTest::addColumn<QString>("saveFolder");
    QTest::newRow("both boxes") << "/data/in/list.txt"
                                << "/data/out"
                                << "/data/in/"
                                << "/data/out/";
    QTest::newRow("folder with its slash") << "/list.txt"
                                           << "/data/out/"
                                           << "/"
                                           << "/data/out/";
    QTest::newRow("empty boxes keep the old folders") << ""
                                                      << ""
                                                      << "/old/in/"
                                                      << "/old/out/";
    QTest::newRow("a name without folder keeps the old one") << "list.txt"
                                                             << ""
                                                             << "/old/in/"
                                                             << "/old/out/";
  }
  void foldersFromTheBoxes() {
    QFETCH(QString, inFile);
    QFETCH(QString, outFolder);
    QFETCH(QString, openFolder);
    QFETCH(QString, saveFolder);
    writeFile(primaryPath(), "[OPTION]\r\nPrevOpenFolder=/old/in/\r\nPrevSaveFolder=/old/out/\r\n\r\n");
    TVarnopelForm& form = start();
    named<QLineEdit>(form, "Edit1InFile")->setText(inFile);
    named<QLineEdit>(form, "Edit2OutFolder")->setText(outFolder);
    QVERIFY(form.close());
    SettingsFile ini;
    QVERIFY(ini.load(primaryPath()));
    QCOMPARE(ini.readString(QStringLiteral("OPTION"), QStringLiteral("PrevOpenFolder"), QString()), openFolder);
    QCOMPARE(ini.readString(QStringLiteral("OPTION"), QStringLiteral("PrevSaveFolder"), QString()), saveFolder);
  }

  void byteOrderMarkKept_data() {
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<int>("encoding");
    QTest::newRow("none") << QByteArray() << int(QStringDecoder::Utf8);
    QTest::newRow("UTF-8") << QByteArray("\xEF\xBB\xBF") << int(QStringDecoder::Utf8);
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE") << int(QStringDecoder::Utf16LE);
    QTest::newRow("UTF-16BE") << QByteArray("\xFE\xFF") << int(QStringDecoder::Utf16BE);
  }
  void byteOrderMarkKept() {
    QFETCH(QByteArray, mark);
    QFETCH(int, encoding);
    const QString text = QStringLiteral("[OPTION]\r\nPrevOpenFolder=/データ/\r\n\r\n");
    QStringEncoder encoder{QStringEncoder::Encoding(encoding)};
    writeFile(primaryPath(), mark + QByteArray(encoder.encode(text)));
    TVarnopelForm& form = start();
    QCOMPARE(form.previousOpenFolder(), QStringLiteral("/データ/"));
    QVERIFY(form.close());
    const QByteArray written = readFile(primaryPath());
    QVERIFY(written.startsWith(mark + QByteArray(encoder.encode(QStringLiteral("[PROGRAM]\r\n")))));
    QVERIFY(!mark.isEmpty() || !written.startsWith("\xEF\xBB\xBF"));
    QStringDecoder decoder{QStringDecoder::Encoding(encoding)};
    QVERIFY(
        QString(decoder.decode(written.mid(mark.size()))).contains(QStringLiteral("\r\nPrevOpenFolder=/データ/\r\n")));
  }

  void unmakeableFolderWritesBesideProgram() {
    writeFile(temp_->filePath(QStringLiteral("plain")), "not a folder");
    QVERIFY(QDir().mkpath(QFileInfo(fallbackPath()).absolutePath()));
    start();
    form_->setSettingsPaths(temp_->filePath(QStringLiteral("plain/Quillmoor/varnopel.ini")), fallbackPath());
    QVERIFY(form_->close());
    QVERIFY(readFile(fallbackPath()).startsWith("[PROGRAM]\r\n"));
  }

  // Nowhere to write: the window still closes, and says what was not kept.
  void unwritableSettingsAreReported() {
    writeFile(temp_->filePath(QStringLiteral("plain")), "not a folder");
    start();
    const QString fallback = temp_->filePath(QStringLiteral("plain/varnopel.ini"));
    form_->setSettingsPaths(temp_->filePath(QStringLiteral("plain/Quillmoor/varnopel.ini")), fallback);
    QVERIFY(form_->close());
    const QStringList shown = dialogs_->texts(ScriptedDialogs::Kind::Information);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("設定を保存できませんでした\r\n") + fallback + QStringLiteral("\r\n")),
             qPrintable(shown[0]));
    QVERIFY(shown[0].size() > shown[0].lastIndexOf(u'\n') + 1);  // a reason follows
  }

  void sessionEndAsksAndSaves() {
    TVarnopelForm& form = start();
    named<QAction>(form, "CloseQuery1")->trigger();
    dialogs_->queueQuestion(false);
    QVERIFY(!form.QueryEndSession(true));
    QVERIFY(!QFileInfo::exists(primaryPath()));

    dialogs_->queueQuestion(true);
    QVERIFY(form.QueryEndSession(true));
    QVERIFY(QFileInfo::exists(primaryPath()));
    // The close that follows does not ask again.
    QVERIFY(form.close());
  }

  // --- Sort-order items ---

  void sortOrderItems() {
    TVarnopelForm& form = start();
    named<QAction>(form, "mmSortDic1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1", "SaveStatus1"}));
    QCOMPARE(named<QLabel>(form, "StatusPanel1")->text(), QStringLiteral("辞書順(1,10,2,..)に整列(&D)します"));
    // Choosing the checked item leaves it checked.
    named<QAction>(form, "mmSortDic1")->trigger();
    QVERIFY(named<QAction>(form, "mmSortDic1")->isChecked());
    named<QAction>(form, "mmSortNum1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmSameLB1", "SaveStatus1"}));
    QCOMPARE(named<QLabel>(form, "StatusPanel1")->text(), QStringLiteral("数値順(1,2,10,..)に整列(&N)します"));
  }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
