#pragma once
// Shared between the window's source files only.
#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QTreeWidget>
#include <QWidget>

#include "session/LoadEvents.h"

namespace varnopel {

// The window was designed for a client area of 499 x 391 pixels.
constexpr int kDesignClientWidth = 499;
constexpr int kDesignClientHeight = 391;
// The Cancel button floats over the lower middle of that area.
constexpr int kCancelLeft = 176;
constexpr int kCancelTop = 262;
constexpr int kCancelWidth = 121;
constexpr int kCancelHeight = 64;
constexpr int kCellMargin = 3;
constexpr int kMinColumnWidth = 100;

// The output list shows its rows only while at most this many files are planned.
constexpr qint64 kMostListedFiles = 16;

// The line that a read box adds when the file did not fit in memory.
inline QString OutOfMemoryReason(const ReadFailure& failure) {
  if (failure.megabytesNeeded <= 0) return {};
  return QStringLiteral("\r\nこのファイルには約 %1 MB のメモリが必要ですが、確保できませんでした")
      .arg(failure.megabytesNeeded);
}

// The file name part of a path ("/" is the only folder delimiter).
inline QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

// A checked output-list row for a file, its line count column still empty.
inline QTreeWidgetItem* AddOutputRow(QTreeWidget* list, const QString& path) {
  auto* row = new QTreeWidgetItem(list, QStringList{path, QString()});
  row->setToolTip(0, path);  // the whole path, where the column elides it
  row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
  row->setCheckState(0, Qt::Checked);
  row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  return row;
}

// One cursor for the whole program; the arrow needs no override.
inline void SetProgramCursor(Qt::CursorShape shape) {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  if (shape != Qt::ArrowCursor) QApplication::setOverrideCursor(QCursor(shape));
}

// Boxes and lists show a button-face background while they cannot be used
// and the ordinary window background once they can.
inline void SetFaceBackground(QWidget* widget, bool face) {
  QPalette palette = widget->palette();
  const QPalette app = QApplication::palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::Base, app.color(group, face ? QPalette::Button : QPalette::Base));
  widget->setPalette(palette);
}

}  // namespace varnopel

#include <QTabBar>
#include <QTabWidget>

namespace varnopel {

// Tabs of a fixed width, set by the page control's resize handler.
class FixedWidthTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;
  void setTabWidth(int width) {
    if (width == width_) return;
    width_ = width;
    // Makes the bar ask tabSizeHint again.
    setIconSize(iconSize());
    updateGeometry();
  }

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    if (width_ > 0) size.setWidth(width_);
    return size;
  }
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

 private:
  int width_ = -1;
};

class PageControl : public QTabWidget {
 public:
  explicit PageControl(QWidget* parent = nullptr) : QTabWidget(parent) {
    setTabBar(new FixedWidthTabBar(this));
    tabBar()->setExpanding(false);
    tabBar()->setElideMode(Qt::ElideRight);
  }
  void setTabWidth(int width) { static_cast<FixedWidthTabBar*>(tabBar())->setTabWidth(width); }
};

}  // namespace varnopel
