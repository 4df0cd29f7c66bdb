// The real services: monotonic clock, seeded generator, SDL2 sound, Qt dialog, program folder.
#pragma once

#include <memory>
#include <random>

#include "platform/Services.h"

namespace tir {

class HorlogeReelle : public Horloge {
  public:
    HorlogeReelle();
    double Maintenant() override;
    void AttendsJusqua(double echeance) override;
    void Respire() override;

  private:
    long long origine_;  // steady_clock ticks at construction
};

class HasardReel : public Hasard {
  public:
    HasardReel();
    double Rnd() override;
    void Randomize() override;  // time of day and a high-resolution counter

  private:
    std::mt19937_64 generateur_;
};

// Opens the audio device at the first sound, on a thread of its own that also reads the waves:
// Joue only hands the name over. With no device at all it stays silent.
class LecteurSdl : public Lecteur {
  public:
    LecteurSdl();
    ~LecteurSdl() override;
    void Joue(const QByteArray& chemin) override;
    // Returns true once every sound asked for has been started or refused, false if that takes
    // longer than `secondes` (the device is still opening). For measures and tests.
    bool Attends(double secondes);

  private:
    struct Etat;
    std::shared_ptr<Etat> etat_;  // shared with the player's thread, which may outlive it
};

class SaisieQt : public Saisie {
  public:
    QString InputBox(const QString& titre, const QString& invite, const QString& defaut) override;
};

// The program's folder, and the places the build fixed for the sounds and the record.
class DossierProgramme : public Dossier {
  public:
    QByteArray Chemin() override;
    QByteArray Sons() override;
    QByteArray Record() override;
    QByteArray Gardien() override;
};

}  // namespace tir
