// The input model: what becomes of a click, a key, a wheel notch, a screen reader's action or a
// close that comes while a handler runs. Form1.h sums it up for the whole window.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "window/BarreVisee.h"

class QEvent;
class QMouseEvent;
class QWidget;

namespace tir {

class Form1;

// Held input is replayed a screen refresh at a time, and input that comes meanwhile waits behind
// it. Steps of an aiming bar fold into one piece per bar, with the value the steps one by one
// would give; what cannot fold is capped at what a hand can make.
class Entrees : public QObject {
    Q_OBJECT
  public:
    // Watches the input of `form`'s window, from the application's event filter.
    explicit Entrees(Form1& form);
    ~Entrees() override;
    Entrees(const Entrees&) = delete;
    Entrees& operator=(const Entrees&) = delete;

    // A handler starts; handlers nest, as a replayed click may run one inside a wait.
    void Commence();
    // A handler ends. After the last one, a close asked meanwhile is carried out, or else the
    // input held meanwhile is replayed, from the event loop.
    void Termine();
    bool EnCours() const { return enCours_ > 0; }
    // Held input waiting for its turn (tests measure a flood with it).
    std::size_t Retenues() const { return retenues_.size(); }
    // The player moved the focus (Tab, a click) during the handlers running now.
    bool FocusDeplace() const { return focusDeplace_; }

    // An action of `controle` that came otherwise than by input (a screen reader's press fires
    // through a timer, its new bar value comes through the session bus) while a handler runs:
    // held with the input, in order, and run by `form`'s QuandClic at its turn.
    void Retiens(QWidget* controle, std::function<void()> action);
    // A close asked while a handler runs.
    void RetiensFermeture() { fermeture_ = true; }

  protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

  private:
    // One piece of held input: an event for its target, an action of a control, or the steps
    // of an aiming bar folded into one.
    struct Retenue {
        QPointer<QWidget> cible;
        bool pouvait = false;  // the target could take it when it was made
        std::unique_ptr<QEvent> evenement;
        std::function<void()> action;
        std::optional<Reglage> reglage;
    };

    bool FiltreSouris(QEvent* evenement);
    bool FiltreGlisse(const QMouseEvent& mouvement);
    bool Filtre(QWidget* cible, const QEvent& evenement);
    void DonneLeFocus(QWidget* cible);
    bool EstUnFeu(const QWidget* controle) const;
    bool Garde(QWidget* cible, const QEvent& evenement);
    void Replie(BarreVisee* barre, const Reglage& reglage);
    void RelacheLesBoutons();
    void PrevoisRejeu();
    void Rejoue();
    void Livre(const Retenue& retenue);

    Form1& form_;
    int enCours_ = 0;
    bool fermeture_ = false;
    bool focusDeplace_ = false;
    bool rejoue_ = false;      // a held piece is being handed to its control
    bool rejeuPrevu_ = false;  // a replay waits in the event loop
    std::deque<Retenue> retenues_;
    std::size_t brutes_ = 0;  // pieces held as they came, the bars' folded steps aside
    // Mouse buttons and keys whose press came during the handler, with whether it was held or
    // dropped (and the button's control). Their release follows the press; any other release
    // goes through, since its press reached the control before the handler began.
    struct Appui {
        QPointer<QWidget> cible;
        bool garde = false;
        QPointF ici, ecran;  // where the pointer last was, in the control and on the screen
    };
    std::map<int, Appui> boutons_;
    std::map<int, bool> touches_;
};

}  // namespace tir
