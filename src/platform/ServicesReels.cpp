// The real services: monotonic clock, seeded generator, Qt dialog, program folder.
#include "platform/ServicesReels.h"

#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLabel>
#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <thread>

#include "Emplacements.h"

namespace tir {

namespace {

using Chrono = std::chrono::steady_clock;
// Short slices keep a wait within a couple of milliseconds of its deadline while the window
// system's events still get through.
constexpr std::chrono::duration<double> kTrancheMaxi = std::chrono::milliseconds(2);
constexpr int kBitsMantisse = 53;
constexpr int kBitsGenerateur = 64;

}  // namespace

HorlogeReelle::HorlogeReelle() : origine_(Chrono::now().time_since_epoch().count()) {}

double HorlogeReelle::Maintenant() {
    const Chrono::duration ecoule(Chrono::now().time_since_epoch().count() - origine_);
    return std::chrono::duration<double>(ecoule).count();
}

void HorlogeReelle::AttendsJusqua(double echeance) {
    for (;;) {
        const double reste = echeance - Maintenant();
        if (reste <= 0.0) return;
        std::this_thread::sleep_for(std::min(kTrancheMaxi, std::chrono::duration<double>(reste)));
        Respire();
    }
}

void HorlogeReelle::Respire() {
    // Input too: the game window's input model holds it for the end of the handler. Left in
    // Qt's queue it would be aimed only when finally handled, and dropped if a dialog opens.
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

HasardReel::HasardReel() {
    Randomize();
}

double HasardReel::Rnd() {
    // The top 53 bits as a fraction: uniform, and never 1.
    return static_cast<double>(generateur_() >> (kBitsGenerateur - kBitsMantisse)) *
           (1.0 / static_cast<double>(1ULL << kBitsMantisse));
}

void HasardReel::Randomize() {
    const auto jour = std::chrono::system_clock::now().time_since_epoch().count();
    const auto compteur = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq graine{static_cast<unsigned>(jour), static_cast<unsigned>(jour >> 32),
                         static_cast<unsigned>(compteur), static_cast<unsigned>(compteur >> 32)};
    generateur_.seed(graine);
}

QString SaisieQt::InputBox(const QString& titre, const QString& invite, const QString& defaut) {
    // Input made for the window under the dialog up to now reaches that window's input model:
    // once the dialog is open, Qt refuses it.
    QCoreApplication::processEvents();
    QInputDialog dialogue(QApplication::activeWindow());
    dialogue.setWindowTitle(titre);
    dialogue.setInputMode(QInputDialog::TextInput);
    // The game separates its lines with CR LF; the label wants plain line feeds.
    dialogue.setLabelText(QString(invite).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The prompt holds the record holder's name as read from "Tir.ini": a name that looks like
    // markup is shown as typed, never styled.
    if (auto* etiquette = dialogue.findChild<QLabel*>()) etiquette->setTextFormat(Qt::PlainText);
    dialogue.setTextValue(defaut);
    dialogue.setOkButtonText(QStringLiteral("OK"));
    dialogue.setCancelButtonText(QStringLiteral("Annuler"));
    if (dialogue.exec() != QDialog::Accepted) return {};
    return dialogue.textValue();
}

// The folder of the running program as the system names it in /proc/self/exe, its bytes as they
// are: Qt would decode a name that is not UTF-8 (an old archive unpacked with Latin-1 names) into
// another path. Empty when the folder cannot be used: the path cannot be read, or the program was
// started through the dynamic loader ("ld.so tir-au-murax"), when the system names the loader as
// the running program, whose folder is a library folder. The record is then not kept and the game
// is silent; nothing is read or written at the root either.
QByteArray DossierProgramme::Chemin() {
    std::array<char, PATH_MAX> tampon{};
    const ssize_t n = readlink("/proc/self/exe", tampon.data(), tampon.size());
    if (n <= 0 || n >= static_cast<ssize_t>(tampon.size()) || tampon[0] != '/') return {};
    const QByteArray programme(tampon.data(), n);
    const auto* lance = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
    struct stat demande {
    }, vu{};
    if (lance && (stat(lance, &demande) != 0 || stat("/proc/self/exe", &vu) != 0 ||
                  demande.st_dev != vu.st_dev || demande.st_ino != vu.st_ino)) {
        return {};
    }
    return programme.left(programme.lastIndexOf('/'));
}

QByteArray DossierProgramme::Sons() {
    return *kDossierSons ? QByteArray(kDossierSons) : Chemin();
}

QByteArray DossierProgramme::Record() {
    return *kDossierRecord ? QByteArray(kDossierRecord) : Chemin();
}

QByteArray DossierProgramme::Gardien() {
    return kGardien;
}

}  // namespace tir
