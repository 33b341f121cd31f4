#pragma once
#include <QLineEdit>
#include <QSpinBox>

namespace varnopel {

// Integer box with spin buttons: centred text, small arrows, mouse wheel on.
class NumberBox : public QSpinBox {
 public:
  explicit NumberBox(QWidget* parent = nullptr);

  // Longest number the user may type, in characters.
  void setMaxTextLength(int length) { lineEdit()->setMaxLength(length); }
  int maxTextLength() const { return lineEdit()->maxLength(); }
  QLineEdit* lineEdit() const { return QSpinBox::lineEdit(); }
};

}  // namespace varnopel
