#include "app/AboutBox.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "dialogs/Dialogs.h"
#include "app/Icons.h"

namespace varnopel {

void PaintAboutBackground(QPainter& painter, const QRect& area, quint32 end) {
  const QColor to(int(end & 0xFF), int((end >> 8) & 0xFF), int((end >> 16) & 0xFF));
  const bool horizontal = end & 1;
  QLinearGradient gradient(area.topLeft(), horizontal ? area.topRight() : area.bottomLeft());
  gradient.setColorAt(0, Qt::white);
  gradient.setColorAt(1, to);
  painter.fillRect(area, gradient);
}

QPoint AboutBoxPosition(const QRect& owner, const QSize& box, const QRect& workArea) {
  QPoint at(owner.left() + (owner.width() - box.width()) / 2, owner.top() + (owner.height() - box.height()) / 2);
  at.setX(std::max(at.x(), workArea.left()));
  at.setY(std::max(at.y(), workArea.top()));
  return at;
}

AboutBox::AboutBox(const QString& text, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(Dialogs::caption());
  RandomColour = [] { return quint32(QRandomGenerator::global()->bounded(0xFFFFFF)); };

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("AboutIcon"));
  const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(ApplicationIcon().pixmap(side, side));
  icon->setAlignment(Qt::AlignTop);

  message_ = new QLabel(Dialogs::displayText(text), this);
  message_->setObjectName(QStringLiteral("AboutMessage"));
  message_->setAutoFillBackground(false);  // the gradient shows through the text
  message_->setAttribute(Qt::WA_TranslucentBackground);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->setCursor(Qt::ArrowCursor);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("AboutOk"));
  ok_->setCursor(Qt::PointingHandCursor);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(8);
  row->addWidget(message_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addStretch();
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addLayout(buttons);
  column->setSizeConstraint(QLayout::SetFixedSize);  // sized to the text, not resizable
}

void AboutBox::PlaceOverOwner() {
  adjustSize();
  QWidget* owner = parentWidget();
  if (!owner) return;
  QScreen* screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect();
  move(AboutBoxPosition(owner->frameGeometry(), frameGeometry().size(), work));
}

void AboutBox::paintEvent(QPaintEvent* event) {
  // A new colour for every repaint of the whole box. A part repainted
  // alone (behind the transparent text, say) keeps the colour around it, or
  // the box would turn into a patchwork.
  if (!painted_ || event->rect().contains(rect())) lastColour_ = RandomColour();
  painted_ = true;
  QPainter painter(this);
  PaintAboutBackground(painter, rect(), lastColour_);
}

}  // namespace varnopel
