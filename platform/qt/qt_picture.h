#pragma once

#include <QWidget>

#include "platform/picture.h"

namespace tallyfold::platform::qt {

/// A picture drawn with `QPainter` in the palette's colours; Qt scales it to the screen.
class PictureView : public QWidget {
    Q_OBJECT

  public:
    explicit PictureView(QWidget* parent);

    void SetPicture(Picture picture);
    const Picture& Shown() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Picture picture_;
};

}  // namespace tallyfold::platform::qt
