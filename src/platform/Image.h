// Hidden pictures and work buffers: device pixels only, fixed size.
#pragma once

#include <QImage>

#include "platform/Nombres.h"

namespace tir {

// A hidden picture box: an RGB32 image of fixed size that serves as source or target of block
// copies. Its size in pixels is read at run time, as the drawing code does for every sprite.
class Image {
  public:
    Image() = default;
    Image(int largeur, int hauteur, Couleur fond = 0xFFFFFF);
    explicit Image(const QImage& picture);  // converted to RGB32

    int ScaleWidth() const { return image_.width(); }
    int ScaleHeight() const { return image_.height(); }
    QImage& hDC() { return image_; }
    const QImage& hDC() const { return image_; }
    const QImage& Picture() const { return image_; }

  private:
    QImage image_;
};

// Loads one of the game's embedded pictures (":/images/<nom>.png"); a missing picture gives a
// blank image of the given size, so the game still runs.
Image ChargeImage(const QString& nom, int largeur, int hauteur);

}  // namespace tir
