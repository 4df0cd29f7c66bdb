// The shot: launch, recoil and the flight of the shell until it meets something that is not sky.
#include "platform/Gdi.h"
#include "shot/Coup.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr int kRecul = 10;  // the cannon jumps this far outwards at the launch
constexpr Teinte kCouleurObus = Teinte::RougeSombre;

// The hourglass over the game window for the whole shot, the arrow again however the shot ends.
// The window's own pointer: the record dialog keeps its usual ones.
class Sablier {
  public:
    explicit Sablier(QWidget& fenetre) : fenetre_(fenetre) { fenetre_.setCursor(Qt::WaitCursor); }
    ~Sablier() { fenetre_.unsetCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;

  private:
    QWidget& fenetre_;
};

// The flight. Once per screen refresh it tests the path since the previous frame, shows the
// shell at the last place tested and sleeps. Ends at an impact (explosion, hit test and end of
// the shot follow) or, silently, once the shell has got below height 0 between two tests.
void Vole(Form1& f) {
    Horloge& horloge = f.services.horloge;
    const double intervalle = f.Dessin->IntervalleImage();
    const Terrain terrain = f.TerrainDuCoup();
    Vol vol(terrain, Visee{f.Joueur, f.AngleRad, f.Puissance, f.ForceVent}, f.Depart);
    bool canonRemis = false;
    // After the passes up to an instant: the shell's place in the game state, and the cannon
    // back at its rest place once the 17th pass has put it there.
    const auto suit = [&](Issue issue) {
        f.Temps = vol.Temps();
        f.XObus = vol.X();
        f.YObus = vol.Y();
        if (vol.CanonRemis() && !canonRemis) {
            canonRemis = true;
            f.Dessin->SetAutoRedraw(true);
            f.PoseCanon(f.Joueur, 0);
            f.Dessin->SetAutoRedraw(false);
            f.Dessin->Refresh();
        }
        return issue;
    };
    // The path is tested from the launch itself: a machine that stalls before the first frame
    // must not let the shell skip the start of its path.
    double avant = f.Depart;
    double echeance = avant;
    Issue issue = suit(vol.Passe(avant));
    while (issue == Issue::EnVol) {
        // The display shows the shell until the Refresh that follows the wait: the screen sees
        // it once, and the colour tests never read it.
        if (f.YObus < f.Hauteur) f.Dessin->PSet(f.XObus, f.YObus, QBColor(kCouleurObus));
        f.Dessin->Montre();
        echeance += intervalle;
        horloge.AttendsJusqua(echeance);
        f.Dessin->Refresh();
        const double maintenant = horloge.Maintenant();
        // More than a frame late (a busy machine): the frames start again from now.
        if (maintenant - echeance > intervalle) echeance = maintenant;
        issue = suit(vol.Trajet(avant, maintenant));
        avant = maintenant;
    }
    if (issue != Issue::Disparu) {
        f.JoueSon(Son::Explosion);
        f.Explose();
    }
}

}  // namespace

// Copies the snapshot of `joueur`'s cannon onto the field `recul` pixels outwards from its rest
// place, into whichever image persistent drawing selects.
void Form1::PoseCanon(int joueur, int recul) {
    const QRect r = RectCanon(joueur, recul);
    BitBlt(Dessin->hDC(), r.left(), r.top(), r.width(), r.height(), SMurax[joueur].hDC(), 0, 0,
           Rop::SrcCopy);
}

// Fires one shell for the player whose turn it is; the index of the button is not needed.
// Changes NbEssais, AngleRad, Puissance, Depart, Temps, XObus, YObus.
void Form1::Feu_Click(int /*index*/) {
    const Sablier sablier(*this);
    NbEssais[Joueur] = AjouteSature(NbEssais[Joueur], 1);
    AngleRad = EnRadians(Val(Angle[Joueur]->Caption()));
    Puissance = static_cast<std::int16_t>(Arrondi(Val(Force[Joueur]->Caption())));
    YObus = YBouche[Joueur];
    Depart = services.horloge.Maintenant();
    // Recoil: the display shows the cannon pushed outwards until the shell is clear of it.
    Dessin->SetAutoRedraw(true);
    PoseCanon(Joueur, kRecul);
    Dessin->SetAutoRedraw(false);
    JoueSon(Joueur == 0 ? Son::Trnmurax : Son::Photon);
    Vole(*this);
}

}  // namespace tir
