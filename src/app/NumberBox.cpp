#include "app/NumberBox.h"

#include <QKeyEvent>

namespace varnopel {

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {
  setAlignment(Qt::AlignCenter);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  // The wheel steps the value whenever the pointer is over the box.
  setFocusPolicy(Qt::WheelFocus);
  setAccelerated(false);
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
    // The spin box pages by ten single steps; make that ten units.
    const int step = singleStep();
    setSingleStep(1);
    QSpinBox::keyPressEvent(event);
    setSingleStep(step);
    return;
  }
  QSpinBox::keyPressEvent(event);
}

}  // namespace varnopel
