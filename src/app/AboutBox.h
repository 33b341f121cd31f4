#pragma once
// The About box: a small tool window with the program's icon, its text on a
// gradient that changes colour at every repaint, and one OK button.
#include <QDialog>
#include <QRect>

#include <functional>

class QLabel;
class QPainter;
class QPushButton;

namespace varnopel {

// Fills `area` from white to `end` (0xBBGGRR): left to right when `end` is
// odd, top to bottom when it is even.
void PaintAboutBackground(QPainter& painter, const QRect& area, quint32 end);
// Centred over `owner`, then moved right or down so that the top-left
// corner lies inside `workArea`.
QPoint AboutBoxPosition(const QRect& owner, const QSize& box, const QRect& workArea);

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  AboutBox(const QString& text, QWidget* owner);

  QLabel* Message() const { return message_; }
  QPushButton* OkButton() const { return ok_; }
  // The colour of the last paint; tests replace the generator.
  quint32 LastColour() const { return lastColour_; }
  std::function<quint32()> RandomColour;

  // Places the box by AboutBoxPosition over its owner's monitor.
  void PlaceOverOwner();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* message_ = nullptr;
  QPushButton* ok_ = nullptr;
  quint32 lastColour_ = 0;
  bool painted_ = false;
};

}  // namespace varnopel
