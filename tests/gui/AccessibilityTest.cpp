// What screen readers and keyboard users meet: the names of the controls
// without a caption of their own, and the order Tab takes.
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "FormFixture.h"
#include "Widgets.h"

using varnopel::test::named;

class AccessibilityTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private slots:
  void init() { resetFixture(); }
  void cleanup() { finishFixture(); }

  // Each box and list is named after the caption the user sees for it.
  void accessibleNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("files box") << "NumberBox1Files"
                               << "分割数を指定";
    QTest::newRow("lines box") << "NumberBox2Lines"
                               << "均等行数を指定";
    QTest::newRow("half box") << "NumberBox3Half"
                              << "前半行数を指定";
    QTest::newRow("input path") << "Edit1InFile"
                                << "分割元ファイル";
    QTest::newRow("output folder") << "Edit2OutFolder"
                                   << "分割先フォルダ";
    QTest::newRow("input list") << "ListView2"
                                << "読込み（入力）";
    QTest::newRow("output list") << "ListView1"
                                 << "書出し（出力）";
  }
  void accessibleNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    start();
    auto* widget = named<QWidget>(*form_, control.toLatin1().constData());
    // What an assistive tool reads, not just the property.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(face != nullptr);
    QCOMPARE(face->text(QAccessible::Name), name);
  }

  // With a file loaded, Tab goes from 参照 through every enabled control,
  // top left to bottom right, and comes back round to 参照.
  void tabFollowsReadingOrder() {
    start({write(QStringLiteral("in.txt"), "1\n2\n3\n4\n")});
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    const char* const readingOrder[] = {
        "Button1InFile",   "Edit1InFile",       "Button6Reverse",  "Button5Random",       "Button7Ascend",
        "Button8Descend",  "Button10Compress",  "Button9Reload",   "CheckBox1SameFolder", "Button2OutFolder",
        "Edit2OutFolder",  "RadioButton1Files", "NumberBox1Files", "Button3Exec",         "RadioButton2Lines",
        "NumberBox2Lines", "RadioButton3Half",  "NumberBox3Half",  "CheckBox3Distribute", "CheckBox2OverWrite",
        "Button4Open",     "ListView2",         "ListView1",
    };
    // Whichever split mode is chosen, every mode stays reachable.
    for (const char* mode : {"RadioButton1Files", "RadioButton3Half"}) {
      named<QRadioButton>(*form_, mode)->setChecked(true);
      QStringList expected;
      for (const char* name : readingOrder) {
        const QWidget* widget = named<QWidget>(*form_, name);
        if (widget->isEnabled() && widget->isVisible()) expected << QString::fromLatin1(name);
      }
      for (const char* radio : {"RadioButton1Files", "RadioButton2Lines", "RadioButton3Half"})
        QVERIFY(expected.contains(QString::fromLatin1(radio)));
      expected << expected.first();
      named<QWidget>(*form_, "Button1InFile")->setFocus(Qt::OtherFocusReason);
      QStringList visited{QApplication::focusWidget()->objectName()};
      while (visited.size() < expected.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
      }
      QCOMPARE(visited, expected);
    }
  }

  // Up and down move between the split modes, choosing each.
  void arrowsMoveBetweenRadios() {
    start({write(QStringLiteral("in.txt"), "1\n2\n3\n4\n")});
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* files = named<QRadioButton>(*form_, "RadioButton1Files");
    auto* lines = named<QRadioButton>(*form_, "RadioButton2Lines");
    auto* half = named<QRadioButton>(*form_, "RadioButton3Half");
    files->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), lines);
    QTest::keyClick(lines, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), half);
    QVERIFY(half->isChecked());
    QTest::keyClick(half, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), lines);
    QVERIFY(lines->isChecked());
  }

  // Every button, box and menu command says what it does. (An action's
  // tooltip falls back to its caption, which says nothing more.)
  void everyControlHasATooltip() {
    start();
    QStringList missing;
    const QList<QWidget*> controls = named<QWidget>(*form_, "GridPanel1")->findChildren<QWidget*>();
    for (QWidget* widget : controls + QList<QWidget*>{named<QPushButton>(*form_, "Button0Cancel")}) {
      const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           qobject_cast<QAbstractSpinBox*>(widget) != nullptr ||
                           (qobject_cast<QLineEdit*>(widget) != nullptr &&
                            qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) == nullptr);
      if (control && widget->toolTip().isEmpty()) missing << widget->objectName();
    }
    for (QAction* action : form_->findChildren<QAction*>()) {
      if (action->isSeparator() || action->text().isEmpty() || action->menu() != nullptr) continue;
      if (action->toolTip() == QString(action->text()).remove(QLatin1Char('&'))) missing << action->objectName();
    }
    QCOMPARE(missing, QStringList());
    // The window's own menus (Qt's internal ones have no name).
    for (QMenu* menu : form_->findChildren<QMenu*>())
      if (!menu->objectName().isEmpty()) QVERIFY2(menu->toolTipsVisible(), qPrintable(menu->objectName()));
  }

  // The empty input list shows a hint; it is gone once files are in.
  void emptyInputListShowsAHint() {
    start();
    auto* list = named<QTreeWidget>(*form_, "ListView2");
    auto plain = [](const QImage& image) {
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (image.pixel(x, y) != image.pixel(0, 0)) return false;
      return true;
    };
    QVERIFY(!plain(list->viewport()->grab().toImage()));
    list->setEnabled(true);
    list->addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), QString()}));
    QVERIFY(plain(list->viewport()->grab().toImage()));
  }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
