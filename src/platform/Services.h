// The services the game receives at construction, so that tests can replace them.
#pragma once

#include <QByteArray>
#include <QString>

namespace tir {

// Monotonic time in seconds since the program started.
class Horloge {
  public:
    virtual ~Horloge() = default;
    virtual double Maintenant() = 0;
    // Returns once Maintenant() is no longer below `echeance`. Sleeps meanwhile and lets the
    // window system's events through; the game window's input model holds the input for the
    // handler's end.
    virtual void AttendsJusqua(double echeance) = 0;
    // Lets the window system's events through once, without waiting.
    virtual void Respire() = 0;
};

// Uniform random numbers in [0, 1).
class Hasard {
  public:
    virtual ~Hasard() = default;
    virtual double Rnd() = 0;
    // Reseeds from the clock.
    virtual void Randomize() = 0;
};

// Plays a sound file asynchronously; a new sound cuts the one playing. Silent on any failure.
class Lecteur {
  public:
    virtual ~Lecteur() = default;
    // Tries `chemin` (the system's bytes) as given, then with ".wav" added.
    virtual void Joue(const QByteArray& chemin) = 0;
};

// The modal input dialog: buttons "OK" and "Annuler"; the empty text on cancel.
class Saisie {
  public:
    virtual ~Saisie() = default;
    virtual QString InputBox(const QString& titre, const QString& invite,
                             const QString& defaut) = 0;
};

// The folder that holds the program's executable (not the working directory), without a
// trailing separator, as the system's bytes: a folder whose name is not UTF-8 stays usable.
class Dossier {
  public:
    virtual ~Dossier() = default;
    virtual QByteArray Chemin() = 0;
    // The folders of the sounds and of "Tir.ini": the program's folder, unless the build placed
    // them elsewhere (an installation for the whole machine).
    virtual QByteArray Sons() { return Chemin(); }
    virtual QByteArray Record() { return Chemin(); }
    // The program that writes a record shared by every player of the machine, which the game
    // may read but not write; empty when the game writes its record itself.
    virtual QByteArray Gardien() { return {}; }
};

struct Services {
    Horloge& horloge;
    Hasard& hasard;
    Lecteur& lecteur;
    Saisie& saisie;
    Dossier& dossier;
};

}  // namespace tir
