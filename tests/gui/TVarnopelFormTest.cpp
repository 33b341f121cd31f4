// The main window: start state, refresh after loading, split arithmetic,
// list columns, settings menu groups, clock, output folder and layout rules.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "Widgets.h"
#include "app/TVarnopelForm.h"
#include "decoding/CheckCCode.h"

using varnopel::Dialogs;
using varnopel::NumberBox;
using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

namespace {

// Controls of the upper grid, in both grids' order.
const char* const kGridControls[] = {
    "Label4InFile",       "Label1InFile",        "Button1InFile",    "Edit1InFile",       "Button9Reload",
    "Button6Reverse",     "Button5Random",       "Button7Ascend",    "Button8Descend",    "Button10Compress",
    "Label5OutFolder",    "CheckBox1SameFolder", "Button2OutFolder", "Edit2OutFolder",    "RadioButton1Files",
    "NumberBox1Files",    "label1Files",         "Button3Exec",      "RadioButton2Lines", "NumberBox2Lines",
    "Label2Lines",        "RadioButton3Half",    "NumberBox3Half",   "Label25Half",       "CheckBox3Distribute",
    "CheckBox2OverWrite", "Button4Open",
};

const char* const kOptionItems[] = {"mmSortNum1", "mmSortDic1", "mmSameLB1",   "mmCRLF1",
                                    "mmCR1",      "mmLF1",      "CloseQuery1", "SaveStatus1"};

}  // namespace

class TVarnopelFormTest : public QObject {
  Q_OBJECT

 private:
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<TVarnopelForm> form_;
  QTemporaryDir temp_;

  // A fresh window after its start handler, as the program has it.
  TVarnopelForm& start() {
    makeForm();
    form_->FormCreate({});
    return *form_;
  }

  // A window whose settings file lies in the test's folder, absent unless
  // `settings` gives its contents.
  void makeForm(const QByteArray& settings = {}) {
    form_ = std::make_unique<TVarnopelForm>(dialogs_, std::make_shared<FakeShellServices>());
    const QString path = temp_.filePath(QStringLiteral("settings.ini"));
    form_->setSettingsPaths(path, temp_.filePath(QStringLiteral("fallback.ini")));
    QFile::remove(path);
    if (!settings.isEmpty()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(settings);
    }
  }

  // Puts n one-character lines into MainList1 through the file reader.
  void loadLines(TVarnopelForm& form, int n) {
    const QString path = temp_.filePath(QStringLiteral("lines-%1.txt").arg(n));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("7\n").repeated(n));
    file.close();
    varnopel::LoadEvents quiet;
    form.session().load({path.toStdString()}, quiet);
    form.session().setEncoding(932, "");  // the lines alone: the code page stays the one at start
    QCOMPARE(form.session().lines().count(), size_t(n));
  }

  template <class T>
  T* child(const char* name) {
    T* found = form_->findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no child %s", name);
    return found;
  }

  QStringList checkedOptions() {
    QStringList names;
    for (const char* name : kOptionItems)
      if (child<QAction>(name)->isChecked()) names << QString::fromLatin1(name);
    return names;
  }

 private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(temp_.isValid());
  }

  void init() { dialogs_ = std::make_shared<ScriptedDialogs>(); }

  void cleanup() {
    form_.reset();
    QCOMPARE(dialogs_->pending(), size_t(0));
  }

  void namedObjectsExist_data() {
    QTest::addColumn<QString>("name");
    const char* const others[] = {
        "GridPanel1", "GridPanel3", "PageControl1", "tsReadIn2", "tsWriteOut1", "ListView1", "ListView2", "StatusBar1",
        "StatusPanel0", "StatusPanel1", "Button0Cancel", "Timer1", "MainMenu1",
        // Main menu, separators included.
        "File1", "ReadFile1", "WriteFolder1", "N1", "ShortCut1", "SendTo1", "N5", "DeskTop1", "StartMenu1", "StartUp1",
        "Close1", "Option1", "N8", "N7", "Help1", "Help2", "About1", "Properties1", "N2", "Donation1", "HomeSite1",
        // Pop-up menu.
        "PopupMenu1", "Open2", "OpenWithNotepad2", "OpenWith2", "OpenWithSendTo2", "N6", "MakeShortCut2", "N3",
        "Properties2", "OpenLocation2", "N4", "ToTop2", "ToUpper2", "ToLower2", "ToBottom2"};
    for (const char* name : kGridControls) QTest::newRow(name) << QString::fromLatin1(name);
    for (const char* name : kOptionItems) QTest::newRow(name) << QString::fromLatin1(name);
    for (const char* name : others) QTest::newRow(name) << QString::fromLatin1(name);
  }

  void namedObjectsExist() {
    QFETCH(QString, name);
    start();
    QVERIFY2(form_->findChild<QObject*>(name) != nullptr, qPrintable(name));
  }

  void startState() {
    TVarnopelForm& form = start();
    QCOMPARE(form.windowTitle(), QStringLiteral("ヴァルノペル"));
    QCOMPARE(form.session().codePage(), 932);
    QCOMPARE(form.session().lines().count(), size_t(0));

    // Only the input controls are usable.
    for (const char* name : kGridControls) {
      const bool usable = QByteArray(name) == "Label4InFile" || QByteArray(name) == "Edit1InFile" ||
                          QByteArray(name) == "Button1InFile";
      QVERIFY2(child<QWidget>(name)->isEnabled() == usable, name);
    }
    QVERIFY(!named<QTabWidget>(form, "PageControl1")->isEnabled());
    QVERIFY(!named<QTreeWidget>(form, "ListView1")->isEnabled());
    QVERIFY(!named<QTreeWidget>(form, "ListView2")->isEnabled());
    QVERIFY(named<QPushButton>(form, "Button0Cancel")->isHidden());
    QVERIFY(!named<QPushButton>(form, "Button0Cancel")->isEnabled());
    QCOMPARE(named<QPushButton>(form, "Button0Cancel")->size(), QSize(121, 64));
    QVERIFY(named<QAction>(form, "ReadFile1")->isEnabled());
    QVERIFY(!named<QAction>(form, "WriteFolder1")->isEnabled());
    QVERIFY(named<QAction>(form, "Close1")->isEnabled());

    // A sample of captions and starting marks.
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("0 行 / 0ファイル"));
    QCOMPARE(named<QLabel>(form, "label1Files")->text(), QStringLiteral("0 行 x 0 ファイル"));
    QCOMPARE(named<QLabel>(form, "Label25Half")->text(), QStringLiteral("0 行 + 0 行"));
    QCOMPARE(named<QPushButton>(form, "Button3Exec")->text(), QStringLiteral("実行"));
    QCOMPARE(named<QPushButton>(form, "Button10Compress")->text(), QStringLiteral("重複を除去"));
    QCOMPARE(named<QPushButton>(form, "Button0Cancel")->text(), QStringLiteral("キャンセル"));
    QCOMPARE(named<QCheckBox>(form, "CheckBox2OverWrite")->text(), QStringLiteral("既存ファイルには上書き"));
    QVERIFY(named<QCheckBox>(form, "CheckBox1SameFolder")->isChecked());
    QVERIFY(!named<QCheckBox>(form, "CheckBox3Distribute")->isChecked());
    QVERIFY(named<QRadioButton>(form, "RadioButton1Files")->isChecked());
    QCOMPARE(named<NumberBox>(form, "NumberBox1Files")->value(), 1);
    QCOMPARE(named<NumberBox>(form, "NumberBox3Half")->value(), 0);
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->tabText(0), QStringLiteral("読込み（入力）"));
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->tabText(1), QStringLiteral("書出し（出力）"));
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->currentWidget(), named<QWidget>(form, "tsReadIn2"));
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->focusPolicy(), Qt::NoFocus);
    QCOMPARE(named<QAction>(form, "ToUpper2")->text(), QStringLiteral("↑上へ"));
    QCOMPARE(named<QAction>(form, "mmSortNum1")->text(), QStringLiteral("数値順(1,2,10,..)に整列(&N)"));
    QCOMPARE(named<QMenu>(form, "ShortCut1")->title(), QStringLiteral("起動ショートカット(&C)"));

    // Both lists: two columns of at least 100 pixels, counts right-aligned;
    // only the input list sorts by its headers.
    for (QTreeWidget* list : {named<QTreeWidget>(form, "ListView1"), named<QTreeWidget>(form, "ListView2")}) {
      QCOMPARE(list->headerItem()->text(0), QStringLiteral("ファイル名"));
      QCOMPARE(list->headerItem()->text(1), QStringLiteral("行数"));
      QCOMPARE(list->headerItem()->textAlignment(1) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
      QCOMPARE(list->columnWidth(0), 100);
      QCOMPARE(list->header()->minimumSectionSize(), 100);
      QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
      QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    QVERIFY(named<QTreeWidget>(form, "ListView2")->header()->sectionsClickable());
    QVERIFY(!named<QTreeWidget>(form, "ListView1")->header()->sectionsClickable());
    QCOMPARE(form.ActiveListView(), named<QTreeWidget>(form, "ListView2"));
    named<QTabWidget>(form, "PageControl1")->setCurrentWidget(named<QWidget>(form, "tsWriteOut1"));
    QCOMPARE(form.ActiveListView(), named<QTreeWidget>(form, "ListView1"));

    // Menus: marks and shortcuts.
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmSameLB1", "SaveStatus1"}));
    for (const char* name : kOptionItems) QVERIFY2(child<QAction>(name)->isCheckable(), name);
    QCOMPARE(named<QAction>(form, "ReadFile1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(named<QAction>(form, "WriteFolder1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(named<QAction>(form, "Close1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    QCOMPARE(named<QAction>(form, "Help2")->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(named<QAction>(form, "Properties1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Return));

    // Status line: the clock at once, no message.
    QVERIFY(named<QLabel>(form, "StatusPanel0")
                ->text()
                .contains(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d  \\d\\d:\\d\\d$")));
    QVERIFY(named<QLabel>(form, "StatusPanel1")->text().isEmpty());
    QCOMPARE(named<QTimer>(form, "Timer1")->interval(), 1000);
    QVERIFY(named<QTimer>(form, "Timer1")->isActive());
    QVERIFY(form.acceptDrops());
  }

  void refreshAfterLoad_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("totals");
    QTest::addColumn<QString>("filesLabel");
    QTest::addColumn<QString>("linesLabel");
    QTest::addColumn<QString>("halfLabel");
    QTest::addColumn<int>("digits");
    QTest::newRow("one line") << 1 << 1 << "1 行 / 1 ファイル (SJIS)"
                              << "1 行 x 1 ファイル"
                              << "1 行 x 1 ファイル"
                              << "0 行 + 1 行" << 1;
    QTest::newRow("grouped count, plain file count") << 12345 << 3 << "12,345 行 / 3 ファイル (SJIS)"
                                                     << "12,345 行 x 1 ファイル"
                                                     << "12,345 行 x 1 ファイル"
                                                     << "0 行 + 12,345 行" << 5;
    QTest::newRow("a million lines") << 1000000 << 1 << "1,000,000 行 / 1 ファイル (SJIS)"
                                     << "1,000,000 行 x 1 ファイル"
                                     << "1,000,000 行 x 1 ファイル"
                                     << "0 行 + 1,000,000 行" << 7;
  }

  void refreshAfterLoad() {
    QFETCH(int, lines);
    QFETCH(int, files);
    TVarnopelForm& form = start();
    loadLines(form, lines);
    for (int i = 0; i < files; ++i)
      new QTreeWidgetItem(named<QTreeWidget>(form, "ListView2"), {QStringLiteral("/in/f%1.txt").arg(i), "1"});
    new QTreeWidgetItem(named<QTreeWidget>(form, "ListView1"), {QStringLiteral("/in/stale-1.txt"), QString()});
    named<QLineEdit>(form, "Edit1InFile")->setText(QStringLiteral("/data/in/list.txt"));
    named<QRadioButton>(form, "RadioButton3Half")->setChecked(true);

    form.RefreshAfterLoad(true);

    QTEST(named<QLabel>(form, "Label1InFile")->text(), "totals");
    QTEST(named<QLabel>(form, "label1Files")->text(), "filesLabel");
    QTEST(named<QLabel>(form, "Label2Lines")->text(), "linesLabel");
    QTEST(named<QLabel>(form, "Label25Half")->text(), "halfLabel");
    // All usable but the output folder, which follows the input's folder.
    for (const char* name : kGridControls) {
      const bool usable = QByteArray(name) != "Edit2OutFolder" && QByteArray(name) != "Button2OutFolder";
      QVERIFY2(child<QWidget>(name)->isEnabled() == usable, name);
    }
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), QStringLiteral("/data/in/"));

    QCOMPARE(named<NumberBox>(form, "NumberBox1Files")->minimum(), 1);
    QCOMPARE(named<NumberBox>(form, "NumberBox1Files")->maximum(), lines);
    QCOMPARE(named<NumberBox>(form, "NumberBox1Files")->value(), 1);
    QCOMPARE(named<NumberBox>(form, "NumberBox2Lines")->minimum(), 1);
    QCOMPARE(named<NumberBox>(form, "NumberBox2Lines")->maximum(), lines);
    QCOMPARE(named<NumberBox>(form, "NumberBox2Lines")->value(), lines);
    QCOMPARE(named<NumberBox>(form, "NumberBox3Half")->minimum(), 0);
    QCOMPARE(named<NumberBox>(form, "NumberBox3Half")->maximum(), lines);
    QCOMPARE(named<NumberBox>(form, "NumberBox3Half")->value(), 0);
    for (NumberBox* box : {named<NumberBox>(form, "NumberBox1Files"), named<NumberBox>(form, "NumberBox2Lines"),
                           named<NumberBox>(form, "NumberBox3Half")})
      QTEST(box->maxTextLength(), "digits");
    // Typing runs into the limit.
    named<NumberBox>(form, "NumberBox1Files")->lineEdit()->clear();
    QTest::keyClicks(named<NumberBox>(form, "NumberBox1Files")->lineEdit(), QStringLiteral("12345678"));
    QVERIFY(named<NumberBox>(form, "NumberBox1Files")->lineEdit()->text().size() <=
            named<NumberBox>(form, "NumberBox1Files")->maxTextLength());

    QVERIFY(named<QRadioButton>(form, "RadioButton1Files")->isChecked());
    QVERIFY(named<QTabWidget>(form, "PageControl1")->isEnabled());
    QVERIFY(named<QTreeWidget>(form, "ListView1")->isEnabled());
    QVERIFY(named<QTreeWidget>(form, "ListView2")->isEnabled());
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItemCount(), 0);
  }

  void refreshAfterLoadWithNoLines() {
    TVarnopelForm& form = start();
    new QTreeWidgetItem(named<QTreeWidget>(form, "ListView2"), {QStringLiteral("/in/empty.txt"), "0"});
    form.session().setEncoding(1252, "");
    form.RefreshAfterLoad(true);
    QCOMPARE(named<QLabel>(form, "Label1InFile")->text(), QStringLiteral("0 行 / 1 ファイル (ANSI)"));
    // Nothing to split: the boxes stay greyed, the rest is usable.
    for (NumberBox* box : {named<NumberBox>(form, "NumberBox1Files"), named<NumberBox>(form, "NumberBox2Lines"),
                           named<NumberBox>(form, "NumberBox3Half")})
      QVERIFY(!box->isEnabled());
    QVERIFY(named<QPushButton>(form, "Button3Exec")->isEnabled());
    QVERIFY(named<QRadioButton>(form, "RadioButton2Lines")->isEnabled());
  }

  void splitArithmetic_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("linesPerFile");
    QTest::addColumn<int>("filesForLines");
    QTest::newRow("10 by 4") << 10 << 4 << 3 << 3;
    QTest::newRow("10 by 3") << 10 << 3 << 4 << 4;
    QTest::newRow("10 by 10") << 10 << 10 << 1 << 1;
    QTest::newRow("10 by 11") << 10 << 11 << 1 << 1;
    QTest::newRow("0 is one file / the whole list") << 10 << 0 << 10 << 1;
    QTest::newRow("12345 by 3") << 12345 << 3 << 4115 << 4115;
    QTest::newRow("1 by 1") << 1 << 1 << 1 << 1;
    QTest::newRow("empty list by 0") << 0 << 0 << 0 << 0;
    QTest::newRow("empty list by 5") << 0 << 5 << 0 << 0;
  }

  void splitArithmetic() {
    QFETCH(int, lines);
    QFETCH(int, value);
    TVarnopelForm& form = start();
    if (lines > 0) loadLines(form, lines);
    QTEST(form.LinesPerFile(value), "linesPerFile");
    QTEST(form.FilesForLines(value), "filesForLines");
  }

  void fitListColumnsToTheWidestRowWithinTheList() {
    TVarnopelForm& form = start();
    QTreeWidget* list = named<QTreeWidget>(form, "ListView2");
    form.FitListColumns(list);  // no rows: nothing to measure
    QCOMPARE(list->columnWidth(0), 100);
    QCOMPARE(list->textElideMode(), Qt::ElideMiddle);
    const QFontMetrics metrics(list->font());
    const auto fitted = [&](const QString& text) { return metrics.horizontalAdvance(text) * 120 / 100; };

    const QString path = QStringLiteral("/home/user/documents/果物_") + QString(12, u'x') + QStringLiteral(".txt");
    new QTreeWidgetItem(list, {path, QStringLiteral("12,345")});
    form.FitListColumns(list);
    QCOMPARE(list->columnWidth(0), fitted(path));
    QCOMPARE(list->columnWidth(1), 100);  // the count fits already

    // A wider row added later widens the column; a shorter one never narrows it.
    const QString wider = path + QStringLiteral("/more");
    new QTreeWidgetItem(list, {wider, QStringLiteral("1")});
    form.FitListColumns(list);
    QCOMPARE(list->columnWidth(0), fitted(wider));
    new QTreeWidgetItem(list, {QStringLiteral("/a.txt"), QStringLiteral("1")});
    form.FitListColumns(list);
    QCOMPARE(list->columnWidth(0), fitted(wider));

    // A path wider than the list takes what the counts leave; the rest elides.
    new QTreeWidgetItem(list, {path + QString(400, u'y'), QStringLiteral("1")});
    form.FitListColumns(list);
    QCOMPARE(list->columnWidth(0), list->viewport()->width() - list->columnWidth(1));
  }

  void optionRadioGroups() {
    TVarnopelForm& form = start();
    named<QAction>(form, "SaveStatus1")->setChecked(false);
    named<QAction>(form, "mmCRLF1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmCRLF1"}));
    named<QAction>(form, "mmLF1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1", "mmLF1"}));
    // Choosing the checked item unchecks it and leaves its group empty.
    named<QAction>(form, "mmLF1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortNum1"}));
    named<QAction>(form, "mmSortDic1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1"}));
    // Marks set from code follow the same rule.
    named<QAction>(form, "mmCR1")->setChecked(true);
    named<QAction>(form, "mmSameLB1")->setChecked(true);
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1"}));
    // The two close options are independent of everything.
    named<QAction>(form, "CloseQuery1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1", "CloseQuery1"}));
    named<QAction>(form, "SaveStatus1")->trigger();
    named<QAction>(form, "CloseQuery1")->trigger();
    QCOMPARE(checkedOptions(), QStringList({"mmSortDic1", "mmSameLB1", "SaveStatus1"}));
  }

  void clockShowsMinuteAfterHour() {
    TVarnopelForm& form = start();
    form.setClock([] { return QDateTime(QDate(2024, 5, 18), QTime(1, 8, 59)); });
    form.Timer1Timer();
    QCOMPARE(named<QLabel>(form, "StatusPanel0")->text(), QStringLiteral("2024/05/18  01:08"));
    form.setClock([] { return QDateTime(QDate(2024, 12, 1), QTime(23, 59)); });
    form.Timer1Timer();
    QCOMPARE(named<QLabel>(form, "StatusPanel0")->text(), QStringLiteral("2024/12/01  23:59"));
  }

  void sameFolderTakesInputFolder_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("folder");
    QTest::newRow("path") << "/home/u/data/list.txt"
                          << "/home/u/data/";
    QTest::newRow("root") << "/list.txt"
                          << "/";
    QTest::newRow("bare name") << "list.txt"
                               << "";
    QTest::newRow("backslash is a character") << "C:\\data\\list.txt"
                                              << "";
    QTest::newRow("folder typed") << "/srv/in/"
                                  << "/srv/in/";
  }

  void sameFolderTakesInputFolder() {
    QFETCH(QString, input);
    TVarnopelForm& form = start();
    named<QLineEdit>(form, "Edit2OutFolder")->setText(QStringLiteral("/old/"));
    named<QLineEdit>(form, "Edit1InFile")->setText(input);
    form.CheckBox1SameFolderClick();
    QTEST(named<QLineEdit>(form, "Edit2OutFolder")->text(), "folder");
    QVERIFY(!named<QAction>(form, "WriteFolder1")->isEnabled());
  }

  void outputFolderPicker() {
    // The picker opens at the output folder the settings kept.
    makeForm("[OPTION]\r\nPrevSaveFolder=/srv/previous/\r\n");
    form_->FormCreate({});
    TVarnopelForm& form = *form_;
    named<QLineEdit>(form, "Edit1InFile")->setText(QStringLiteral("/in/list.txt"));
    form.RefreshAfterLoad(true);
    QVERIFY(!named<QPushButton>(form, "Button2OutFolder")->isEnabled());
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), QStringLiteral("/in/"));

    // Unchecked: the folder controls open up and keep their text.
    named<QCheckBox>(form, "CheckBox1SameFolder")->setChecked(false);
    QVERIFY(named<QLineEdit>(form, "Edit2OutFolder")->isEnabled());
    QVERIFY(named<QPushButton>(form, "Button2OutFolder")->isEnabled());
    QVERIFY(named<QAction>(form, "WriteFolder1")->isEnabled());
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), QStringLiteral("/in/"));

    dialogs_->queuePickFolder(QStringLiteral("/srv/out"));
    named<QAction>(form, "WriteFolder1")->trigger();
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), QStringLiteral("/srv/out"));
    QCOMPARE(dialogs_->texts(ScriptedDialogs::Kind::PickFolder), QStringList({"/srv/previous/"}));

    dialogs_->queuePickFolder(QString());  // cancelled
    QTest::mouseClick(named<QPushButton>(form, "Button2OutFolder"), Qt::LeftButton);
    QCOMPARE(named<QLineEdit>(form, "Edit2OutFolder")->text(), QStringLiteral("/srv/out"));
  }

  void errorBoxFullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Japanese") << "読み込めませんでした"
                              << "読み込めませんでした.";
    QTest::newRow("letter") << "Open Failed"
                            << "Open Failed.";
    QTest::newRow("digit") << "HRESULT=-5"
                           << "HRESULT=-5.";
    QTest::newRow("bracket") << "[C:\\x]"
                             << "[C:\\x].";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("parenthesis") << "(x)"
                                 << "(x)";
    QTest::newRow("line break") << "a\r\n"
                                << "a\r\n";
    QTest::newRow("empty") << ""
                           << "";
  }

  void errorBoxFullStop() {
    QFETCH(QString, text);
    dialogs_->errorBox(text);
    QTEST(dialogs_->texts(ScriptedDialogs::Kind::Error).value(0), "shown");
    QCOMPARE(Dialogs::displayText(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
  }

  void numberBoxPagesByTen() {
    varnopel::NumberBox box;
    box.setRange(0, 100000);
    box.setValue(5000);
    box.setSingleStep(100);
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(box.value(), 5100);
    QTest::keyClick(&box, Qt::Key_PageUp);
    QCOMPARE(box.value(), 5110);
    QTest::keyClick(&box, Qt::Key_PageDown);
    QTest::keyClick(&box, Qt::Key_PageDown);
    QCOMPARE(box.value(), 5090);
    QCOMPARE(box.singleStep(), 100);
  }

  void layoutRules() {
    makeForm();
    const int menuHeight = form_->menuBar()->sizeHint().height();
    makeForm(QByteArray("[POSITION]\r\nLeft=0\r\nTop=0\r\nRight=700\r\nBottom=") +
             QByteArray::number(menuHeight + 500));
    TVarnopelForm& form = *form_;
    form.FormCreate({});
    QCOMPARE(named<QWidget>(form, "GridPanel1")->height(), 500 * 55 / 100);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form, 5000));
    QTRY_COMPARE_WITH_TIMEOUT(named<QTabWidget>(form, "PageControl1")->tabBar()->tabRect(0).width(),
                              named<QTabWidget>(form, "PageControl1")->width() / 3, 5000);
    QCOMPARE(named<QTabWidget>(form, "PageControl1")->tabBar()->tabRect(1).width(),
             named<QTabWidget>(form, "PageControl1")->width() / 3);
    QCOMPARE(
        named<QRadioButton>(form, "RadioButton2Lines")->mapTo(named<QWidget>(form, "GridPanel1"), QPoint(0, 0)).x(),
        named<QWidget>(form, "GridPanel1")->width() / 20);
    const int clockWidth = form.fontMetrics().horizontalAdvance(named<QLabel>(form, "StatusPanel0")->text()) * 11 / 10;
    QCOMPARE(named<QLabel>(form, "StatusPanel0")->width(), clockWidth);
    QVERIFY(named<QLabel>(form, "StatusPanel1")->width() > named<QStatusBar>(form, "StatusBar1")->width() / 2);

    // The Cancel button keeps its place relative to the centre.
    const int top = form.menuBar()->height();
    const int clientHeight = form.height() - top;
    QCOMPARE(named<QPushButton>(form, "Button0Cancel")->pos(),
             QPoint(176 + (form.width() - 499) / 2, top + 262 + (clientHeight - 391) / 2));

    named<QAction>(form, "Close1")->trigger();
    QVERIFY(!form.isVisible());
  }
};

QTEST_MAIN(TVarnopelFormTest)
#include "TVarnopelFormTest.moc"
