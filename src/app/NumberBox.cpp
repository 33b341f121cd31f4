#include "app/NumberBox.h"

namespace varnopel {

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {
  setAlignment(Qt::AlignCenter);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  // The wheel steps the value whenever the pointer is over the box.
  setFocusPolicy(Qt::WheelFocus);
  setAccelerated(false);
}

}  // namespace varnopel
