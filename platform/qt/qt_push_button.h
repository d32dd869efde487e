#pragma once

#include <QPushButton>

namespace tallyfold::platform::qt {

/// A push button whose keyboard focus shows plainly, whatever the style and the palette: a
/// ring in the palette's highlight colour inside its edge. Some styles mark the focus of a
/// button faintly or not at all, and the learning keys depend on seeing which button Space
/// will press.
class PushButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tallyfold::platform::qt
