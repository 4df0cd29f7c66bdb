// The sound player: SDL2's audio subsystem, one sound at a time, silent on every failure.
#include <SDL.h>
#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/ServicesReels.h"

namespace tir {

namespace {

// The device is opened in the format of the game's own waves (22,050 Hz, 16-bit, mono), so they
// are kept as read: 450 KB for all seven. Converted to CD-quality stereo they would take eight
// times that, and the first play of a long one (the flames, the fanfare) would add a megabyte
// for good in the middle of a game. SDL fits this format to the sound card on its audio thread,
// with buffers of a fixed size.
constexpr int kFrequence = 22050;
constexpr Uint8 kCanaux = 1;
constexpr Uint16 kEchantillonsParTampon = 512;  // 23 ms
const char* const kExtension = ".wav";
// No sound of the game comes near this (47 s of CD-quality stereo): a larger file is refused
// before it is read, as reading and converting it would hold the game up for seconds.
constexpr qint64 kTailleMaxi = 8LL * 1024 * 1024;

// SDL2 is loaded at the first sound, not at start-up: it brings some thirty libraries (sound
// servers, codecs) that would otherwise slow every start and take memory while nothing plays.
struct Sdl {
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice = nullptr;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice = nullptr;
    decltype(&::SDL_RWFromFile) RWFromFile = nullptr;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::SDL_FreeWAV) FreeWAV = nullptr;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&::SDL_ConvertAudio) ConvertAudio = nullptr;

    // Loads the library and every function the player uses; false when any is missing.
    bool Charge() {
        void* bibliotheque = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!bibliotheque) return false;
        bool complet = true;
        const auto trouve = [&](auto& fonction, const char* nom) {
            fonction = reinterpret_cast<std::remove_reference_t<decltype(fonction)>>(
                dlsym(bibliotheque, nom));
            complet = complet && fonction != nullptr;
        };
        trouve(InitSubSystem, "SDL_InitSubSystem");
        trouve(QuitSubSystem, "SDL_QuitSubSystem");
        trouve(OpenAudioDevice, "SDL_OpenAudioDevice");
        trouve(CloseAudioDevice, "SDL_CloseAudioDevice");
        trouve(PauseAudioDevice, "SDL_PauseAudioDevice");
        trouve(LockAudioDevice, "SDL_LockAudioDevice");
        trouve(UnlockAudioDevice, "SDL_UnlockAudioDevice");
        trouve(RWFromFile, "SDL_RWFromFile");
        trouve(LoadWAV_RW, "SDL_LoadWAV_RW");
        trouve(FreeWAV, "SDL_FreeWAV");
        trouve(BuildAudioCVT, "SDL_BuildAudioCVT");
        trouve(ConvertAudio, "SDL_ConvertAudio");
        return complet;
    }
};

}  // namespace

// One sound ready for the device: SDL's own buffer when the wave is already in the device's
// format, as the game's waves are (no copy is made), a converted copy otherwise.
struct Son {
    std::unique_ptr<Uint8, void (*)(Uint8*)> lu{nullptr, nullptr};
    std::vector<Uint8> converti;
    std::size_t taille = 0;

    const Uint8* Donnees() const { return lu ? lu.get() : converti.data(); }
};

// Lives on the game's thread; the audio thread reads `son` and `position` under the device lock.
struct LecteurSdl::Etat {
    bool essaye = false;  // the device is opened once, at the first sound
    Sdl sdl;
    SDL_AudioDeviceID peripherique = 0;
    SDL_AudioSpec format{};
    std::map<QString, Son> sons;  // ready for the device, by path
    const Son* son = nullptr;
    std::size_t position = 0;

    bool Ouvre();
    const Son* Charge(const QString& chemin);
    bool Convertit(const QString& fichier, Son& sortie) const;
    static void SDLCALL Remplit(void* etat, Uint8* flux, int longueur);
};

bool LecteurSdl::Etat::Ouvre() {
    if (essaye) return peripherique != 0;
    essaye = true;
    if (!sdl.Charge() || sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec voulu{};
    voulu.freq = kFrequence;
    voulu.format = AUDIO_S16SYS;
    voulu.channels = kCanaux;
    voulu.samples = kEchantillonsParTampon;
    voulu.callback = &Etat::Remplit;
    voulu.userdata = this;
    // No change allowed: SDL adapts to the hardware itself, and every sound is converted once
    // to this one format.
    peripherique = sdl.OpenAudioDevice(nullptr, 0, &voulu, &format, 0);
    if (peripherique == 0) {
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    sdl.PauseAudioDevice(peripherique, 0);
    return true;
}

bool LecteurSdl::Etat::Convertit(const QString& fichier, Son& sortie) const {
    // Only a plain file of a sane size: a pipe or a device would block the read for good.
    const QFileInfo info(fichier);
    if (!info.isFile() || info.size() > kTailleMaxi) return false;
    SDL_AudioSpec lu{};
    Uint8* donnees = nullptr;
    Uint32 longueur = 0;
    SDL_RWops* flux = sdl.RWFromFile(QFile::encodeName(fichier).constData(), "rb");
    if (!flux || !sdl.LoadWAV_RW(flux, 1, &lu, &donnees, &longueur)) return false;
    std::unique_ptr<Uint8, void (*)(Uint8*)> tampon(donnees, sdl.FreeWAV);
    const Uint32 trame = SDL_AUDIO_BITSIZE(lu.format) / 8 * lu.channels;
    longueur -= trame ? longueur % trame : longueur;
    SDL_AudioCVT cvt;
    if (longueur == 0 || sdl.BuildAudioCVT(&cvt, lu.format, lu.channels, lu.freq, format.format,
                                           format.channels, format.freq) < 0) {
        return false;
    }
    if (!cvt.needed) {
        sortie.lu = std::move(tampon);
        sortie.taille = longueur;
        return true;
    }
    cvt.len = static_cast<int>(longueur);
    sortie.converti.assign(
        static_cast<std::size_t>(longueur) * static_cast<std::size_t>(cvt.len_mult), 0);
    std::memcpy(sortie.converti.data(), donnees, longueur);
    cvt.buf = sortie.converti.data();
    if (sdl.ConvertAudio(&cvt) != 0) return false;
    // The conversion needs room for its widest step; the sound kept needs only its own.
    sortie.converti.resize(static_cast<std::size_t>(cvt.len_cvt));
    sortie.converti.shrink_to_fit();
    sortie.taille = sortie.converti.size();
    return sortie.taille > 0;
}

const Son* LecteurSdl::Etat::Charge(const QString& chemin) {
    const auto connu = sons.find(chemin);
    if (connu != sons.end()) return &connu->second;
    Son pret;
    if (!Convertit(chemin, pret) && !Convertit(chemin + QLatin1String(kExtension), pret)) {
        return nullptr;
    }
    return &sons.emplace(chemin, std::move(pret)).first->second;
}

void SDLCALL LecteurSdl::Etat::Remplit(void* etat, Uint8* flux, int longueur) {
    auto* e = static_cast<Etat*>(etat);
    const auto demande = static_cast<std::size_t>(longueur);
    std::size_t copie = 0;
    if (e->son) {
        copie = std::min(demande, e->son->taille - e->position);
        std::memcpy(flux, e->son->Donnees() + e->position, copie);
        e->position += copie;
        if (e->position >= e->son->taille) e->son = nullptr;
    }
    std::memset(flux + copie, e->format.silence, demande - copie);
}

LecteurSdl::LecteurSdl() : etat_(std::make_unique<Etat>()) {}

LecteurSdl::~LecteurSdl() {
    if (etat_->peripherique == 0) return;
    etat_->sdl.CloseAudioDevice(etat_->peripherique);
    etat_->sdl.QuitSubSystem(SDL_INIT_AUDIO);
}

void LecteurSdl::Joue(const QString& chemin) {
    if (!etat_->Ouvre()) return;
    const Son* son = etat_->Charge(chemin);
    if (!son) return;
    // The new sound replaces the one playing, between two buffers of the audio thread.
    etat_->sdl.LockAudioDevice(etat_->peripherique);
    etat_->son = son;
    etat_->position = 0;
    etat_->sdl.UnlockAudioDevice(etat_->peripherique);
}

}  // namespace tir
