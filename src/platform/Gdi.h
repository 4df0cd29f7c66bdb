// Block copies and flood fill in device pixels (row 0 at the top edge).
#pragma once

#include <QImage>

#include "platform/Nombres.h"

namespace tir {

enum class Rop {
    SrcCopy,   // destination = source
    SrcAnd,    // destination = destination AND source (the mask)
    SrcInvert  // destination = destination XOR source (the picture)
};

// Copies the w x h block at (sx, sy) of src to (x, y) of dst, combining by rop. Both blocks are
// clipped at every edge of their images; the part that falls outside either is ignored.
// Returns false when nothing was copied.
bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop);

// Stretches the sw x sh block at (sx, sy) of src onto the w x h block at (x, y) of dst, sampling
// the nearest source pixel (for target pixel t of T, source pixel ceil((t + 0.5) * S / T) - 1 of
// S, as Qt's unsmoothed drawImage does), combining by rop and clipping as BitBlt does. A negative
// w (or h) makes the target extend leftwards (upwards) from x (y) and, unless sw (sh) is negative
// too, mirrors the picture as a mirrored image stretched the same way would be. Returns false
// when nothing was drawn.
bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw,
                int sh, Rop rop);

// Fills with `remplissage` every pixel 4-connected to (x, y) that is not of colour `bord`; the
// border colour and the image's edges stop it. Returns false when the seed is outside or of the
// border colour.
bool FloodFill(QImage& image, int x, int y, Couleur bord, Couleur remplissage);

}  // namespace tir
