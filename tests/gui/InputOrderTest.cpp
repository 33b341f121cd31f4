// Order of the input list: header sorts with their captions, the four move
// items, and the flag that makes the next restore or split read the files
// again in the new order.
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "Widgets.h"
#include "app/TVarnopelForm.h"

using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;

class InputOrderTest : public QObject {
  Q_OBJECT

 private:
  std::shared_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<TVarnopelForm> form_;
  QTemporaryDir temp_;

  // A started window whose input list holds `rows` (path, count text).
  TVarnopelForm& start(const QList<QStringList>& rows) {
    form_ = std::make_unique<TVarnopelForm>(dialogs_, std::make_shared<FakeShellServices>());
    form_->setSettingsPaths(temp_.filePath(QStringLiteral("absent/varnopel.ini")),
                            temp_.filePath(QStringLiteral("absent.ini")));
    form_->FormCreate({});
    for (const QStringList& row : rows) new QTreeWidgetItem(named<QTreeWidget>(*form_, "ListView2"), row);
    // As a load leaves them.
    named<QTabWidget>(*form_, "PageControl1")->setEnabled(true);
    named<QTreeWidget>(*form_, "ListView2")->setEnabled(true);
    named<QTreeWidget>(*form_, "ListView1")->setEnabled(true);
    return *form_;
  }

  static QStringList column(const QTreeWidget* list, int index) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(index);
    return texts;
  }
  static QStringList captions(const QTreeWidget* list) {
    return {list->headerItem()->text(0), list->headerItem()->text(1)};
  }
  void clickHeader(int section) {
    QHeaderView* header = named<QTreeWidget>(*form_, "ListView2")->header();
    // Through the header's own signal, as a mouse click arrives.
    emit header->sectionClicked(section);
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

  void countColumnBothDirections() {
    TVarnopelForm& form = start({{"/d/a.txt", "1,000"}, {"/d/b.txt", "999"}, {"/d/c.txt", "12"}});
    named<QTreeWidget>(form, "ListView2")->setCurrentItem(named<QTreeWidget>(form, "ListView2")->topLevelItem(1));
    QVERIFY(!form.inputOrderChanged());

    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"12", "999", "1,000"}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名", "∧ 行数"}));
    QVERIFY(form.inputOrderChanged());
    // The selected row stays selected wherever it went.
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->selectedItems().value(0)->text(0), QStringLiteral("/d/b.txt"));

    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"1,000", "999", "12"}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名", "∨ 行数"}));
    QCOMPARE(form.inputSortState(), -2);
    // The output list keeps its captions.
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView1")), QStringList({"ファイル名", "行数"}));
  }

  void nameThenCount() {
    TVarnopelForm& form = start({{"/d/b.txt", "3"}, {"/d/A.txt", "1"}, {"/d/a.txt", "2"}});
    clickHeader(0);
    // The locale's order, not the code points' ("A" < "a" < "b").
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), QStringList({"/d/a.txt", "/d/A.txt", "/d/b.txt"}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名 ∧", "行数"}));
    clickHeader(0);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), QStringList({"/d/b.txt", "/d/A.txt", "/d/a.txt"}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名 ∨", "行数"}));
    // Another column starts ascending.
    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"1", "2", "3"}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名", "∧ 行数"}));
  }

  // Rows the comparison cannot separate keep the order they stand in, in
  // both directions.
  void equalCountsKeepTheirOrder() {
    TVarnopelForm& form = start({{"/x", "5"}, {"/y", "5"}, {"/z", "1"}, {"/w", "5"}});
    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), QStringList({"/z", "/x", "/y", "/w"}));
    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), QStringList({"/x", "/y", "/w", "/z"}));
  }

  void moves_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("second to the top") << "ToTop2" << 1 << QStringList({"2", "1", "3"}) << 0;
    QTest::newRow("first to the bottom") << "ToBottom2" << 0 << QStringList({"2", "3", "1"}) << 2;
    QTest::newRow("last up") << "ToUpper2" << 2 << QStringList({"1", "3", "2"}) << 1;
    QTest::newRow("first down") << "ToLower2" << 0 << QStringList({"2", "1", "3"}) << 1;
    QTest::newRow("top stays at the top") << "ToTop2" << 0 << QStringList({"1", "2", "3"}) << 0;
    QTest::newRow("last cannot go down") << "ToLower2" << 2 << QStringList({"1", "2", "3"}) << 2;
  }
  void moves() {
    QFETCH(QString, item);
    QFETCH(int, selected);
    QFETCH(QStringList, order);
    QFETCH(int, selectedAfter);
    TVarnopelForm& form = start({{"1", "10"}, {"2", "20"}, {"3", "30"}});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form, 5000));
    named<QTreeWidget>(form, "ListView2")
        ->setCurrentItem(named<QTreeWidget>(form, "ListView2")->topLevelItem(selected));
    named<QLineEdit>(form, "Edit1InFile")->setFocus();

    form.findChild<QAction*>(item)->trigger();
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), order);
    // Each row moved whole: row "n" still counts n0 lines.
    QStringList counts;
    for (const QString& name : order) counts << name + u'0';
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), counts);
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->selectedItems().size(), 1);
    QCOMPARE(named<QTreeWidget>(form, "ListView2")
                 ->indexOfTopLevelItem(named<QTreeWidget>(form, "ListView2")->selectedItems()[0]),
             selectedAfter);
    QCOMPARE(named<QTreeWidget>(form, "ListView2")->currentItem(),
             named<QTreeWidget>(form, "ListView2")->selectedItems()[0]);
    QTRY_VERIFY_WITH_TIMEOUT(named<QTreeWidget>(form, "ListView2")->hasFocus(), 5000);
    // Set whether or not anything moved.
    QVERIFY(form.inputOrderChanged());
  }

  // The line list follows the new order only at the restore; a later load
  // through the dialog keeps the header marks and clears the flag.
  void restoreReadsTheNewOrder() {
    TVarnopelForm& form = start({});
    QStringList paths;
    for (const auto& [name, lines] : {std::pair{"a", 1000}, std::pair{"b", 999}, std::pair{"c", 12}}) {
      const QString path = temp_.filePath(QString::fromLatin1(name) + QStringLiteral(".txt"));
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      for (int i = 1; i <= lines; ++i) file.write(QByteArray(name) + QByteArray::number(i) + "\n");
      paths << path;
    }
    dialogs_->queueOpenFiles(paths);
    form.Button1InFileClick();
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"1,000", "999", "12"}));

    clickHeader(1);
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 1), QStringList({"12", "999", "1,000"}));
    QCOMPARE(form.session().lines()[0], std::string_view("a1"));
    form.Button9ReloadClick();
    QCOMPARE(form.session().lines().count(), size_t(2011));
    QCOMPARE(form.session().lines()[0], std::string_view("c1"));
    QCOMPARE(form.session().lines()[12], std::string_view("b1"));
    QCOMPARE(form.session().lines()[1011], std::string_view("a1"));
    QVERIFY(form.inputOrderChanged());

    dialogs_->queueYesNoCancel(varnopel::Dialogs::Answer::Yes);
    dialogs_->queueOpenFiles({paths[2], paths[0]});
    form.Button1InFileClick();
    QCOMPARE(column(named<QTreeWidget>(form, "ListView2"), 0), QStringList({paths[0], paths[2]}));
    QCOMPARE(captions(named<QTreeWidget>(form, "ListView2")), QStringList({"ファイル名", "∧ 行数"}));
    QVERIFY(!form.inputOrderChanged());
  }

  // On the output list a move keeps the row's check mark and leaves the
  // input order flag alone.
  void moveOnOutputList() {
    TVarnopelForm& form = start({});
    for (const char* name : {"/o-1.txt", "/o-2.txt", "/o-3.txt"}) {
      auto* row = new QTreeWidgetItem(named<QTreeWidget>(form, "ListView1"), {QString::fromLatin1(name), QString()});
      row->setCheckState(0, Qt::Checked);
    }
    named<QTreeWidget>(form, "ListView1")->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    named<QTabWidget>(form, "PageControl1")->setCurrentWidget(named<QWidget>(form, "tsWriteOut1"));
    named<QTreeWidget>(form, "ListView1")->setCurrentItem(named<QTreeWidget>(form, "ListView1")->topLevelItem(1));

    named<QAction>(form, "ToBottom2")->trigger();
    QCOMPARE(column(named<QTreeWidget>(form, "ListView1"), 0), QStringList({"/o-1.txt", "/o-3.txt", "/o-2.txt"}));
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItem(2)->checkState(0), Qt::Unchecked);
    QCOMPARE(named<QTreeWidget>(form, "ListView1")->topLevelItem(1)->checkState(0), Qt::Checked);
    QVERIFY(!form.inputOrderChanged());
  }
};

QTEST_MAIN(InputOrderTest)
#include "InputOrderTest.moc"
