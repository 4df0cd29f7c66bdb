// The window's layout: every control at its place, with its caption, colours and font, and the
// hidden pictures the drawing copies from.
#include <QGroupBox>
#include <QIcon>
#include <QPushButton>
#include <QScrollBar>
#include <utility>

#include "window/Form1.h"

namespace tir {

namespace {

constexpr int kLargeurFenetre = 637;
constexpr int kHauteurFenetre = 428;
const char* const kTitreFenetre = "  Tir au Murax   -  par Qerdal  -  Version 1.6";

// The field's inner area; the widget adds a 2-pixel sunken border all round.
constexpr int kLargeurChamp = 627;
constexpr int kHauteurChamp = 334;

// Arial bold at 96 dots per inch: 9.75, 12 and 15.75 points.
constexpr int kPetite = 13;
constexpr int kMoyenne = 16;
constexpr int kGrande = 21;

constexpr Couleur kGrisClair = 0xC0C0C0;
constexpr Couleur kJaune = 0xFFFF00;
constexpr Couleur kVert = 0x00FF00;
constexpr Couleur kRouge = 0xFF0000;
constexpr Couleur kVertSombre = 0x004000;
constexpr Couleur kRougeQuitter = 0xC00000;
constexpr Couleur kBleuSombre = 0x0000C0;

// Aiming bars: the large step equals the starting value, the minimum is 0.
constexpr int kAngleMaxi = 89;
constexpr int kForceMaxi = 120;
constexpr int kPasFleche = 5;

// The focus mark, inside the bevel of a button and inside the border of the wind's value.
constexpr int kRetraitFocusBouton = 3;
constexpr int kRetraitFocusVent = 2;

QFont Police(int pixels) {
    QFont f("Arial");
    f.setBold(true);
    f.setPixelSize(pixels);
    return f;
}

// Text colour of a control, for labels (WindowText) and buttons (ButtonText) alike.
void Texte(QWidget* w, Couleur texte) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, VersQColor(texte));
    p.setColor(QPalette::ButtonText, VersQColor(texte));
    w->setPalette(p);
}

// Background colour of a control, filled by the control itself.
void Fond(QWidget* w, Couleur fond) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, VersQColor(fond));
    p.setColor(QPalette::Button, VersQColor(fond));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void Couleurs(QWidget* w, Couleur texte, Couleur fond) {
    Texte(w, texte);
    Fond(w, fond);
}

template <typename W>
W* Place(W* w, int gauche, int haut, int largeur, int hauteur, int police) {
    w->setGeometry(gauche, haut, largeur, hauteur);
    if (police > 0) w->setFont(Police(police));
    return w;
}

Panneau3D* Panneau(QWidget* parent, const QString& caption, QRect r, int police) {
    auto* p = Place(new Panneau3D(parent), r.x(), r.y(), r.width(), r.height(), police);
    p->SetCaption(caption);
    return p;
}

QScrollBar* Barre(QGroupBox* cadre, int largeur, int maxi, int depart) {
    auto* b = Place(new BarreVisee(cadre), 4, 20, largeur, 19, 0);
    b->setRange(0, maxi);
    b->setSingleStep(kPasFleche);
    b->setPageStep(depart);
    b->setValue(depart);
    // Only the released thumb counts, never the positions it is dragged through.
    b->setTracking(false);
    // The keyboard aims as the arrow buttons do. Qt's scroll bars take Right and Up for less,
    // which would move the thumb against the key; here Right and Up give more.
    b->setFocusPolicy(Qt::StrongFocus);
    b->setInvertedControls(false);
    MarqueFocus(b, 0, kNoir);
    return b;
}

}  // namespace

Form1::Form1(Services services_, QWidget* parent, Options options_)
    : QWidget(parent), services(services_), options(options_) {
    entrees_ = new Entrees(*this);
    setWindowTitle(QString::fromUtf8(kTitreFenetre));
    setFixedSize(kLargeurFenetre, kHauteurFenetre);
    CreeControles();
    ChargeImages();
    NommeControles();
    PoseBulles();
    OrdonneTabulation();
    Form_Load();
    PrepareOrdinateur();
}

Form1::~Form1() = default;

// The upper row, the field and the sound switch.
void Form1::CreeControles() {
    Dessin = new PictureBox(kLargeurChamp, kHauteurChamp, kCiel, this);
    Dessin->setGeometry(3, 2, kLargeurChamp + 4, kHauteurChamp + 4);

    for (int i = 0; i < 2; ++i) {
        const Image picture = ChargeImage(i == 0 ? "son0" : "son1", 32, 32);
        Son[i] =
            Place(new RubanBouton(i, picture.Picture(), this), i == 0 ? 2 : 45, 343, 38, 38, 0);
        Fond(Son[i], kGrisClair);
        connect(Son[i], &RubanBouton::Click, this, [this](int index, bool value) {
            QuandClic(Son[index], [this, index, value] { Son_Click(index, value); });
        });
    }
    RubanBouton::Groupe({Son[0], Son[1]});
    for (RubanBouton* bouton : Son) MarqueFocus(bouton, kRetraitFocusBouton, kNoir);
    Son[0]->SetValue(true);

    Panneau1 = Panneau(this, "Score [A]", {87, 351, 86, 31}, kMoyenne);
    Fond(Panneau1, kGrisClair);
    Score[0] = Panneau(this, "0", {173, 351, 52, 31}, kGrande);
    Fond(Score[0], kJaune);

    CadreVent = Place(new Cadre3D("Force du Vent", this), 230, 340, 169, 43, kPetite);
    FlecheVent = Panneau(CadreVent, "", {12, 18, 146, 20}, kMoyenne);
    Fond(FlecheVent, kGrisClair);
    FlecheVent->SetAlignment(Alignement::GaucheCentre);
    Vent = Place(new Etiquette("0", CadreVent), 63, 1, 27, 19, kPetite);
    // The one label that takes input: the keyboard reaches it too.
    Vent->setFocusPolicy(Qt::StrongFocus);
    MarqueFocus(Vent, kRetraitFocusVent, kNoir);
    // The wind's strength sits on the frame's top edge, in the middle of the title.
    CadreVent->DegageTitre(Vent->x(), Vent->x() + Vent->width());
    Couleurs(Vent, kBlanc, kRouge);
    connect(Vent, &Etiquette::Click, this, [this] { QuandClic(Vent, [this] { Vent_Click(); }); });

    Gain = Panneau(this, "200 points", {261, 351, 113, 29}, kMoyenne);
    Fond(Gain, kJaune);
    Gain->setVisible(false);
    Nouveau = Place(new Bouton3D("Nouvelle Partie", this), 264, 350, 114, 31, kPetite);
    Nouveau->setVisible(false);
    MarqueFocus(Nouveau, kRetraitFocusBouton, kNoir);
    connect(Nouveau, &QPushButton::clicked, this,
            [this] { QuandClic(Nouveau, [this] { NouveauEtFocus(); }); });

    Score[1] = Panneau(this, "0", {406, 351, 52, 31}, kGrande);
    Couleurs(Score[1], kNoir, kVert);
    Panneau2 = Panneau(this, "Score [B]", {458, 351, 86, 31}, kMoyenne);
    Couleurs(Panneau2, kVertSombre, kGrisClair);
    Quitter = Place(new Bouton3D("Quitter", this), 559, 353, 72, 26, kMoyenne);
    Texte(Quitter, kRougeQuitter);
    MarqueFocus(Quitter, kRetraitFocusBouton, kNoir);
    connect(Quitter, &QPushButton::clicked, this,
            [this] { QuandClic(Quitter, [this] { Quitter_Click(); }); });

    CreeVisees();
}

// The lower row: both players' aiming frames, fire buttons, and the hits left.
void Form1::CreeVisees() {
    constexpr std::array<int, 2> kAngleGauche{1, 386};
    constexpr std::array<int, 2> kForceGauche{127, 512};
    constexpr std::array<int, 2> kFeuGauche{253, 339};
    constexpr std::array<Couleur, 2> kCouleurJoueur{kJaune, kVert};
    const std::array<QString, 2> lettre{"A", "B"};
    for (int i = 0; i < 2; ++i) {
        Frame1[i] = Place(new QGroupBox("Angle de Tir  [" + lettre[i] + "]", this), kAngleGauche[i],
                          384, 123, 43, kPetite);
        BHAngle[i] = Barre(Frame1[i], 89, kAngleMaxi, kAngleDepart);
        Angle[i] =
            Place(new Etiquette(TexteSimple(kAngleDepart), Frame1[i]), 96, 20, 23, 19, kPetite);
        Fond(Angle[i], kCouleurJoueur[i]);

        Frame2[i] = Place(new QGroupBox("Force de Tir  [" + lettre[i] + "]", this), kForceGauche[i],
                          384, 123, 43, kPetite);
        BHForce[i] = Barre(Frame2[i], 85, kForceMaxi, kForceDepart);
        Force[i] =
            Place(new Etiquette(TexteSimple(kForceDepart), Frame2[i]), 92, 20, 27, 19, kPetite);
        Fond(Force[i], kCouleurJoueur[i]);

        Feu[i] = Place(new BoutonCommande("Feu !", this), kFeuGauche[i], 392, 45, 35, kPetite);
        Feu[i]->setEnabled(i == 0);

        // Connected once the starting values are set, so that building runs no handler.
        connect(BHAngle[i], &QScrollBar::valueChanged, this,
                [this, i] { QuandReglage(BHAngle[i], [this, i] { BHAngle_Change(i); }); });
        connect(BHForce[i], &QScrollBar::valueChanged, this,
                [this, i] { QuandReglage(BHForce[i], [this, i] { BHForce_Change(i); }); });
        connect(Feu[i], &QPushButton::clicked, this,
                [this, i] { QuandClic(Feu[i], [this, i] { FeuEtFocus(i); }); });
    }
    CoupsRestants = Panneau(this, "10", {301, 392, 35, 34}, kGrande);
    Couleurs(CoupsRestants, kBlanc, kBleuSombre);
}

// The pictures the drawing copies from, and the work buffers that keep what lies under a sprite.
void Form1::ChargeImages() {
    constexpr int kLargeurChar = 90, kHauteurChar = 80;
    constexpr int kLargeurFeu = 68, kHauteurFeu = 64;
    constexpr int kCoteExplosion = 72;
    Murax = ChargeImage("murax", kLargeurChar, kHauteurChar);
    CharFoutu = ChargeImage("charfoutu", kLargeurChar, kHauteurChar);
    for (int i = 0; i < 2; ++i) {
        SMurax[i] = Image(kLargeurChar, kHauteurChar);
        TFeu[i] = ChargeImage(QString("tfeu%1").arg(i), kLargeurFeu, kHauteurFeu);
        Explosion[i] = ChargeImage(QString("explosion%1").arg(i), kCoteExplosion, kCoteExplosion);
    }
    PicCopyF = Image(kLargeurFeu, kHauteurFeu);
    PicCopy = Image(kCoteExplosion, kCoteExplosion);
    // The icon at its three drawn sizes, so the desktop never enlarges the smallest.
    QIcon icone;
    for (const auto& [nom, cote] : {std::pair{"icone", 32}, {"icone-64", 64}, {"icone-128", 128}}) {
        icone.addPixmap(QPixmap::fromImage(ChargeImage(nom, cote, cote).Picture()));
    }
    setWindowIcon(icone);
}

}  // namespace tir
