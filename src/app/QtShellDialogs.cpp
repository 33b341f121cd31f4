// The Qt dialogs that stand in for desktop ones: the application chooser,
// the properties view, and the About box.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/AboutBox.h"
#include "app/Icons.h"
#include "app/QtDialogs.h"
#include "shell/DesktopEntry.h"

namespace varnopel {

namespace {

constexpr int kExecRole = Qt::UserRole;

QTreeWidgetItem* Group(QTreeWidget* tree, const QString& caption, const QList<DesktopApplication>& apps) {
  auto* group = new QTreeWidgetItem(tree, {caption});
  group->setFlags(Qt::ItemIsEnabled);
  for (const DesktopApplication& app : apps) {
    auto* item = new QTreeWidgetItem(group, {app.name});
    item->setIcon(0, QIcon::fromTheme(app.icon));
    item->setData(0, kExecRole, app.exec);
    item->setToolTip(0, app.exec);
  }
  group->setExpanded(true);
  return group;
}

QString PermissionText(QFile::Permissions p) {
  QString text;
  const std::pair<QFile::Permission, char> bits[] = {
      {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
      {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
      {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}};
  for (const auto& [bit, letter] : bits) text += (p & bit) ? QChar(letter) : QChar(u'-');
  return text;
}

}  // namespace

DesktopApplication QtDialogs::chooseApplication(const QString& path, const QList<DesktopApplication>& forType,
                                                const QList<DesktopApplication>& all) {
  QDialog dialog(owner_);
  dialog.setWindowTitle(QStringLiteral("プログラムを選択して開く"));
  auto* label = new QLabel(
      QStringLiteral("このファイルを開くプログラムを選んでください:\n") + QFileInfo(path).fileName(), &dialog);
  auto* tree = new QTreeWidget(&dialog);
  tree->setObjectName(QStringLiteral("ApplicationTree"));
  tree->setHeaderHidden(true);
  tree->setRootIsDecorated(true);
  QTreeWidgetItem* matching = Group(tree, QStringLiteral("このファイルの種類のプログラム"), forType);
  Group(tree, QStringLiteral("すべてのプログラム"), all);
  if (matching->childCount() > 0) tree->setCurrentItem(matching->child(0));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* browse = buttons->addButton(QStringLiteral("参照(&B)..."), QDialogButtonBox::ActionRole);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(tree, 1);
  layout->addWidget(buttons);
  dialog.resize(420, 480);

  DesktopApplication chosen;
  auto pickCurrent = [&] {
    const QTreeWidgetItem* item = tree->currentItem();
    if (!item || item->data(0, kExecRole).toString().isEmpty()) return;
    chosen = {QString(), item->text(0), item->data(0, kExecRole).toString(), QString()};
    dialog.accept();
  };
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, pickCurrent);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(tree, &QTreeWidget::itemActivated, &dialog, pickCurrent);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
    const QString program = QFileDialog::getOpenFileName(&dialog, QString(), QStringLiteral("/usr/bin"));
    if (program.isEmpty()) return;
    chosen = {QString(), QFileInfo(program).fileName(), QuoteExecArgument(program) + QStringLiteral(" %f"), QString()};
    dialog.accept();
  });
  if (dialog.exec() != QDialog::Accepted) return {};
  return chosen;
}

void QtDialogs::fileProperties(const QString& path) {
  // Runs on its own, like the desktop's properties windows.
  auto* dialog = new QDialog(owner_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  const QFileInfo info(path);
  dialog->setWindowTitle(info.fileName() + QStringLiteral(" のプロパティ"));
  const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
  const QLocale locale;
  auto when = [&](const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) : QString();
  };

  auto* form = new QFormLayout;
  auto row = [&](const QString& caption, const QString& value) {
    auto* text = new QLabel(value, dialog);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setWordWrap(true);
    form->addRow(caption, text);
  };
  row(QStringLiteral("名前:"), info.fileName());
  row(QStringLiteral("場所:"), info.absolutePath());
  row(QStringLiteral("種類:"), type.comment() + QStringLiteral(" (") + type.name() + u')');
  if (info.isSymLink()) row(QStringLiteral("リンク先:"), info.symLinkTarget());
  row(QStringLiteral("サイズ:"), locale.toString(info.size()) + QStringLiteral(" バイト"));
  row(QStringLiteral("作成日時:"), when(info.birthTime()));
  row(QStringLiteral("更新日時:"), when(info.lastModified()));
  row(QStringLiteral("アクセス日時:"), when(info.lastRead()));
  row(QStringLiteral("アクセス権:"),
      PermissionText(info.permissions()) + QStringLiteral("  ") + info.owner() + u':' + info.group());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  auto* icon = new QLabel(dialog);
  icon->setPixmap(QIcon::fromTheme(type.iconName(), ThemeIcon(QStringLiteral("text-x-generic"))).pixmap(32, 32));
  layout->addWidget(icon);
  layout->addLayout(form);
  layout->addWidget(buttons);
  dialog->show();
}

void QtDialogs::aboutBox(const QString& text) {
  AboutBox box(text, owner_);
  box.PlaceOverOwner();
  box.exec();
}

}  // namespace varnopel
