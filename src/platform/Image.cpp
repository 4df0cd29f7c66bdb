// Hidden pictures and work buffers, and the game's embedded pictures.
#include "platform/Image.h"

#include <QImageReader>
#include <mutex>

// The embedded pictures live in a static library whose unreferenced members the linker drops:
// registering them by hand keeps them. Q_INIT_RESOURCE must be used outside any namespace.
static void EnregistreImagesDuJeu() {
    static std::once_flag fait;
    std::call_once(fait, [] { Q_INIT_RESOURCE(images); });
}

namespace tir {

Image::Image(int largeur, int hauteur, Couleur fond)
    : image_(largeur, hauteur, QImage::Format_RGB32) {
    image_.fill(static_cast<quint32>(fond) | kOpaque);
}

Image::Image(const QImage& picture) : image_(picture.convertToFormat(QImage::Format_RGB32)) {}

Image ChargeImage(const QString& nom, int largeur, int hauteur) {
    EnregistreImagesDuJeu();
    // Read as PNG, Qt's own reader: probing would load every image plugin first.
    QImageReader lecteur(QStringLiteral(":/images/%1.png").arg(nom), "PNG");
    lecteur.setAutoDetectImageFormat(false);
    const QImage lue = lecteur.read();
    if (lue.isNull() || lue.width() != largeur || lue.height() != hauteur) {
        return Image(largeur, hauteur, kBlanc);
    }
    return Image(lue);
}

}  // namespace tir
