// Order of the input list: sorting by a header click and the four move items.
// Neither touches the working list; the new order is read at the next restore or
// split (IsListView2Modified).
#include <QCollator>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>

#include "app/TVarnopelForm.h"
#include "workspace/Compare.h"

namespace varnopel {

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// The user's locale, case-sensitive; rebuilt only when the locale changes.
const QCollator& PathCollator() {
  static QLocale locale;
  static QCollator collator = [] {
    QCollator c{QLocale()};
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  if (QLocale() != locale) {
    locale = QLocale();
    collator = QCollator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
  }
  return collator;
}

}  // namespace

int TVarnopelForm::ListView2Compare(const QTreeWidgetItem* row1, const QTreeWidgetItem* row2) const {
  int result = 0;
  switch (std::abs(InputSortState1)) {
    case 1: {
      const QString a = row1->text(0);
      const QString b = row2->text(0);
      result = Sign(PathCollator().compare(a, b));
      // Paths the locale ranks alike still get one fixed order.
      if (result == 0) result = Sign(CompareOrdinal(a.toUtf8().toStdString(), b.toUtf8().toStdString()));
      break;
    }
    case 2: {
      // Every count carries the same grouping, so the longer text is the
      // larger number and texts of one length compare character by character.
      const QString a = row1->text(1);
      const QString b = row2->text(1);
      if (a.size() != b.size()) result = a.size() > b.size() ? 2 : -2;
      else result = 2 * Sign(CompareOrdinal(a.toUtf8().toStdString(), b.toUtf8().toStdString()));
      break;
    }
    default: break;
  }
  // Equal rows give 0 in both directions; the sort keeps their order.
  return InputSortState1 < 0 ? -result : result;
}

void TVarnopelForm::ListView2ColumnClick(int column) {
  if (column < 0 || column > 1) return;
  InputSortState1 = std::abs(InputSortState1) == column + 1 ? -InputSortState1 : column + 1;

  QTreeWidget* list = ActiveListView();
  const int s = InputSortState1;
  list->headerItem()->setText(0, s == 1    ? QStringLiteral("ファイル名 ∧")
                                 : s == -1 ? QStringLiteral("ファイル名 ∨")
                                           : QStringLiteral("ファイル名"));
  list->headerItem()->setText(1, s == 2    ? QStringLiteral("∧ 行数")
                                 : s == -2 ? QStringLiteral("∨ 行数")
                                           : QStringLiteral("行数"));

  // Sorted once; rows added or moved later are not placed by this order.
  QTreeWidgetItem* selected = list->selectedItems().value(0);
  QList<QTreeWidgetItem*> rows = list->invisibleRootItem()->takeChildren();
  std::stable_sort(rows.begin(), rows.end(),
                   [this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return ListView2Compare(a, b) < 0; });
  list->addTopLevelItems(rows);
  if (selected != nullptr) {
    list->setCurrentItem(selected);
    list->scrollToItem(selected, QAbstractItemView::EnsureVisible);
  }
  Pump1_.pumpNow();
  if (list == ListView2) IsListView2Modified = true;
}

void TVarnopelForm::MoveSelectedRow(int direction, bool toEnd) {
  QTreeWidget* list = ActiveListView();
  QTreeWidgetItem* row = list->selectedItems().value(0);
  const int count = list->topLevelItemCount();
  const int r = row != nullptr ? list->indexOfTopLevelItem(row) : -1;
  if (r >= 0) {
    const int target = toEnd ? (direction < 0 ? 0 : count - 1) : r + direction;
    if (target >= 0 && target < count && target != r) {
      // The row itself moves, with its texts, check mark and images.
      list->takeTopLevelItem(r);
      list->insertTopLevelItem(target, row);
      list->setCurrentItem(row);
      list->scrollToItem(row, QAbstractItemView::EnsureVisible);
    }
  }
  list->setFocus();
  // Set even when nothing moved.
  if (list == ListView2) IsListView2Modified = true;
}

void TVarnopelForm::ToTop2Click() { MoveSelectedRow(-1, true); }
void TVarnopelForm::ToUpper2Click() { MoveSelectedRow(-1, false); }
void TVarnopelForm::ToLower2Click() { MoveSelectedRow(+1, false); }
void TVarnopelForm::ToBottom2Click() { MoveSelectedRow(+1, true); }

}  // namespace varnopel
