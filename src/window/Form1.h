// The game window: its controls, the game state, and every procedure of the game.
//
// Each block of procedures lives in its own folder; the state each one touches is named in its
// comment. Controls carry the names of the layout; per-player controls are arrays of two.
#pragma once

#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Image.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "sound/Sons.h"
#include "window/BarreVisee.h"
#include "window/Controles3D.h"
#include "window/Entrees.h"
#include "window/Options.h"

class QGroupBox;
class QPushButton;
class QScrollBar;

namespace tir {

struct Terrain;
struct Vue;
struct Choix;
class Cerveau;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Services services, QWidget* parent = nullptr, Options options = {});
    ~Form1() override;

    // ---- Controls (layout in window/Disposition.cpp) ----
    PictureBox* Dessin = nullptr;
    std::array<RubanBouton*, 2> Son{};
    Panneau3D* Panneau1 = nullptr;
    std::array<Panneau3D*, 2> Score{};
    Cadre3D* CadreVent = nullptr;
    Panneau3D* FlecheVent = nullptr;
    Etiquette* Vent = nullptr;
    Panneau3D* Gain = nullptr;
    Bouton3D* Nouveau = nullptr;
    Panneau3D* Panneau2 = nullptr;
    Bouton3D* Quitter = nullptr;
    std::array<QGroupBox*, 2> Frame1{};
    std::array<QScrollBar*, 2> BHAngle{};
    std::array<Etiquette*, 2> Angle{};
    std::array<QGroupBox*, 2> Frame2{};
    std::array<QScrollBar*, 2> BHForce{};
    std::array<Etiquette*, 2> Force{};
    // The aim a new game starts from.
    static constexpr int kAngleDepart = 45;
    static constexpr int kForceDepart = 50;
    std::array<QPushButton*, 2> Feu{};
    Panneau3D* CoupsRestants = nullptr;

    // Hidden pictures and work buffers.
    Image Murax;                     // intact cannon, 90 x 80, cyan around
    Image CharFoutu;                 // wrecked cannon, 90 x 80, cyan around
    std::array<Image, 2> SMurax;     // per player, snapshot of the cannon's rectangle
    std::array<Image, 2> TFeu;       // flames: 0 mask, 1 picture, 68 x 64
    Image PicCopyF;                  // field under the flames
    std::array<Image, 2> Explosion;  // explosion: 0 mask, 1 picture, 72 x 72
    Image PicCopy;                   // field under the explosion

    // ---- Game state ----
    // Set once at start-up.
    double Pi = 0;
    std::int16_t Largeur = 0;  // field width in pixels
    std::int16_t Hauteur = 0;  // field height in pixels
    QByteArray FichierIni;     // full path of "Tir.ini", as the system's bytes
    QString RetourLigne;       // CR LF
    bool SonActif = false;     // sound effects on
    // Through a game.
    std::int16_t NbCoups = 0;                // hits still to score
    std::int16_t Joueur = 0;                 // 0 = A (left), 1 = B (right)
    std::array<std::int16_t, 3> Scores{};    // per player
    std::array<std::int16_t, 3> NbEssais{};  // per player, shots since the last landscape
    // Through a landscape.
    std::array<std::int16_t, 17> Palette{};      // pool of layer colours, 1 to 7 used
    std::array<float, 3> NiveauCouche{};         // per end, level of the layer being drawn
    std::array<float, 3> NiveauSol{};            // per end, ground level under each cannon
    std::array<double, 3> XAxe{}, YAxe{};        // per player, pivot of the barrel
    std::array<double, 3> XBouche{}, YBouche{};  // per player, muzzle
    double AngleRad = 0;                         // scratch angle in radians
    std::int16_t ForceVent = 0;                  // wind, -10 to 9, positive to the right
    // Through a shot.
    std::int16_t Puissance = 0;   // firing force
    double Depart = 0;            // monotonic clock at launch (kept in double: see DESIGN)
    float Temps = 0;              // flight time, five units per second
    double XObus = 0, YObus = 0;  // shell, then impact point

    // ---- window/: start-up, new game, quit, sound switch ----
    void Form_Load();
    void Form_Activate();
    void InitPartie();
    void Nouveau_Click();
    void Quitter_Click();
    void Son_Click(int index, bool value);

    // ---- sound/: the rule every sound follows (called from window/Form1.cpp) ----
    void JoueSon(tir::Son son);

    // ---- battlefield/: landscape, cannons, aiming ----
    void DessinePaysage();
    void CalculeMurax(int index);
    void BHAngle_Change(int index);
    void BHForce_Change(int index);
    // battlefield/Geometrie.cpp: where things stand, in device pixels.
    QRect RectCanon(int joueur, int recul = 0) const;  // recoiled `recul` pixels outwards
    Terrain TerrainDuCoup() const;                     // what a shot reads of the field
    QRect BoiteFlammes(int cote) const;
    QRect BoiteExplosion(int k) const;  // k x k, centred on the shell
    double EnRadians(double degres) const;

    // ---- shot/: wind, flight, explosion ----
    void Vent_Click();
    void Feu_Click(int index);
    void PoseCanon(int joueur, int recul);  // the snapshot back on the field, recoiled or not
    void Explose();

    // ---- scoring/: cannon hit, end of shot, record ----
    void ToucheGauche();
    void ToucheDroite();
    void FinDuCoup();
    void VerifieScoreMaxi(int w);

    // ---- opponent/: the computer opponent, on the sides the options give it ----
    void PrepareOrdinateur();        // its bars and button are its own; its panel says so
    void AppelleOrdinateur();        // after the turn passed: the computer's turn comes next
    void TourOrdinateur();           // aims with its bars step by step, then fires
    bool OrdinateurAuTrait() const;  // the computer has the turn in a window still there
    Vue VueOrdinateur(int j) const;  // what it sees of the game, for side j
    bool MeneLesBarres(int j, const Choix& choix);

    Services services;
    Options options;  // what the command line asked for beyond the two-player window

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class Gestionnaire;
    friend class Entrees;
    void CreeControles();                          // window/Disposition.cpp
    void CreeVisees();                             // window/Disposition.cpp
    void NommeControles();                         // window/Accessibilite.cpp
    void PoseBulles();                             // window/Bulles.cpp
    void OrdonneTabulation();                      // window/Accessibilite.cpp
    void FeuEtFocus(int index);                    // window/Accessibilite.cpp
    void NouveauEtFocus();                         // window/Accessibilite.cpp
    QScrollBar* AngleAuClavier(int joueur) const;  // window/Accessibilite.cpp
    void DessineCouche(int i);                     // battlefield/Paysage.cpp
    void PrendsInstantane(int index);              // battlefield/Murax.cpp
    void ChargeImages();                           // window/Disposition.cpp
    // With --traces: after `joueur`'s shot, a cross where his shell landed, unless the shot
    // drew a new field (window/Traces.cpp). `champ` is the field's count before the shot.
    void MarqueLaTrace(int joueur, int champ);

    // ---- The input model (window/Entrees.cpp, window/Form1.cpp) ----
    // A handler runs to its end; its waits let the window system through, so that the window
    // repaints, but every click, key, wheel notch or screen reader's action aimed at this
    // window meanwhile is taken by the model's event filter, kept with the control it was aimed
    // at and whether that control could take it (enabled and visible) when it was made, and
    // replayed once the last handler has ended, in the order made. It counts only if its control
    // could take it both then and at its turn. A press on a fire button made during a handler is
    // dropped: a shot is fired only between shots, for either player. Tab and a click move the
    // focus at once, so that the keys that follow go where the player sees the focus. The
    // record dialog is a window of its own and takes its input as usual; what was held is
    // replayed once it is answered. A close asked during a handler is carried out once it ends
    // (after the dialog, so the record is kept) and the held input is then dropped.
    // QuandClic runs a control's handler under a Gestionnaire, or holds it while one runs;
    // QuandReglage does the same for a bar's new value, but runs at once a value the game sets.
    void QuandClic(QWidget* controle, const std::function<void()>& gestionnaire);
    void QuandReglage(QWidget* barre, const std::function<void()>& gestionnaire);

    Entrees* entrees_ = nullptr;
    std::array<std::shared_ptr<Cerveau>, 2> cerveaux_;  // the computer's, per side it plays
    bool ordinateurJoue_ = false;                       // its turn is running
    bool reglageParLeJeu_ = false;                      // the game itself is setting the bars
    bool activee_ = false;
};

// Runs for the length of a handler: the input model holds the window's input meanwhile, and at
// the end of the last one carries out a close asked meanwhile or replays what it held.
class Gestionnaire {
  public:
    explicit Gestionnaire(Form1& form);
    ~Gestionnaire();
    Gestionnaire(const Gestionnaire&) = delete;
    Gestionnaire& operator=(const Gestionnaire&) = delete;

  private:
    Form1& form_;
};

}  // namespace tir
