// The settings file: reading it at start, the close question and writing it
// at close (and at session end), and the two sort-order menu items.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QSessionManager>

#include <algorithm>
#include <limits>

#include "app/SettingsFile.h"
#include "app/TVarnopelForm.h"
#include "shell/HelpAbout.h"

namespace varnopel {

namespace {

const QString kProgram = QStringLiteral("PROGRAM");
const QString kPosition = QStringLiteral("POSITION");
const QString kOption = QStringLiteral("OPTION");

// Window states as the file numbers them.
constexpr int kStateNormal = 0;
constexpr int kStateMinimized = 1;
constexpr int kStateMaximized = 2;
// Show commands as the file numbers them (written for other readers only).
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

// The locale's short date and long time; the time zone is left out, as it
// says nothing about the moment that the date and time have not said.
QString LastCloseText(const QDateTime& now) {
  const QLocale locale;
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove(u't');
  return locale.toString(now.date(), QLocale::ShortFormat) + u' ' + locale.toString(now.time(), timeFormat.trimmed());
}

int StateNumber(Qt::WindowStates state) {
  if (state & Qt::WindowMinimized) return kStateMinimized;
  if (state & Qt::WindowMaximized) return kStateMaximized;
  return kStateNormal;
}

// The rectangle moved into the free area of the screen that shows most of
// it (the nearest screen when none shows any), and made smaller where it
// does not fit there, so that the whole window, status bar included, can be
// seen and reached.
QRect KeepOnScreen(const QRect& rect) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty()) return rect;
  QScreen* best = nullptr;
  qint64 bestShown = 0;
  qint64 nearestDistance = std::numeric_limits<qint64>::max();
  for (QScreen* screen : screens) {
    const QRect shown = screen->geometry().intersected(rect);
    const qint64 area = shown.isEmpty() ? 0 : qint64(shown.width()) * shown.height();
    const QPoint d = screen->geometry().center() - rect.center();
    const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
    if (area > bestShown || (bestShown == 0 && distance < nearestDistance)) {
      best = screen;
      bestShown = std::max(bestShown, area);
      nearestDistance = std::min(nearestDistance, distance);
    }
  }
  const QRect area = best->availableGeometry();
  QRect moved(rect.topLeft(), rect.size().boundedTo(area.size()));
  moved.moveLeft(std::clamp(moved.left(), area.left(), area.right() + 1 - moved.width()));
  moved.moveTop(std::clamp(moved.top(), area.top(), area.bottom() + 1 - moved.height()));
  return moved;
}

// Placement coordinates count from the primary screen's free area.
QPoint WorkAreaOrigin() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->availableGeometry().topLeft() : QPoint();
}

}  // namespace

void TVarnopelForm::ReadSettings() {
  const QString path = QFileInfo::exists(SettingsPath1) ? SettingsPath1 : SettingsFallbackPath1;
  SettingsFile ini;
  ini.load(path);

  PlacementFlags1 = ini.readInteger(kPosition, QStringLiteral("Flags"), PlacementFlags1);
  PlacementMaxX1 = ini.readInteger(kPosition, QStringLiteral("MaxX"), PlacementMaxX1);
  PlacementMaxY1 = ini.readInteger(kPosition, QStringLiteral("MaxY"), PlacementMaxY1);
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QSize screen = primary != nullptr ? primary->geometry().size() : QSize(1024, 768);
  const int top = ini.readInteger(kPosition, QStringLiteral("Top"), screen.height() / 5);
  const int bottom = ini.readInteger(kPosition, QStringLiteral("Bottom"), 4 * top);
  const int left = ini.readInteger(kPosition, QStringLiteral("Left"), screen.width() / 4);
  const int right = ini.readInteger(kPosition, QStringLiteral("Right"), 3 * left);
  // Right and bottom lie just outside the rectangle. A turned-round one
  // still gives a window, at its smallest.
  const QRect normal(QPoint(left, top) + WorkAreaOrigin(), QSize(std::max(1, right - left), std::max(1, bottom - top)));
  setGeometry(KeepOnScreen(normal));

  // Any other number is taken as the normal state.
  switch (ini.readInteger(kPosition, QStringLiteral("State"), StateNumber(windowState()))) {
    case kStateMinimized: setWindowState(Qt::WindowMinimized); break;
    case kStateMaximized: setWindowState(Qt::WindowMaximized); break;
    default: setWindowState(Qt::WindowNoState); break;
  }

  // Each mark by its group's rule: checking one unchecks the others.
  mmSortNum1->setChecked(ini.readBool(kOption, QStringLiteral("SortNum"), true));
  mmSortDic1->setChecked(ini.readBool(kOption, QStringLiteral("SortDic"), false));
  CloseQuery1->setChecked(ini.readBool(kOption, QStringLiteral("CloseQuery"), false));
  SaveStatus1->setChecked(ini.readBool(kOption, QStringLiteral("SaveStatus"), true));
  PrevOpenFolder1 = ini.readString(kOption, QStringLiteral("PrevOpenFolder"), QString());
  PrevSaveFolder1 = ini.readString(kOption, QStringLiteral("PrevSaveFolder"), QString());
  mmSameLB1->setChecked(ini.readBool(kOption, QStringLiteral("LineBreakSame"), true));
  mmCRLF1->setChecked(ini.readBool(kOption, QStringLiteral("LineBreakCRLF"), false));
  mmCR1->setChecked(ini.readBool(kOption, QStringLiteral("LineBreakCR"), false));
  mmLF1->setChecked(ini.readBool(kOption, QStringLiteral("LineBreakLF"), false));
  if (!mmCRLF1->isChecked() && !mmCR1->isChecked() && !mmLF1->isChecked()) mmSameLB1->setChecked(true);
}

void TVarnopelForm::FormCloseQuery(bool& canClose) {
  // The question was answered at session end already.
  const bool answered = SessionEndAnswered_;
  SessionEndAnswered_ = false;
  if (CloseQuery1->isChecked() && !answered && !dialogs_->question(QStringLiteral("終了してよいですか？"))) {
    canClose = false;
    return;
  }
  WriteSettings();
  canClose = true;
}

bool TVarnopelForm::QueryEndSession(bool mayAsk) {
  if (CloseQuery1->isChecked() && mayAsk && !dialogs_->question(QStringLiteral("終了してよいですか？"))) return false;
  WriteSettings();
  SessionEndAnswered_ = true;
  return true;
}

void TVarnopelForm::CommitDataRequest(QSessionManager& manager) {
  const bool mayAsk = CloseQuery1->isChecked() && manager.allowsInteraction();
  const bool goOn = QueryEndSession(mayAsk);
  if (mayAsk) manager.release();
  if (!goOn) manager.cancel();
}

void TVarnopelForm::WriteSettings() {
  QString path = SettingsPath1;
  // Without a folder of its own the file goes beside the program.
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) path = SettingsFallbackPath1;

  SettingsFile ini;
  // A file with a byte-order mark keeps its encoding and mark.
  ini.setEncoding(SettingsFile::encodingOfFile(path));
  const QFileInfo program(QCoreApplication::applicationFilePath());
  ini.writeString(kProgram, QStringLiteral("Name"), program.fileName());
  ini.writeString(kProgram, QStringLiteral("Path"), program.absolutePath() + u'/');
  ini.writeString(kProgram, QStringLiteral("Version"), QString::fromLatin1(kProgramVersionText));
  ini.writeString(kProgram, QStringLiteral("LastClose"), LastCloseText(Now1()));

  if (SaveStatus1->isChecked()) {
    const Qt::WindowStates state = windowState();
    const QRect normal = (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? normalGeometry() : geometry();
    const QPoint origin = WorkAreaOrigin();
    const int showCmd = (state & Qt::WindowMinimized)   ? kShowMinimized
                        : (state & Qt::WindowMaximized) ? kShowMaximized
                                                        : kShowNormal;
    ini.writeInteger(kPosition, QStringLiteral("Flags"), PlacementFlags1);
    ini.writeInteger(kPosition, QStringLiteral("ShowCmd"), showCmd);
    ini.writeInteger(kPosition, QStringLiteral("MaxX"), PlacementMaxX1);
    ini.writeInteger(kPosition, QStringLiteral("MaxY"), PlacementMaxY1);
    ini.writeInteger(kPosition, QStringLiteral("Left"), normal.left() - origin.x());
    ini.writeInteger(kPosition, QStringLiteral("Top"), normal.top() - origin.y());
    ini.writeInteger(kPosition, QStringLiteral("Right"), normal.left() + normal.width() - origin.x());
    ini.writeInteger(kPosition, QStringLiteral("Bottom"), normal.top() + normal.height() - origin.y());
    ini.writeInteger(kPosition, QStringLiteral("State"), StateNumber(state));

    ini.writeBool(kOption, QStringLiteral("SortNum"), mmSortNum1->isChecked());
    ini.writeBool(kOption, QStringLiteral("SortDic"), mmSortDic1->isChecked());
    ini.writeBool(kOption, QStringLiteral("CloseQuery"), CloseQuery1->isChecked());
    ini.writeBool(kOption, QStringLiteral("SaveStatus"), SaveStatus1->isChecked());
    // The last input file's folder; a name without one keeps the old folder.
    const QString inFile = Edit1InFile->text();
    const qsizetype slash = inFile.lastIndexOf(u'/');
    ini.writeString(kOption, QStringLiteral("PrevOpenFolder"), slash >= 0 ? inFile.left(slash + 1) : PrevOpenFolder1);
    QString outFolder = Edit2OutFolder->text();
    if (!outFolder.isEmpty() && !outFolder.endsWith(u'/')) outFolder += u'/';
    ini.writeString(kOption, QStringLiteral("PrevSaveFolder"), outFolder.isEmpty() ? PrevSaveFolder1 : outFolder);
    ini.writeBool(kOption, QStringLiteral("LineBreakSame"), mmSameLB1->isChecked());
    ini.writeBool(kOption, QStringLiteral("LineBreakCRLF"), mmCRLF1->isChecked());
    ini.writeBool(kOption, QStringLiteral("LineBreakCR"), mmCR1->isChecked());
    ini.writeBool(kOption, QStringLiteral("LineBreakLF"), mmLF1->isChecked());
  }

  // Closing goes ahead all the same; the user learns that this run's
  // settings were not kept, and where and why.
  QString error;
  if (!ini.save(path, &error))
    dialogs_->information(QStringLiteral("設定を保存できませんでした\r\n") + path + QStringLiteral("\r\n") + error);
}

void TVarnopelForm::mmSortNum1Click() {
  mmSortNum1->setChecked(true);
  mmSortDic1->setChecked(false);
  StatusPanel1_->setText(mmSortNum1->text() + QStringLiteral("します"));
}

void TVarnopelForm::mmSortDic1Click() {
  mmSortDic1->setChecked(true);
  mmSortNum1->setChecked(false);
  StatusPanel1_->setText(mmSortDic1->text() + QStringLiteral("します"));
}

}  // namespace varnopel
