#include "shell/FreedesktopShell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QVariantMap>

#include <cerrno>

namespace varnopel {

namespace {

// How long an opener may take to report that it could not open the target.
constexpr int kOpenerVerdictMs = 3000;

bool LooksLikeUrl(const QString& target) {
  const QUrl url(target, QUrl::StrictMode);
  return url.isValid() && url.scheme().size() > 1 && !target.startsWith('/');
}

int ErrorForOpenerExit(int exitCode) {
  // xdg-open: 2 = a named file does not exist, 3 = no tool for it, 4 = the tool failed.
  switch (exitCode) {
    case 2: return ENOENT;
    case 3: return ENOEXEC;
    default: return EIO;
  }
}

}  // namespace

int FreedesktopShell::openDocument(const QString& target) {
  if (!LooksLikeUrl(target) && !QFileInfo::exists(target)) return ENOENT;
  QString opener = QStandardPaths::findExecutable("xdg-open");
  QStringList arguments{target};
  if (opener.isEmpty()) {
    opener = QStandardPaths::findExecutable("gio");
    arguments.prepend("open");
  }
  if (opener.isEmpty()) return ENOENT;

  auto* process = new QProcess(qApp);
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(process, &QProcess::finished, process, [this, process, clock, target](int code, QProcess::ExitStatus status) {
    const bool soon = clock->elapsed() < kOpenerVerdictMs;
    delete clock;
    process->deleteLater();
    if (soon && (status != QProcess::NormalExit || code != 0) && lateFailure_) {
      lateFailure_(status == QProcess::NormalExit ? ErrorForOpenerExit(code) : EIO, target);
    }
  });
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(opener, arguments);
  if (!process->waitForStarted(kOpenerVerdictMs)) {
    process->deleteLater();
    return ENOENT;
  }
  return 0;
}

int FreedesktopShell::startProgram(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty() && !QFileInfo(program).isExecutable()) return ENOENT;
  return QProcess::startDetached(program, arguments) ? 0 : ENOEXEC;
}

bool FreedesktopShell::showItems(const QStringList& paths) {
  QStringList uris;
  for (const QString& p : paths) uris << QUrl::fromLocalFile(p).toString();
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                     "org.freedesktop.FileManager1", "ShowItems");
  call << uris << QString();
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
  return reply.type() == QDBusMessage::ReplyMessage;
}

void FreedesktopShell::setProgress(ProgressState state, qint64 value, qint64 maximum) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QVariantMap properties;
  properties["progress-visible"] = state != ProgressState::None;
  properties["progress"] = maximum > 0 ? double(value) / double(maximum) : 0.0;
  // Launchers have no paused colour; the urgent mark stands for it.
  properties["urgent"] = state == ProgressState::Paused;
  QDBusMessage signal = QDBusMessage::createSignal("/com/canonical/unity/launcherentry/varnopel",
                                                   "com.canonical.Unity.LauncherEntry", "Update");
  signal << QString("application://varnopel.desktop") << properties;
  bus.send(signal);
}

void FreedesktopShell::alert(QWidget* window) { QApplication::alert(window, 0); }

}  // namespace varnopel
