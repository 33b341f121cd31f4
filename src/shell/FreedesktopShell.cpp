#include "shell/FreedesktopShell.h"

#include <QCoreApplication>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QFile>
#include <QWidget>

#include "shell/DesktopApplications.h"

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
  QObject::connect(process, &QProcess::finished, &guard_,
                   [this, process, clock, target](int code, QProcess::ExitStatus status) {
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

bool FreedesktopShell::showItemProperties(const QString& path) {
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                     "org.freedesktop.FileManager1", "ShowItemProperties");
  call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
  return reply.type() == QDBusMessage::ReplyMessage;
}

namespace {

// Receives the portal's answer to one request, then goes away.
class PortalRequest : public QObject {
  Q_OBJECT
 public:
  PortalRequest(std::function<void()> failed, QObject* parent) : QObject(parent), failed_(std::move(failed)) {}

 public slots:
  void Response(uint response, const QVariantMap&) {
    // 0 opened, 1 cancelled by the user, 2 anything else.
    if (response == 2 && failed_) failed_();
    deleteLater();
  }

 private:
  std::function<void()> failed_;
};

}  // namespace

int FreedesktopShell::openWithPortal(QWidget* window, const QString& path, std::function<void()> failed) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return ENOSYS;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return ENOSYS;

  // The request's object path is known before the call, so the answer
  // cannot arrive before we listen for it.
  static int counter = 0;
  const QString token = QStringLiteral("varnopel%1").arg(++counter);
  QString sender = bus.baseService().mid(1);
  sender.replace(u'.', u'_');
  const QString requestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + u'/' + token;
  auto* request = new PortalRequest(std::move(failed), &guard_);
  bus.connect(QStringLiteral("org.freedesktop.portal.Desktop"), requestPath,
              QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), request,
              SLOT(Response(uint, QVariantMap)));

  QString parent;
  if (window && QGuiApplication::platformName() == QStringLiteral("xcb"))
    parent = QStringLiteral("x11:") + QString::number(window->winId(), 16);
  QVariantMap options;
  options[QStringLiteral("handle_token")] = token;
  options[QStringLiteral("ask")] = true;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
      QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenFile"));
  call << parent << QVariant::fromValue(QDBusUnixFileDescriptor(file.handle())) << options;
  const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    delete request;
    return ENOSYS;
  }
  return 0;
}

QList<DesktopApplication> FreedesktopShell::applicationsFor(const QString& mimeType) {
  return ApplicationsForType(mimeType);
}

QList<DesktopApplication> FreedesktopShell::allApplications() { return AllDesktopApplications(); }

QStringList FreedesktopShell::textEditorCommand(const QString& path) { return TextEditorCommand(path); }

int FreedesktopShell::moveToTrash(const QString& path) {
  // Qt puts the file in a wrong trash when the data folder is missing.
  QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
  if (QFile::moveToTrash(path)) return 0;
  const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
  if (!gio.isEmpty() && QProcess::execute(gio, {QStringLiteral("trash"), path}) == 0) return 0;
  return QFileInfo::exists(path) ? EACCES : ENOENT;
}

QString FreedesktopShell::specialFolder(SpecialFolder which) {
  switch (which) {
    case SpecialFolder::Desktop: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case SpecialFolder::Programs: return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    case SpecialFolder::Startup:
      return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    case SpecialFolder::SendTo:
      // The file manager's scripts get the selected files as arguments.
      return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             QStringLiteral("/nautilus/scripts");
  }
  return {};
}

void FreedesktopShell::markLaunchable(const QString& desktopEntry) {
  QFile::setPermissions(desktopEntry, QFile::permissions(desktopEntry) | QFile::ExeOwner | QFile::ExeUser);
  // GNOME's desktop starts only entries that carry its trusted mark.
  const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
  if (!gio.isEmpty())
    QProcess::execute(
        gio, {QStringLiteral("set"), desktopEntry, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
}

QString FreedesktopShell::programFile() { return QCoreApplication::applicationFilePath(); }

}  // namespace varnopel

#include "FreedesktopShell.moc"
