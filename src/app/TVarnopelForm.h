#pragma once
// The main window. Its controls and state are private; each control carries
// its member name as objectName, by which the tests find it.
#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "dialogs/Dialogs.h"
#include "app/EventPump.h"
#include "app/NumberBox.h"
#include "app/SettingsFile.h"
#include "shell/ShellServices.h"
#include "session/SplitSession.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSessionManager;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace varnopel {

class TVarnopelForm : public QMainWindow {
  Q_OBJECT

 public:
  TVarnopelForm(std::shared_ptr<Dialogs> dialogs, std::shared_ptr<ShellServices> shell, QWidget* parent = nullptr);
  ~TVarnopelForm() override;

  // Start of the program: clock, title, settings, first refresh, command-line
  // files, sizes, dialog folders, random seed, drop target.
  void FormCreate(const QStringList& args);

  // Brings the controls in line with the working list. false only once, at start.
  void RefreshAfterLoad(bool enabled);
  // Widens both columns to 120 % of the first row's texts; never narrows them.
  void FitListColumns(QTreeWidget* listView);
  // ListView1 when the output tab is in front, else ListView2.
  QTreeWidget* ActiveListView() const;
  // Split arithmetic over the working list's count, rounding up (0 files counts as 1,
  // 0 lines as the whole list). 0 when the list is empty.
  int32_t LinesPerFile(int32_t files) const;
  int32_t FilesForLines(int32_t lines) const;

  // --- Busy state (TVarnopelFormBusy.cpp) ---
  // Enables or disables the controls that start operations; the cursor
  // shows an hourglass while they are disabled.
  void EnableWorkControls(bool enabled);
  // Close requests are refused while this is false (and while any
  // operation runs).
  void EnableCloseCommand(bool enabled);
  // Marks the window for attention and restores it if minimised.
  void FlashAndRestore(int count, int intervalMs);
  // The busy image in front of a tab's caption.
  void SetBusyTab(QWidget* tab, bool busy);
  // Progress of the running operation: the launcher entry and the status bar.
  void ShowProgress(ProgressState state, qint64 value, qint64 maximum);
  // Moves the progress on; shown at the next pump.
  void SetProgressValue(qint64 value) { ProgressValue_ = value; }
  void SetProgressState(ProgressState state) { ProgressState_ = state; }
  // Shows Cancel (IsCanceled := false) at its resting place or over `cover`.
  void ShowCancelButton(QWidget* cover = nullptr);
  void HideCancelButton();
  // Keeps the window responsive in long loops (see EventPump).
  EventPump& Pump() { return Pump1_; }
  // True while an operation runs; close requests are refused meanwhile.
  bool IsBusy() const { return Operations_ > 0; }

  // --- Loading (TVarnopelFormLoading.cpp) ---
  // Files dropped on the window (local paths; anything else fails to read).
  void WMDropFiles(const QStringList& paths);
  // Sorts file names in the order chosen in the settings menu.
  void SortFileNames(QStringList& names) const;

  // --- Split plan (TVarnopelFormPlan.cpp) ---
  // Full path of output file `number`, from the input path and output folder
  // boxes. Throws InvalidPathError.
  QString OutputFileName(qint64 number) const;
  // Rebuilds the output list for `files` planned files (none over 16). False
  // when a name was refused (the error box has been shown).
  bool BuildOutputList(qint64 files);
  // The texts of the three mode labels for a number box value.
  QString FilesLabelText(qint64 files) const;
  QString LinesLabelText(qint64 lines) const;
  QString HalfLabelText(qint64 half) const;

  // --- Desktop actions (TVarnopelFormShell.cpp, see shell/ShellCommands.h) ---
  // Each reports its own failure in a box and returns normally.
  void ShellOpen(const QString& target);
  void ShellOpenWith(const QString& program, const QStringList& arguments);
  void ShowFileProperties(const QString& path);
  // The file selected in the file manager, else its folder opened.
  void ShowInFileManager(const QString& path);
  QString SpecialFolderPath(SpecialFolder which);

  // --- Shortcuts (TVarnopelFormShortcuts.cpp) ---
  // Creates the shortcut to `target` in `folder`, or rewrites or trashes an
  // existing one as the user chooses; then offers to open the folder.
  void ToggleShortcut(SpecialFolder folder, const QString& target, const QString& folderName);
  // true when the file is gone (or was never there).
  bool RecycleFile(const QString& path);

  Dialogs& dialogs() { return *dialogs_; }
  ShellServices& shell() { return *shell_; }

  // "yyyy/MM/dd  HH:mm" as the clock shows it.
  static QString ClockText(const QDateTime& time);
  // Counts in labels: digits grouped by thousands in the user's locale.
  static QString FormatCount(qint64 value);

  // --- What a start may set, and what the tests read back ---
  // Where the settings are read (at FormCreate) and written (at close).
  void setSettingsPaths(const QString& path, const QString& fallback) {
    SettingsPath1 = path;
    SettingsFallbackPath1 = fallback;
  }
  // The clock's time source.
  void setClock(std::function<QDateTime()> now) { Now1 = std::move(now); }
  // Reseeds the shuffle, which FormCreate seeds from the clock.
  void seedRandom(uint64_t seed) { Random1.seed(seed); }
  // The input list was reordered after its files were read: Execute reads
  // them again in the new order.
  bool inputOrderChanged() const { return IsListView2Modified; }
  // Cancel was pressed during the running operation.
  bool cancelRequested() const { return IsCanceled; }
  // The folders kept in the settings for the file dialog and the folder picker.
  const QString& previousOpenFolder() const { return PrevOpenFolder1; }
  const QString& previousSaveFolder() const { return PrevSaveFolder1; }
  // Column the input list was last sorted by: +-(column + 1), + ascending,
  // - descending, 0 before the first header click.
  int inputSortState() const { return InputSortState1; }

  // --- The split session ---
  // The input files, their lines (the working list) and the code page and
  // line break that the output takes over.
  SplitSession& session() { return Session1_; }
  const SplitSession& session() const { return Session1_; }

  // --- Session end (TVarnopelFormSettings.cpp) ---
  // The close question at session end; false refuses the log-off. `mayAsk`
  // is false when the session manager allows no dialog.
  bool QueryEndSession(bool mayAsk);
  // Connected to the application's commitDataRequest.
  void CommitDataRequest(QSessionManager& manager);

 public slots:
  // Handlers of the window itself.
  void Timer1Timer();
  void StatusBar1Resize();
  void GridPanel1Resize();
  void PageControl1Resize();
  void CheckBox1SameFolderClick();
  void Button2OutFolderClick();
  void Close1Click();
  void FormClose();
  void FormCloseQuery(bool& canClose);

  // Split mode controls: their labels, and the output list rebuilt.
  void NumberBox1FilesChange();
  void NumberBox2LinesChange();
  void NumberBox3HalfChange();
  void RadioButton1FilesClick();
  void RadioButton2LinesClick();
  void RadioButton3HalfClick();

  // Loading, reordering, the split and the desktop actions.
  void Button1InFileClick();
  void Button9ReloadClick();
  void Button6ReverseClick();
  void Button5RandomClick();
  void Button7AscendClick();
  void Button8DescendClick();
  void Button10CompressClick();
  void Button3ExecClick();
  void Button4OpenClick();
  void Button0CancelClick();
  void SendTo1Click();
  void DeskTop1Click();
  void StartMenu1Click();
  void StartUp1Click();
  void Help2Click();
  void About1Click();
  void Properties1Click();
  void Donation1Click();
  void HomeSite1Click();
  void PopupMenu1Popup();
  void Open2Click();
  void OpenWithNotepad2Click();
  void OpenWith2Click();
  void OpenWithSendTo2Click();
  void MakeShortCut2Click();
  void Properties2Click();
  void OpenLocation2Click();
  void ToTop2Click();
  void ToUpper2Click();
  void ToLower2Click();
  void ToBottom2Click();
  void ListView2ColumnClick(int column);
  void mmSortNum1Click();
  void mmSortDic1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window (TVarnopelFormLayout.cpp).
  void BuildGridPanel1();
  void BuildGridPanel3();
  void BuildPageControl1();
  void BuildStatusBar1();
  void BuildMainMenu1();
  void BuildPopupMenu1();
  QTreeWidget* BuildListView(const QString& name, QWidget* parent);
  void SetTabChain();
  void SetToolTips();
  void ConnectHandlers();
  // Checking one item of a menu radio group unchecks the others of the group.
  void MakeRadioGroup(std::initializer_list<QAction*> group);
  void PlaceButton0Cancel();
  QSize InitialClientSize() const;
  int ClientHeight() const;

  // The settings file and the command-line files.
  void ReadSettings();
  void LoadCommandLine(const QStringList& args);
  // Writes the settings file; a failure is reported, never fatal.
  void WriteSettings();
  // The four move items: the selected row of the active list goes one place
  // up (-1) or down (+1), or as far as it can that way when `toEnd`.
  void MoveSelectedRow(int direction, bool toEnd);
  // Order of two input rows for the header sort: negative, 0 or positive.
  int ListView2Compare(const QTreeWidgetItem* row1, const QTreeWidgetItem* row2) const;
  bool SessionEndAnswered_ = false;

  void ShowPopupMenu1(QTreeWidget* listView, const QPoint& pos);
  void SetNumberBoxRange(NumberBox* box, int minimum, int maximum, int value);

  // Busy state.
  friend class OperationScope;
  int Operations_ = 0;
  bool CloseCommandEnabled_ = true;
  // The refresh sets the number boxes and then empties the output list, so
  // the list is not built (nor its status shown) while it runs.
  bool Refreshing_ = false;
  qint64 ProgressValue_ = 0;
  qint64 ProgressMaximum_ = 0;
  ProgressState ProgressState_ = ProgressState::None;
  // What the launcher entry shows now: it is told only of changes.
  qint64 ShownProgressValue_ = 0;
  qint64 ShownProgressMaximum_ = 0;
  ProgressState ShownProgressState_ = ProgressState::None;
  EventPump Pump1_;
  void UpdateProgressDisplay();

  // Loading by one of the roads: the file dialog, a drop, the command line
  // (sorted names), or a restore or Execute's reading again (in the input
  // list's order).
  enum class LoadRoad { Dialog, Drop, CommandLine, Restore, Reread };
  void ReadInputFiles(const QStringList& names, LoadRoad road);
  // The window's sides of loading and of the split run (in their .cpp files).
  friend class WindowLoadEvents;
  friend class WindowSplitCallbacks;
  // The four reorderings share their frame: busy state, texts, progress.
  void RunReordering(const QString& busyText, const QString& doneText, bool progress, bool cancelButton,
                     const std::function<void()>& work);
  // Execute reads the input files again when their order was changed.
  void RereadInputFiles();
  // The radio buttons and number boxes of the three split modes.
  QList<QWidget*> SplitModeControls() const;
  // Spin step of the lines and half boxes from the length of their text.
  static void SetSpinStep(NumberBox* box);

  SplitSession Session1_;
  std::shared_ptr<Dialogs> dialogs_;
  std::shared_ptr<ShellServices> shell_;
  QLabel* StatusPanel0_ = nullptr;
  QLabel* StatusPanel1_ = nullptr;
  QList<QWidget*> RadioCells_;    // hold the radio buttons with their left margin
  QList<QWidget*> GridControls_;  // controls placed directly in GridPanel1

  // The status bar's two panels: the clock and the messages.
  QLabel* StatusPanel0() const { return StatusPanel0_; }
  QLabel* StatusPanel1() const { return StatusPanel1_; }

  // --- Working state ---
  // Cancel was pressed; the running operation stops at its next poll.
  bool IsCanceled = false;
  // The input list was reordered after its files were read.
  bool IsListView2Modified = false;
  QString PrevOpenFolder1;
  QString PrevSaveFolder1;
  // Where the file dialogs open (set from the folders above at start).
  QString FileOpenDialog1Folder;
  QString FileOpenDialog2Folder;
  // Shuffle generator, seeded from the clock at start (seedRandom reseeds it).
  std::mt19937_64 Random1;
  // The clock's time source (setClock replaces it).
  std::function<QDateTime()> Now1 = [] { return QDateTime::currentDateTime(); };

  // --- Settings file and input list order (TVarnopelFormSettings.cpp,
  // TVarnopelFormInputOrder.cpp) ---
  // Where the settings are read and written (setSettingsPaths points both
  // elsewhere).
  QString SettingsPath1 = SettingsFilePath(QStringLiteral("Quillmoor"));
  QString SettingsFallbackPath1 = SettingsFallbackPath();
  // Placement values Qt cannot honour, kept so that they are written back.
  int PlacementFlags1 = 0;
  int PlacementMaxX1 = -1;
  int PlacementMaxY1 = -1;
  // The input list's last header sort, as inputSortState() gives it.
  int InputSortState1 = 0;

  // --- Controls, each with its member name as objectName ---
  QWidget* GridPanel1 = nullptr;
  QLabel* Label4InFile = nullptr;
  QLabel* Label1InFile = nullptr;
  QPushButton* Button1InFile = nullptr;
  QLineEdit* Edit1InFile = nullptr;
  QPushButton* Button9Reload = nullptr;
  QWidget* GridPanel3 = nullptr;
  QPushButton* Button6Reverse = nullptr;
  QPushButton* Button5Random = nullptr;
  QPushButton* Button7Ascend = nullptr;
  QPushButton* Button8Descend = nullptr;
  QPushButton* Button10Compress = nullptr;
  QLabel* Label5OutFolder = nullptr;
  QCheckBox* CheckBox1SameFolder = nullptr;
  QPushButton* Button2OutFolder = nullptr;
  QLineEdit* Edit2OutFolder = nullptr;
  QRadioButton* RadioButton1Files = nullptr;
  NumberBox* NumberBox1Files = nullptr;
  QLabel* label1Files = nullptr;
  QPushButton* Button3Exec = nullptr;
  QRadioButton* RadioButton2Lines = nullptr;
  NumberBox* NumberBox2Lines = nullptr;
  QLabel* Label2Lines = nullptr;
  QRadioButton* RadioButton3Half = nullptr;
  NumberBox* NumberBox3Half = nullptr;
  QLabel* Label25Half = nullptr;
  QCheckBox* CheckBox3Distribute = nullptr;
  QCheckBox* CheckBox2OverWrite = nullptr;
  QPushButton* Button4Open = nullptr;
  QButtonGroup* SplitModeGroup = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QWidget* tsReadIn2 = nullptr;
  QWidget* tsWriteOut1 = nullptr;
  QTreeWidget* ListView2 = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QPushButton* Button0Cancel = nullptr;
  QTimer* Timer1 = nullptr;
  // Progress of the running operation, in the status bar.
  QProgressBar* ProgressBar1 = nullptr;

  // --- Main menu ---
  QMenu* File1 = nullptr;
  QAction* ReadFile1 = nullptr;
  QAction* WriteFolder1 = nullptr;
  QMenu* ShortCut1 = nullptr;
  QAction* SendTo1 = nullptr;
  QAction* DeskTop1 = nullptr;
  QAction* StartMenu1 = nullptr;
  QAction* StartUp1 = nullptr;
  QAction* Close1 = nullptr;
  QMenu* Option1 = nullptr;
  QAction* mmSortNum1 = nullptr;
  QAction* mmSortDic1 = nullptr;
  QAction* mmSameLB1 = nullptr;
  QAction* mmCRLF1 = nullptr;
  QAction* mmCR1 = nullptr;
  QAction* mmLF1 = nullptr;
  QAction* CloseQuery1 = nullptr;
  QAction* SaveStatus1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* About1 = nullptr;
  QAction* Properties1 = nullptr;
  QAction* Donation1 = nullptr;
  QAction* HomeSite1 = nullptr;

  // --- Pop-up menu of the lists ---
  QMenu* PopupMenu1 = nullptr;
  QAction* Open2 = nullptr;
  QAction* OpenWithNotepad2 = nullptr;
  QAction* OpenWith2 = nullptr;
  QAction* OpenWithSendTo2 = nullptr;
  QAction* MakeShortCut2 = nullptr;
  QAction* Properties2 = nullptr;
  QAction* OpenLocation2 = nullptr;
  QAction* ToTop2 = nullptr;
  QAction* ToUpper2 = nullptr;
  QAction* ToLower2 = nullptr;
  QAction* ToBottom2 = nullptr;
};

}  // namespace varnopel
