// Test replacements for the game's services: a clock that advances by itself, scripted random
// numbers, a sound player and an input dialog that record what they are asked, a folder of the
// test's own.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <random>
#include <vector>

#include "platform/Services.h"

namespace tir::test {

// Advances by `pas` seconds at every read; waiting jumps to the deadline. A test may look at the
// game at each read (once per flight frame) and each wait (between the frames of the flight, the
// shell on the display, and of the animations).
class FausseHorloge : public Horloge {
  public:
    double maintenant = 1000.0;
    double pas = 0.001;
    int attentes = 0;
    int lectures = 0;
    std::function<void()> aChaqueLecture;
    std::function<void()> aChaqueAttente;
    double Maintenant() override {
        ++lectures;
        if (aChaqueLecture) aChaqueLecture();
        const double t = maintenant;
        maintenant += pas;
        return t;
    }
    void AttendsJusqua(double echeance) override {
        if (aChaqueAttente) aChaqueAttente();
        ++attentes;
        if (maintenant < echeance) maintenant = echeance;
    }
    void Respire() override {}
};

// Hands out the scripted values first, then values of a fixed-seed generator.
class FauxHasard : public Hasard {
  public:
    std::deque<double> valeurs;
    int reamorcages = 0;
    std::mt19937_64 generateur{12345};
    double Rnd() override {
        if (!valeurs.empty()) {
            const double v = valeurs.front();
            valeurs.pop_front();
            return v;
        }
        return std::uniform_real_distribution<double>(0.0, 1.0)(generateur);
    }
    void Randomize() override { ++reamorcages; }
};

class FauxLecteur : public Lecteur {
  public:
    QStringList joues;
    void Joue(const QByteArray& chemin) override { joues << QString::fromUtf8(chemin); }
};

// Answers with the scripted texts in order (empty when none is left) and records each call.
class FausseSaisie : public Saisie {
  public:
    struct Appel {
        QString titre, invite, defaut;
    };
    std::deque<QString> reponses;
    std::vector<Appel> appels;
    QString InputBox(const QString& titre, const QString& invite, const QString& defaut) override {
        appels.push_back({titre, invite, defaut});
        if (reponses.empty()) return {};
        QString r = reponses.front();
        reponses.pop_front();
        return r;
    }
};

// A fresh temporary folder; counts how often the game asks for it.
class FauxDossier : public Dossier {
  public:
    QTemporaryDir dossier;
    int consultations = 0;
    QByteArray Chemin() override {
        ++consultations;
        return QFile::encodeName(dossier.path());
    }
    QByteArray gardien;  // the record's keeper, when the test gives one
    QByteArray Gardien() override { return gardien; }
};

}  // namespace tir::test
