#pragma once
#include <QLineEdit>
#include <QSpinBox>

namespace varnopel {

// Integer box with spin buttons: centred text, small arrows, mouse wheel on.
// The arrows, Up/Down keys and the wheel move by singleStep().
class NumberBox : public QSpinBox {
  // Found by type among the window's children.
  Q_OBJECT

 public:
  explicit NumberBox(QWidget* parent = nullptr);

  // Longest number the user may type, in characters.
  void setMaxTextLength(int length) { lineEdit()->setMaxLength(length); }
  int maxTextLength() const { return lineEdit()->maxLength(); }
  QLineEdit* lineEdit() const { return QSpinBox::lineEdit(); }

 protected:
  // Page Up and Page Down move by 10 whatever the single step is.
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace varnopel
