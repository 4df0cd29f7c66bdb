// The seven sound files: names, format, length, loudness, clean ends, and no two alike.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Assets.h"
#include "Sonie.h"

using namespace tests_assets;

namespace {

struct Attendu {
    const char* nom;
    double dureeMini;
    double dureeMaxi;
};

// The game's sound catalogue, with the length each moment calls for.
const std::vector<Attendu>& Catalogue() {
    static const std::vector<Attendu> catalogue{
        {"Murax-déplacé.wav", 0.2, 0.5}, {"Trnmurax.wav", 0.4, 0.8}, {"Photon.wav", 0.4, 0.8},
        {"Explosion.wav", 0.9, 1.5},     {"Flammes.wav", 2.5, 3.5},  {"YouWin.wav", 2.0, 3.0},
        {"Hallelu1.wav", 1.5, 2.5}};
    return catalogue;
}

constexpr double kPleineEchelle = 32768.0;

double Crete(const Wav& w) {
    int c = 0;
    for (std::int16_t s : w.echantillons) c = std::max(c, std::abs(static_cast<int>(s)));
    return c / kPleineEchelle;
}

// How alike two sounds are over their common length: 1 for the same wave, near 0 for unrelated.
double Ressemblance(const Wav& a, const Wav& b) {
    const std::size_t n = std::min(a.echantillons.size(), b.echantillons.size());
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ab += double(a.echantillons[i]) * b.echantillons[i];
        aa += double(a.echantillons[i]) * a.echantillons[i];
        bb += double(b.echantillons[i]) * b.echantillons[i];
    }
    return aa > 0 && bb > 0 ? std::abs(ab) / std::sqrt(aa * bb) : 1.0;
}

}  // namespace

TEST(Sons, EverySoundOfTheCatalogueIsA16BitMonoPcmWaveOfItsLength) {
    // Guards against a missing or misnamed file (the game plays by name, accent included) and
    // against a format the game's player would have to guess at.
    for (const Attendu& a : Catalogue()) {
        const QString nom = QString::fromUtf8(a.nom);
        ASSERT_TRUE(QDir(DossierSons()).entryList(QDir::Files).contains(nom)) << a.nom;
        const Wav w = LitWav(DossierSons() + nom);
        ASSERT_TRUE(w.lisible) << a.nom;
        EXPECT_EQ(w.format, 1) << a.nom;
        EXPECT_EQ(w.voies, 1) << a.nom;
        EXPECT_EQ(w.frequence, 22050) << a.nom;
        EXPECT_EQ(w.bits, 16) << a.nom;
        EXPECT_GE(w.duree(), a.dureeMini) << a.nom;
        EXPECT_LE(w.duree(), a.dureeMaxi) << a.nom;
    }
}

TEST(Sons, EverySoundHasTheCommonLoudnessHeadroomAndSilentEnds) {
    // Guards against one sound drowning the others (the turning buzz, heard at every step, was
    // the loudest), a silent or clipped sound, an explosion without body, and clicks from a
    // sound that starts or stops abruptly.
    constexpr double kSilence = 0.005;
    std::vector<double> sonies;
    for (const Attendu& a : Catalogue()) {
        const Wav w = LitWav(DossierSons() + QString::fromUtf8(a.nom));
        ASSERT_FALSE(w.echantillons.empty()) << a.nom;
        const std::vector<double> son(w.echantillons.begin(), w.echantillons.end());
        std::vector<double> normalise(son.size());
        std::transform(son.begin(), son.end(), normalise.begin(),
                       [](double v) { return v / kPleineEchelle; });
        sonies.push_back(fabrique::Sonie(normalise, w.frequence));
        EXPECT_NEAR(sonies.back(), -20.0, 1.0) << a.nom;
        EXPECT_LE(20 * std::log10(std::max(Crete(w), 1e-9)), -1.0) << a.nom;
        EXPECT_LT(std::abs(w.echantillons.front()) / kPleineEchelle, kSilence) << a.nom;
        EXPECT_LT(std::abs(w.echantillons.back()) / kPleineEchelle, kSilence) << a.nom;
    }
    EXPECT_LE(sonies[0], *std::min_element(sonies.begin() + 1, sonies.end()) + 0.5)
        << "the turning buzz is louder than another sound";
    // The explosion's body: the time its level stays within 15 dB of its loudest 50 ms.
    const Wav explosion = LitWav(DossierSons() + "Explosion.wav");
    const std::size_t fenetre = explosion.frequence / 20;
    std::vector<double> niveaux;
    for (std::size_t i = 0; i + fenetre <= explosion.echantillons.size(); i += fenetre) {
        double e = 0;
        for (std::size_t j = i; j < i + fenetre; ++j)
            e += double(explosion.echantillons[j]) * explosion.echantillons[j];
        niveaux.push_back(e);
    }
    const double plusFort = *std::max_element(niveaux.begin(), niveaux.end());
    const auto corps = std::count_if(niveaux.begin(), niveaux.end(),
                                     [&](double e) { return e > plusFort * std::pow(10, -1.5); });
    EXPECT_NEAR(static_cast<double>(corps) / 20, 1.0, 0.2);
}

TEST(Sons, NoTwoSoundsAreAlike) {
    // Guards against one sound copied under two names: every moment must be told by ear.
    constexpr double kTropSemblables = 0.5;
    std::vector<Wav> sons;
    for (const Attendu& a : Catalogue())
        sons.push_back(LitWav(DossierSons() + QString::fromUtf8(a.nom)));
    for (std::size_t i = 0; i < sons.size(); ++i) {
        for (std::size_t j = i + 1; j < sons.size(); ++j) {
            EXPECT_LT(Ressemblance(sons[i], sons[j]), kTropSemblables)
                << Catalogue()[i].nom << " and " << Catalogue()[j].nom;
        }
    }
}

TEST(Sons, TheGamesSoundLibraryReadsEveryFileAsWritten) {
    // Guards against a wave header that only our own reader accepts: the game's player loads the
    // files with SDL, which must find the same format and the same number of samples.
    for (const Attendu& a : Catalogue()) {
        const QString chemin = DossierSons() + QString::fromUtf8(a.nom);
        SDL_AudioSpec spec{};
        Uint8* donnees = nullptr;
        Uint32 octets = 0;
        ASSERT_NE(SDL_LoadWAV(QFile::encodeName(chemin).constData(), &spec, &donnees, &octets),
                  nullptr)
            << a.nom << ": " << SDL_GetError();
        SDL_FreeWAV(donnees);
        EXPECT_EQ(spec.freq, 22050) << a.nom;
        EXPECT_EQ(spec.channels, 1) << a.nom;
        EXPECT_EQ(spec.format, AUDIO_S16LSB) << a.nom;
        EXPECT_EQ(octets / 2, LitWav(chemin).echantillons.size()) << a.nom;
    }
}

TEST(Sons, TheBuildPutsEverySoundBesideTheGame) {
    // Guards against sounds that stay in the source tree: the game looks in its own folder.
    for (const Attendu& a : Catalogue()) {
        QFile copie(QStringLiteral(TIR_BINARY_DIR "/") + QString::fromUtf8(a.nom));
        QFile source(DossierSons() + QString::fromUtf8(a.nom));
        ASSERT_TRUE(copie.open(QIODevice::ReadOnly)) << a.nom;
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << a.nom;
        EXPECT_EQ(copie.readAll(), source.readAll()) << a.nom;
    }
}

TEST(Outil, RegeneratesTheCommittedAssetsExactly) {
    // Guards against assets that drifted from the program that makes them: one command must
    // give back exactly what is committed, every picture pixel for pixel and every sound byte
    // for byte, and nothing else.
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const int code =
        QProcess::execute(QStringLiteral(TIR_BINARY_DIR "/fabrique-assets"), {dossier.path()});
    ASSERT_EQ(code, 0);
    const QDir images(DossierImages());
    const QDir neuves(dossier.filePath("images"));
    ASSERT_EQ(neuves.entryList(QDir::Files), images.entryList(QDir::Files));
    for (const QString& nom : images.entryList(QDir::Files)) {
        EXPECT_EQ(QImage(neuves.filePath(nom)).convertToFormat(QImage::Format_RGB32),
                  QImage(images.filePath(nom)).convertToFormat(QImage::Format_RGB32))
            << nom.toStdString();
    }
    const QDir sons(DossierSons());
    const QDir nouveaux(dossier.filePath("sons"));
    ASSERT_EQ(nouveaux.entryList(QDir::Files), sons.entryList(QDir::Files));
    for (const QString& nom : sons.entryList(QDir::Files)) {
        QFile a(nouveaux.filePath(nom));
        QFile b(sons.filePath(nom));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << nom.toStdString();
    }
}
