// The floor Qt sets: a bare Qt 6 window of the game's size with a painted field where the game
// has its own, and nothing else (no controls, no style, no sound, no pictures read). Started
// by bench/mesure.sh beside the game, through bench/demarrage.c, to compare their start-ups.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QWidget>

namespace {

constexpr int kLargeurFenetre = 637;
constexpr int kHauteurFenetre = 428;
constexpr QRect kChamp(5, 4, 627, 334);  // where the game's field lies in its window
constexpr QRgb kCiel = 0x00FFFF;
constexpr QRgb kColline = 0x008000;
constexpr QRgb kSol = 0x808000;

// Sky over two hills, drawn once into an image as the game draws its landscape.
QImage Champ() {
    QImage champ(kChamp.size(), QImage::Format_RGB32);
    champ.fill(kCiel);
    QPainter p(&champ);
    p.setPen(Qt::NoPen);
    const int w = champ.width();
    const int h = champ.height();
    p.setBrush(QColor(kColline));
    p.drawPolygon(
        QPolygon({{0, h - 90}, {w / 3, h / 3}, {w / 2, h - 120}, {w, h - 90}, {w, h}, {0, h}}));
    p.setBrush(QColor(kSol));
    p.drawPolygon(QPolygon({{0, h - 40}, {w / 2, h - 80}, {w, h - 40}, {w, h}, {0, h}}));
    return champ;
}

class FenetreNue : public QWidget {
  public:
    FenetreNue() : champ_(Champ()) { setFixedSize(kLargeurFenetre, kHauteurFenetre); }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter p(this);
        p.drawImage(kChamp.topLeft(), champ_);
    }

  private:
    QImage champ_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FenetreNue fenetre;
    fenetre.show();
    return QApplication::exec();
}
