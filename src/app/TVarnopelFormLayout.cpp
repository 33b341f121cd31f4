// Building the main window: controls, menus and their wiring.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Icons.h"
#include "app/TVarnopelForm.h"
#include "app/TVarnopelFormPrivate.h"

namespace varnopel {

namespace {

// Every control of the grids takes exactly its share of the cell, whatever
// its own preferred size.
template <class W>
W* Cell(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  return widget;
}

QPushButton* ImageButton(const QString& caption, const char* icon, const char* name, QWidget* parent) {
  auto* button = Cell(new QPushButton(caption, parent), name);
  button->setIcon(ThemeIcon(QString::fromLatin1(icon)));
  return button;
}

QAction* MenuItem(QMenu* menu, const QString& caption, const char* name) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

void Separator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); }

QMenu* SubMenu(QWidget* parent, const QString& caption, const char* name) {
  auto* menu = new QMenu(caption, parent);
  menu->setObjectName(QString::fromLatin1(name));
  menu->menuAction()->setObjectName(QString::fromLatin1(name));
  // Menus are windows of their own; let them take the window's font.
  menu->setAttribute(Qt::WA_WindowPropagation);
  return menu;
}

// Qt takes Tab away from the unchecked buttons of an exclusive group, so
// that only the chosen mode could be reached; every mode stays on the chain.
void KeepTabFocus(const QButtonGroup* group) {
  for (QAbstractButton* button : group->buttons()) button->setFocusPolicy(Qt::StrongFocus);
}

class ModeRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QRadioButton::focusInEvent(event);
    if (group() != nullptr) KeepTabFocus(group());
  }
};

// A list that shows a hint in its empty viewport.
class HintTreeWidget : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  void setHint(const QString& hint) { Hint_ = hint; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QTreeWidget::paintEvent(event);
    if (topLevelItemCount() > 0 || Hint_.isEmpty()) return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin), Qt::AlignCenter | Qt::TextWordWrap,
                     Hint_);
  }

 private:
  QString Hint_;
};

}  // namespace

TVarnopelForm::TVarnopelForm(std::shared_ptr<Dialogs> dialogs, std::shared_ptr<ShellServices> shell, QWidget* parent)
    : QMainWindow(parent), dialogs_(std::move(dialogs)), shell_(std::move(shell)) {
  setObjectName(QStringLiteral("VarnopelForm"));
  QFont windowFont = font();
  windowFont.setFamilies({QStringLiteral("Noto Sans CJK JP"), windowFont.family()});
  setFont(windowFont);
  setAttribute(Qt::WA_WindowPropagation);
  setWindowIcon(ApplicationIcon());

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setBackgroundRole(QPalette::Button);
  client->setAutoFillBackground(true);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(client);

  BuildGridPanel1();
  BuildPageControl1();
  column->addWidget(GridPanel1);
  column->addWidget(PageControl1, 1);
  SetTabChain();
  BuildStatusBar1();
  BuildMainMenu1();
  BuildPopupMenu1();

  Button0Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  Button0Cancel->setObjectName(QStringLiteral("Button0Cancel"));
  Button0Cancel->setIcon(ThemeIcon(QStringLiteral("process-stop")));
  Button0Cancel->setFixedSize(kCancelWidth, kCancelHeight);
  Button0Cancel->hide();
  Button0Cancel->setEnabled(false);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);

  SetToolTips();
  ConnectHandlers();
  const QSize initial = InitialClientSize();
  resize(initial.width(), initial.height() + menuBar()->sizeHint().height());
}

QSize TVarnopelForm::InitialClientSize() const {
  // The design area suits an 11-pixel font and slim controls. Grow it, keeping
  // its proportions, until the mode captions and the reorder buttons fit in
  // the desktop's font and style.
  int width = kDesignClientWidth;
  for (QRadioButton* radio : {RadioButton1Files, RadioButton2Lines, RadioButton3Half})
    // A radio cell keeps 1/5 - 1/20 of the grid's width.
    width = std::max(width, (radio->sizeHint().width() + 2 * kCellMargin) * 20 / 3);
  const QFontMetrics metrics = fontMetrics();
  for (QPushButton* button : {Button6Reverse, Button5Random, Button7Ascend, Button8Descend, Button10Compress}) {
    // Each takes 1/5 of GridPanel3, which takes 3/5 of the grid.
    const int needed = metrics.horizontalAdvance(button->text()) + 4 * kCellMargin + 2 * kCellMargin;
    width = std::max(width, needed * 25 / 3);
  }
  return {width, width * kDesignClientHeight / kDesignClientWidth};
}

TVarnopelForm::~TVarnopelForm() = default;

void TVarnopelForm::BuildGridPanel1() {
  GridPanel1 = new QWidget(this);
  GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
  auto* grid = new QGridLayout(GridPanel1);
  // A 3-pixel margin around every control: 3 at the edges, 6 between cells.
  grid->setContentsMargins(kCellMargin, kCellMargin, kCellMargin, kCellMargin);
  grid->setSpacing(2 * kCellMargin);
  for (int c = 0; c < 5; ++c) grid->setColumnStretch(c, 1);
  for (int r = 0; r < 9; ++r) grid->setRowStretch(r, 1);

  auto place = [&](QWidget* widget, int column, int row, int columns = 1, int rows = 1) {
    grid->addWidget(widget, row, column, rows, columns);
    GridControls_.append(widget);
  };
  // Radio buttons sit in a cell of their own whose left margin follows the
  // grid's width (GridPanel1Resize).
  auto placeRadio = [&](QRadioButton* radio, int row) {
    auto* cell = new QWidget(GridPanel1);
    cell->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* box = new QHBoxLayout(cell);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(radio);
    grid->addWidget(cell, row, 0);
    RadioCells_.append(cell);
    GridControls_.append(radio);
  };

  Label4InFile = Cell(new QLabel(QStringLiteral("分割元ファイル"), GridPanel1), "Label4InFile");
  Label4InFile->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  place(Label4InFile, 0, 0);
  Label1InFile = Cell(new QLabel(QStringLiteral("0 行 / 0ファイル"), GridPanel1), "Label1InFile");
  place(Label1InFile, 2, 0, 2);
  Button1InFile = ImageButton(QStringLiteral("参照"), "document-open", "Button1InFile", GridPanel1);
  place(Button1InFile, 4, 0, 1, 2);
  Edit1InFile = Cell(new QLineEdit(GridPanel1), "Edit1InFile");
  // Screen readers name the boxes after what the eye sees beside them.
  Edit1InFile->setAccessibleName(Label4InFile->text());
  place(Edit1InFile, 0, 1, 4);

  BuildGridPanel3();
  place(GridPanel3, 1, 2, 3);
  Button9Reload = ImageButton(QStringLiteral("復元"), "view-refresh", "Button9Reload", GridPanel1);
  place(Button9Reload, 4, 2);

  Label5OutFolder = Cell(new QLabel(QStringLiteral("分割先フォルダ"), GridPanel1), "Label5OutFolder");
  place(Label5OutFolder, 0, 3);
  CheckBox1SameFolder = Cell(new QCheckBox(QStringLiteral("分割元と同じフォルダ"), GridPanel1), "CheckBox1SameFolder");
  CheckBox1SameFolder->setChecked(true);
  place(CheckBox1SameFolder, 1, 3, 2);
  Button2OutFolder = ImageButton(QStringLiteral("参照"), "folder-open", "Button2OutFolder", GridPanel1);
  place(Button2OutFolder, 4, 3, 1, 2);
  Edit2OutFolder = Cell(new QLineEdit(GridPanel1), "Edit2OutFolder");
  Edit2OutFolder->setAccessibleName(Label5OutFolder->text());
  SetFaceBackground(Edit2OutFolder, true);
  place(Edit2OutFolder, 0, 4, 4);

  SplitModeGroup = new QButtonGroup(this);
  SplitModeGroup->setObjectName(QStringLiteral("SplitModeGroup"));
  auto modeRow = [&](QRadioButton*& radio, const QString& caption, const char* radioName, NumberBox*& box,
                     const char* boxName, int value, QLabel*& label, const QString& text, const char* labelName,
                     int row) {
    radio = new ModeRadioButton(caption);
    radio->setObjectName(QString::fromLatin1(radioName));
    SplitModeGroup->addButton(radio);
    placeRadio(radio, row);
    box = Cell(new NumberBox(GridPanel1), boxName);
    box->setRange(0, 1);
    box->setValue(value);
    box->setAccessibleName(caption);
    SetFaceBackground(box, true);
    place(box, 1, row);
    label = Cell(new QLabel(text, GridPanel1), labelName);
    place(label, 2, row, 2);
  };
  modeRow(RadioButton1Files, QStringLiteral("分割数を指定"), "RadioButton1Files", NumberBox1Files, "NumberBox1Files", 1,
          label1Files, QStringLiteral("0 行 x 0 ファイル"), "label1Files", 5);
  RadioButton1Files->setChecked(true);
  Button3Exec = ImageButton(QStringLiteral("実行"), "system-run", "Button3Exec", GridPanel1);
  place(Button3Exec, 4, 5, 1, 3);
  modeRow(RadioButton2Lines, QStringLiteral("均等行数を指定"), "RadioButton2Lines", NumberBox2Lines, "NumberBox2Lines",
          1, Label2Lines, QStringLiteral("0 行 x 0 ファイル"), "Label2Lines", 6);
  modeRow(RadioButton3Half, QStringLiteral("前半行数を指定"), "RadioButton3Half", NumberBox3Half, "NumberBox3Half", 0,
          Label25Half, QStringLiteral("0 行 + 0 行"), "Label25Half", 7);

  CheckBox3Distribute = Cell(new QCheckBox(QStringLiteral("振り分け出力"), GridPanel1), "CheckBox3Distribute");
  place(CheckBox3Distribute, 1, 8);
  CheckBox2OverWrite = Cell(new QCheckBox(QStringLiteral("既存ファイルには上書き"), GridPanel1), "CheckBox2OverWrite");
  place(CheckBox2OverWrite, 2, 8, 2);
  Button4Open = ImageButton(QStringLiteral("フォルダを開く"), "folder", "Button4Open", GridPanel1);
  place(Button4Open, 4, 8);
}

void TVarnopelForm::BuildGridPanel3() {
  GridPanel3 = Cell(new QWidget(GridPanel1), "GridPanel3");
  auto* row = new QGridLayout(GridPanel3);
  // The outer cell already leaves 3 pixels; the buttons add 3 on each side
  // between one another.
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2 * kCellMargin);
  const struct {
    QPushButton* TVarnopelForm::*field;
    const char* caption;
    const char* name;
  } buttons[] = {
      {&TVarnopelForm::Button6Reverse, "逆順に反転", "Button6Reverse"},
      {&TVarnopelForm::Button5Random, "乱順に撹拌", "Button5Random"},
      {&TVarnopelForm::Button7Ascend, "昇順に整列", "Button7Ascend"},
      {&TVarnopelForm::Button8Descend, "降順に整列", "Button8Descend"},
      {&TVarnopelForm::Button10Compress, "重複を除去", "Button10Compress"},
  };
  int column = 0;
  for (const auto& b : buttons) {
    auto* button = Cell(new QPushButton(QString::fromUtf8(b.caption), GridPanel3), b.name);
    this->*b.field = button;
    row->addWidget(button, 0, column);
    row->setColumnStretch(column, 1);
    ++column;
  }
}

void TVarnopelForm::SetTabChain() {
  // Reading order: row by row, left to right, each control where its cell
  // begins (参照 before the path box below it, 実行 after the first mode
  // row); the lists close the chain. The radio buttons take the arrow keys
  // among themselves as well.
  QWidget* const chain[] = {
      Button1InFile,   Edit1InFile,       Button6Reverse,  Button5Random,       Button7Ascend,
      Button8Descend,  Button10Compress,  Button9Reload,   CheckBox1SameFolder, Button2OutFolder,
      Edit2OutFolder,  RadioButton1Files, NumberBox1Files, Button3Exec,         RadioButton2Lines,
      NumberBox2Lines, RadioButton3Half,  NumberBox3Half,  CheckBox3Distribute, CheckBox2OverWrite,
      Button4Open,     ListView2,         ListView1,
  };
  for (size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
  KeepTabFocus(SplitModeGroup);
  connect(SplitModeGroup, &QButtonGroup::buttonToggled, this, [this] { KeepTabFocus(SplitModeGroup); });
}

QTreeWidget* TVarnopelForm::BuildListView(const QString& name, QWidget* parent) {
  auto* list = new HintTreeWidget(parent);
  list->setObjectName(name);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setItemsExpandable(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setAllColumnsShowFocus(true);
  // A long path keeps its end (running number, extension) and its start.
  list->setTextElideMode(Qt::ElideMiddle);
  list->setColumnCount(2);
  list->setHeaderLabels({QStringLiteral("ファイル名"), QStringLiteral("行数")});
  list->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  QHeaderView* header = list->header();
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(kMinColumnWidth);
  header->resizeSection(0, kMinColumnWidth);
  header->resizeSection(1, kMinColumnWidth);
  // The selected row stays marked when the list loses the focus.
  QPalette palette = list->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  list->setPalette(palette);
  SetFaceBackground(list, true);
  list->setEnabled(false);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QWidget::customContextMenuRequested, this,
          [this, list](const QPoint& pos) { ShowPopupMenu1(list, pos); });
  connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { Open2Click(); });
  return list;
}

void TVarnopelForm::BuildPageControl1() {
  PageControl1 = new PageControl(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  // The tabs are changed with the mouse only; Tab moves between the lists.
  PageControl1->setFocusPolicy(Qt::NoFocus);
  PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);

  auto page = [this](const char* name, QTreeWidget*& list, const char* listName, const QString& caption) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(name));
    auto* box = new QVBoxLayout(sheet);
    box->setContentsMargins(0, 0, 0, 0);
    list = BuildListView(QString::fromLatin1(listName), sheet);
    list->setAccessibleName(caption);
    box->addWidget(list);
    return sheet;
  };
  const QString inputCaption = QStringLiteral("読込み（入力）");
  const QString outputCaption = QStringLiteral("書出し（出力）");
  tsReadIn2 = page("tsReadIn2", ListView2, "ListView2", inputCaption);
  tsWriteOut1 = page("tsWriteOut1", ListView1, "ListView1", outputCaption);
  // Newcomers learn from the empty list how files get in.
  static_cast<HintTreeWidget*>(ListView2)->setHint(
      QStringLiteral("ここにファイルをドロップするか、参照 で選んでください"));
  PageControl1->addTab(tsReadIn2, inputCaption);
  PageControl1->addTab(tsWriteOut1, outputCaption);
  ListView2->header()->setSectionsClickable(true);
  ListView1->header()->setSectionsClickable(false);
  PageControl1->setEnabled(false);
  PageControl1->installEventFilter(this);
}

void TVarnopelForm::BuildStatusBar1() {
  StatusBar1 = new QStatusBar(this);
  ProgressBar1 = new QProgressBar(StatusBar1);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 1000);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setMaximumWidth(160);
  ProgressBar1->hide();
  Pump1_.setTick([this] { UpdateProgressDisplay(); });
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  auto panel = [this](const char* name) {
    auto* label = new QLabel(StatusBar1);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(1);
    return label;
  };
  StatusPanel0_ = panel("StatusPanel0");
  StatusPanel1_ = panel("StatusPanel1");
  StatusBar1->addWidget(StatusPanel0_);
  StatusBar1->addWidget(StatusPanel1_, 1);
  StatusBar1->addPermanentWidget(ProgressBar1);
  setStatusBar(StatusBar1);
  StatusBar1->installEventFilter(this);
}

void TVarnopelForm::BuildMainMenu1() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  File1 = SubMenu(bar, QStringLiteral("ファイル(&F)"), "File1");
  ReadFile1 = MenuItem(File1, QStringLiteral("分割元ファイルを指定(&O)"), "ReadFile1");
  ReadFile1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  ReadFile1->setIcon(ThemeIcon(QStringLiteral("document-open")));
  WriteFolder1 = MenuItem(File1, QStringLiteral("分割先フォルダを指定(&F)"), "WriteFolder1");
  WriteFolder1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  WriteFolder1->setIcon(ThemeIcon(QStringLiteral("folder-open")));
  WriteFolder1->setEnabled(false);
  Separator(File1, "N1");
  ShortCut1 = SubMenu(File1, QStringLiteral("起動ショートカット(&C)"), "ShortCut1");
  ShortCut1->setIcon(ThemeIcon(QStringLiteral("emblem-symbolic-link")));
  File1->addMenu(ShortCut1);
  SendTo1 = MenuItem(ShortCut1, QStringLiteral("「送る」に登録・削除(&S)"), "SendTo1");
  Separator(ShortCut1, "N5");
  DeskTop1 = MenuItem(ShortCut1, QStringLiteral("デスクトップに登録・削除(&D)"), "DeskTop1");
  StartMenu1 = MenuItem(ShortCut1, QStringLiteral("スタートメニューに登録・削除(&P)"), "StartMenu1");
  StartUp1 = MenuItem(ShortCut1, QStringLiteral("スタートアップに登録・削除(&U)"), "StartUp1");
  Close1 = MenuItem(File1, QStringLiteral("終了(&E)"), "Close1");
  Close1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
  bar->addMenu(File1);

  Option1 = SubMenu(bar, QStringLiteral("設定(&S)"), "Option1");
  mmSortNum1 = MenuItem(Option1, QStringLiteral("数値順(1,2,10,..)に整列(&N)"), "mmSortNum1");
  mmSortDic1 = MenuItem(Option1, QStringLiteral("辞書順(1,10,2,..)に整列(&D)"), "mmSortDic1");
  Separator(Option1, "N8");
  mmSameLB1 = MenuItem(Option1, QStringLiteral("入力と同じ改行コードで出力(&A)"), "mmSameLB1");
  mmCRLF1 = MenuItem(Option1, QStringLiteral("改行=CRLFで出力(&C)"), "mmCRLF1");
  mmCR1 = MenuItem(Option1, QStringLiteral("改行=CRで出力(&R)"), "mmCR1");
  mmLF1 = MenuItem(Option1, QStringLiteral("改行=LFで出力(&L)"), "mmLF1");
  Separator(Option1, "N7");
  CloseQuery1 = MenuItem(Option1, QStringLiteral("終了時に問合せ(&Q)"), "CloseQuery1");
  SaveStatus1 = MenuItem(Option1, QStringLiteral("終了時の状態を保存(&S)"), "SaveStatus1");
  // Every settings item flips its own mark when chosen, radio items included.
  for (QAction* item : {mmSortNum1, mmSortDic1, mmSameLB1, mmCRLF1, mmCR1, mmLF1, CloseQuery1, SaveStatus1})
    item->setCheckable(true);
  mmSortNum1->setChecked(true);
  mmSameLB1->setChecked(true);
  MakeRadioGroup({mmSortNum1, mmSortDic1});
  MakeRadioGroup({mmSameLB1, mmCRLF1, mmCR1, mmLF1});
  bar->addMenu(Option1);

  Help1 = SubMenu(bar, QStringLiteral("ヘルプ(&H)"), "Help1");
  Help2 = MenuItem(Help1, QStringLiteral("ヘルプ表示(&H)"), "Help2");
  Help2->setShortcut(QKeySequence(Qt::Key_F1));
  Help2->setIcon(ThemeIcon(QStringLiteral("help-contents")));
  About1 = MenuItem(Help1, QStringLiteral("バージョン情報(&A)"), "About1");
  Properties1 = MenuItem(Help1, QStringLiteral("プロパティ表示(&P)"), "Properties1");
  Properties1->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Return), QKeySequence(Qt::ALT | Qt::Key_Enter)});
  Separator(Help1, "N2");
  Donation1 = MenuItem(Help1, QStringLiteral("開発支援(&D)"), "Donation1");
  HomeSite1 = MenuItem(Help1, QStringLiteral("ホームサイト表示(&S)"), "HomeSite1");
  HomeSite1->setIcon(ThemeIcon(QStringLiteral("go-home")));
  bar->addMenu(Help1);
}

void TVarnopelForm::SetToolTips() {
  const struct {
    QWidget* widget;
    const char* tip;
  } controls[] = {
      {Button1InFile, "参照: 分割するテキストファイルを選びます"},
      {Edit1InFile, "分割元ファイルのパス"},
      {Button6Reverse, "行の並びを逆にします"},
      {Button5Random, "行の並びをでたらめに混ぜます"},
      {Button7Ascend, "行を昇順に並べ替えます"},
      {Button8Descend, "行を降順に並べ替えます"},
      {Button10Compress, "同じ内容の行を1行だけ残して取り除きます"},
      {Button9Reload, "復元: ファイルを読み直し、並べ替える前の行に戻します"},
      {CheckBox1SameFolder, "分割元ファイルと同じフォルダに書き出します"},
      {Button2OutFolder, "参照: 分割したファイルを書き出すフォルダを選びます"},
      {Edit2OutFolder, "分割したファイルを書き出すフォルダ"},
      {RadioButton1Files, "ファイルの数を決めて、行を均等に分けます"},
      {NumberBox1Files, "分割するファイルの数"},
      {RadioButton2Lines, "1ファイルあたりの行数を決めて分けます"},
      {NumberBox2Lines, "1ファイルあたりの行数"},
      {RadioButton3Half, "前半の行数を決めて2つのファイルに分けます"},
      {NumberBox3Half, "前半のファイルに入れる行数"},
      {Button3Exec, "実行: チェックした出力ファイルを書き出します"},
      {CheckBox3Distribute, "行を1行ずつ順番に各ファイルへ振り分けます"},
      {CheckBox2OverWrite, "同じ名前のファイルがあれば、問い合わせずに上書きします"},
      {Button4Open, "分割先フォルダをファイルマネージャーで開きます"},
      {Button0Cancel, "実行中の処理を中止します"},
  };
  for (const auto& c : controls) c.widget->setToolTip(QString::fromUtf8(c.tip));

  const struct {
    QAction* action;
    const char* tip;
  } commands[] = {
      {ReadFile1, "分割するテキストファイルを選びます"},
      {WriteFolder1, "分割したファイルを書き出すフォルダを選びます"},
      {SendTo1, "「送る」メニューにこのプログラムを登録します。登録済みなら削除します"},
      {DeskTop1, "デスクトップにこのプログラムの起動ショートカットを登録します。登録済みなら削除します"},
      {StartMenu1, "アプリケーションメニューにこのプログラムを登録します。登録済みなら削除します"},
      {StartUp1, "ログイン時にこのプログラムを起動するよう登録します。登録済みなら削除します"},
      {Close1, "プログラムを終了します"},
      {mmSortNum1, "ファイル名の中の数字を数として比べて並べます"},
      {mmSortDic1, "ファイル名を文字ごとに辞書の順に並べます"},
      {mmSameLB1, "分割元ファイルと同じ改行コードで書き出します"},
      {mmCRLF1, "改行をCRLFにして書き出します"},
      {mmCR1, "改行をCRにして書き出します"},
      {mmLF1, "改行をLFにして書き出します"},
      {CloseQuery1, "終了する前に確認します"},
      {SaveStatus1, "終了時の設定とウィンドウの位置を保存します"},
      {Help2, "ヘルプを表示します"},
      {About1, "バージョン情報を表示します"},
      {Properties1, "このプログラムのファイルのプロパティを表示します"},
      {Donation1, "開発支援のページを開きます"},
      {HomeSite1, "ホームサイトを開きます"},
      {Open2, "選んだファイルを既定のプログラムで開きます"},
      {OpenWithNotepad2, "選んだファイルをテキストエディターで開きます"},
      {OpenWith2, "選んだファイルを開くプログラムを選びます"},
      {OpenWithSendTo2, "選んだファイルを「送る」先のプログラムで開きます"},
      {MakeShortCut2, "選んだファイルのショートカットをデスクトップに作ります"},
      {Properties2, "選んだファイルのプロパティを表示します"},
      {OpenLocation2, "選んだファイルのあるフォルダを開きます"},
      {ToTop2, "選んだ行を先頭へ移します"},
      {ToUpper2, "選んだ行を1つ上へ移します"},
      {ToLower2, "選んだ行を1つ下へ移します"},
      {ToBottom2, "選んだ行を末尾へ移します"},
  };
  for (const auto& c : commands) c.action->setToolTip(QString::fromUtf8(c.tip));
  ShortCut1->menuAction()->setToolTip(QStringLiteral("起動ショートカットを登録・削除します"));
  for (QMenu* menu : {File1, ShortCut1, Option1, Help1, PopupMenu1}) menu->setToolTipsVisible(true);
}

void TVarnopelForm::MakeRadioGroup(std::initializer_list<QAction*> group) {
  const QList<QAction*> members(group);
  for (QAction* item : members) {
    // toggled also fires when code sets the mark, so the settings reader gets
    // the same rule. Unchecking touches nobody else.
    connect(item, &QAction::toggled, this, [item, members](bool checked) {
      if (!checked) return;
      for (QAction* other : members)
        if (other != item) other->setChecked(false);
    });
  }
}

void TVarnopelForm::BuildPopupMenu1() {
  PopupMenu1 = SubMenu(this, QString(), "PopupMenu1");
  Open2 = MenuItem(PopupMenu1, QStringLiteral("既定のプログラムで開く"), "Open2");
  OpenWithNotepad2 = MenuItem(PopupMenu1, QStringLiteral("メモ帳で開く"), "OpenWithNotepad2");
  OpenWith2 = MenuItem(PopupMenu1, QStringLiteral("プログラムを選択して開く"), "OpenWith2");
  OpenWithSendTo2 = MenuItem(PopupMenu1, QStringLiteral("「送る」先を選択して開く"), "OpenWithSendTo2");
  Separator(PopupMenu1, "N6");
  MakeShortCut2 = MenuItem(PopupMenu1, QStringLiteral("デスクトップにショートカットを作成"), "MakeShortCut2");
  Separator(PopupMenu1, "N3");
  Properties2 = MenuItem(PopupMenu1, QStringLiteral("ファイルのプロパティを表示"), "Properties2");
  OpenLocation2 = MenuItem(PopupMenu1, QStringLiteral("ファイルの場所を開く"), "OpenLocation2");
  Separator(PopupMenu1, "N4");
  ToTop2 = MenuItem(PopupMenu1, QStringLiteral("先頭へ"), "ToTop2");
  ToUpper2 = MenuItem(PopupMenu1, QStringLiteral("↑上へ"), "ToUpper2");
  ToLower2 = MenuItem(PopupMenu1, QStringLiteral("↓下へ"), "ToLower2");
  ToBottom2 = MenuItem(PopupMenu1, QStringLiteral("末尾へ"), "ToBottom2");
  // The pop-up menu's pictures; Open2's becomes the type icon of the row's file.
  Open2->setIcon(ThemeIcon(QStringLiteral("text-x-generic")));
  OpenWithNotepad2->setIcon(ThemeIcon(QStringLiteral("accessories-text-editor")));
  MakeShortCut2->setIcon(ThemeIcon(QStringLiteral("emblem-symbolic-link")));
  OpenLocation2->setIcon(ThemeIcon(QStringLiteral("folder-open")));
  ToTop2->setIcon(ThemeIcon(QStringLiteral("go-top")));
  ToBottom2->setIcon(ThemeIcon(QStringLiteral("go-bottom")));
}

void TVarnopelForm::ConnectHandlers() {
  auto click = [this](QPushButton* button, void (TVarnopelForm::*handler)()) {
    connect(button, &QPushButton::clicked, this, handler);
  };
  click(Button1InFile, &TVarnopelForm::Button1InFileClick);
  click(Button9Reload, &TVarnopelForm::Button9ReloadClick);
  click(Button6Reverse, &TVarnopelForm::Button6ReverseClick);
  click(Button5Random, &TVarnopelForm::Button5RandomClick);
  click(Button7Ascend, &TVarnopelForm::Button7AscendClick);
  click(Button8Descend, &TVarnopelForm::Button8DescendClick);
  click(Button10Compress, &TVarnopelForm::Button10CompressClick);
  click(Button2OutFolder, &TVarnopelForm::Button2OutFolderClick);
  click(Button3Exec, &TVarnopelForm::Button3ExecClick);
  click(Button4Open, &TVarnopelForm::Button4OpenClick);
  click(Button0Cancel, &TVarnopelForm::Button0CancelClick);

  // A check box's handler runs whenever its mark changes, from code as well.
  connect(CheckBox1SameFolder, &QCheckBox::toggled, this, &TVarnopelForm::CheckBox1SameFolderClick);

  // Checking a radio button from code runs its handler when it was unchecked.
  auto radio = [this](QRadioButton* button, void (TVarnopelForm::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
      if (checked) (this->*handler)();
    });
  };
  radio(RadioButton1Files, &TVarnopelForm::RadioButton1FilesClick);
  radio(RadioButton2Lines, &TVarnopelForm::RadioButton2LinesClick);
  radio(RadioButton3Half, &TVarnopelForm::RadioButton3HalfClick);
  connect(NumberBox1Files, &QSpinBox::valueChanged, this, &TVarnopelForm::NumberBox1FilesChange);
  connect(NumberBox2Lines, &QSpinBox::valueChanged, this, &TVarnopelForm::NumberBox2LinesChange);
  connect(NumberBox3Half, &QSpinBox::valueChanged, this, &TVarnopelForm::NumberBox3HalfChange);

  connect(ListView2->header(), &QHeaderView::sectionClicked, this, &TVarnopelForm::ListView2ColumnClick);
  connect(Timer1, &QTimer::timeout, this, &TVarnopelForm::Timer1Timer);
  GridPanel1->installEventFilter(this);

  auto item = [this](QAction* action, void (TVarnopelForm::*handler)()) {
    connect(action, &QAction::triggered, this, handler);
  };
  item(ReadFile1, &TVarnopelForm::Button1InFileClick);
  item(WriteFolder1, &TVarnopelForm::Button2OutFolderClick);
  item(SendTo1, &TVarnopelForm::SendTo1Click);
  item(DeskTop1, &TVarnopelForm::DeskTop1Click);
  item(StartMenu1, &TVarnopelForm::StartMenu1Click);
  item(StartUp1, &TVarnopelForm::StartUp1Click);
  item(Close1, &TVarnopelForm::Close1Click);
  item(Help2, &TVarnopelForm::Help2Click);
  item(About1, &TVarnopelForm::About1Click);
  item(Properties1, &TVarnopelForm::Properties1Click);
  item(Donation1, &TVarnopelForm::Donation1Click);
  item(HomeSite1, &TVarnopelForm::HomeSite1Click);
  item(mmSortNum1, &TVarnopelForm::mmSortNum1Click);
  item(mmSortDic1, &TVarnopelForm::mmSortDic1Click);
  // Logging off or shutting down asks and saves as a close does.
  connect(qApp, &QGuiApplication::commitDataRequest, this, &TVarnopelForm::CommitDataRequest, Qt::DirectConnection);
  item(Open2, &TVarnopelForm::Open2Click);
  item(OpenWithNotepad2, &TVarnopelForm::OpenWithNotepad2Click);
  item(OpenWith2, &TVarnopelForm::OpenWith2Click);
  item(OpenWithSendTo2, &TVarnopelForm::OpenWithSendTo2Click);
  item(MakeShortCut2, &TVarnopelForm::MakeShortCut2Click);
  item(Properties2, &TVarnopelForm::Properties2Click);
  item(OpenLocation2, &TVarnopelForm::OpenLocation2Click);
  item(ToTop2, &TVarnopelForm::ToTop2Click);
  item(ToUpper2, &TVarnopelForm::ToUpper2Click);
  item(ToLower2, &TVarnopelForm::ToLower2Click);
  item(ToBottom2, &TVarnopelForm::ToBottom2Click);
}

void TVarnopelForm::ShowPopupMenu1(QTreeWidget* listView, const QPoint& pos) {
  PopupMenu1Popup();
  PopupMenu1->popup(listView->viewport()->mapToGlobal(pos));
}

}  // namespace varnopel
