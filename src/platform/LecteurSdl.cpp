// The sound player: SDL2's audio subsystem, one sound at a time, silent on every failure. SDL,
// the device and the files are handled on a thread of the player's own: the game only hands over
// the name of the sound it wants.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/ServicesReels.h"
#include "platform/Systeme.h"

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
// No sound of the game comes near these: the longest, the flames, lasts three seconds and takes
// 130 KB. Anything larger is refused before SDL sees it, so that whatever a file's header says,
// a sound costs at most a few megabytes while it is read and 441 KB once kept.
constexpr off_t kTailleMaxi = off_t{8} << 20;
constexpr double kDureeMaxi = 10.0;  // seconds
// SDL converts in place in a buffer of the wave's length times its widest step.
constexpr double kTravailMaxi = 32.0 * 1024 * 1024;
// At the program's end the player waits this long for its thread (closing the device takes a
// few milliseconds); a thread still stuck in a sound server is left to the end of the process.
constexpr auto kAttenteFin = std::chrono::milliseconds(300);

// SDL2 is loaded at the first sound, not at start-up: it brings some thirty libraries (sound
// servers, codecs) that would otherwise slow every start and take memory while nothing plays.
struct Sdl {
    decltype(&::SDL_SetHint) SetHint = nullptr;
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice = nullptr;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice = nullptr;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::SDL_FreeWAV) FreeWAV = nullptr;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&::SDL_ConvertAudio) ConvertAudio = nullptr;
    decltype(&::SDL_TLSCleanup) TLSCleanup = nullptr;  // SDL 2.0.16 and later

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
        trouve(SetHint, "SDL_SetHint");
        trouve(InitSubSystem, "SDL_InitSubSystem");
        trouve(QuitSubSystem, "SDL_QuitSubSystem");
        trouve(OpenAudioDevice, "SDL_OpenAudioDevice");
        trouve(CloseAudioDevice, "SDL_CloseAudioDevice");
        trouve(PauseAudioDevice, "SDL_PauseAudioDevice");
        trouve(LockAudioDevice, "SDL_LockAudioDevice");
        trouve(UnlockAudioDevice, "SDL_UnlockAudioDevice");
        trouve(RWFromConstMem, "SDL_RWFromConstMem");
        trouve(LoadWAV_RW, "SDL_LoadWAV_RW");
        trouve(FreeWAV, "SDL_FreeWAV");
        trouve(BuildAudioCVT, "SDL_BuildAudioCVT");
        trouve(ConvertAudio, "SDL_ConvertAudio");
        TLSCleanup = reinterpret_cast<decltype(TLSCleanup)>(dlsym(bibliotheque, "SDL_TLSCleanup"));
        return complet;
    }
};

// SDL's audio subsystem is one for the whole process and may not be started or stopped on two
// threads at once: a player whose thread was left stuck in a sound server and a later one take
// turns here.
std::mutex& VerrouSdl() {
    static std::mutex verrou;
    return verrou;
}

void AlsaMuet(const char*, int, const char*, int, const char*, ...) {}

// On a machine without a sound card, ALSA writes a dozen "ALSA lib ... cannot find card '0'"
// lines on the terminal when SDL tries it. Its messages go through one handler for the whole
// library, set here before SDL loads the same library; without ALSA there is nothing to do.
void FaisTaireAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using Gestionnaire = void (*)(const char*, int, const char*, int, const char*, ...);
    const auto pose =
        reinterpret_cast<int (*)(Gestionnaire)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (pose) pose(&AlsaMuet);
}

// Starts `travail` on a thread that leaves the process's signals (end of session, Ctrl+C, a
// closed pipe) to the game's thread; the threads of SDL and of the sound server inherit this.
template <typename F>
std::thread LanceSansSignaux(F travail) {
    sigset_t signaux, avant;
    sigemptyset(&signaux);
    for (const int s : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2}) {
        sigaddset(&signaux, s);
    }
    pthread_sigmask(SIG_BLOCK, &signaux, &avant);
    try {
        std::thread fil(std::move(travail));
        pthread_sigmask(SIG_SETMASK, &avant, nullptr);
        return fil;
    } catch (...) {
        pthread_sigmask(SIG_SETMASK, &avant, nullptr);
        throw;
    }
}

// The whole of a plain file of at most kTailleMaxi bytes; empty for anything else. A pipe or a
// device under a sound's name is never waited for, and a link is not followed.
QByteArray LisFichier(const QByteArray& chemin) {
    const Descripteur fd(OuvreFichierBorne(AT_FDCWD, chemin.constData(), O_RDONLY, kTailleMaxi));
    const auto octets = fd.get() >= 0 ? LitTout(fd.get(), kTailleMaxi) : std::nullopt;
    return octets ? QByteArray::fromStdString(*octets) : QByteArray();
}

// The duration in seconds of the samples a wave really holds, from its format chunk and the
// bytes of its data chunk present in the file; negative when it is no wave. The RIFF and data
// lengths are brought down to what the file holds, so that SDL never allocates for samples the
// header announces and the file does not have.
double DureeDeLaWave(QByteArray& wave) {
    const auto u16 = [&](qsizetype a) { return qFromLittleEndian<quint16>(wave.constData() + a); };
    const auto u32 = [&](qsizetype a) { return qFromLittleEndian<quint32>(wave.constData() + a); };
    const auto borne = [&](qsizetype a, qsizetype reste) {
        qToLittleEndian(static_cast<quint32>(std::min<qsizetype>(u32(a), reste)), wave.data() + a);
    };
    const auto est = [&](qsizetype a, const char* nom) {
        return std::memcmp(wave.constData() + a, nom, 4) == 0;
    };
    if (wave.size() < 12 || !est(0, "RIFF") || !est(8, "WAVE")) return -1;
    borne(4, wave.size() - 8);
    double octetsParSeconde = 0;
    for (qsizetype a = 12; a + 8 <= wave.size();) {
        const qsizetype longueur = u32(a + 4);
        const qsizetype reste = wave.size() - a - 8;
        if (est(a, "fmt ")) {
            if (longueur < 16 || longueur > reste) return -1;
            // Channels, frames per second and bits per sample: what the device will play.
            octetsParSeconde = double(u16(a + 10)) * u32(a + 12) * u16(a + 22) / 8;
        } else if (est(a, "data")) {
            if (octetsParSeconde <= 0) return -1;
            borne(a + 4, reste);
            return double(std::min(longueur, reste)) / octetsParSeconde;
        }
        a += 8 + longueur + (longueur & 1);
    }
    return -1;
}

}  // namespace

// One sound ready for the device: SDL's own buffer when the wave is already in the device's
// format, as the game's waves are (no copy is made), a converted copy otherwise.
struct OndePrete {
    std::unique_ptr<Uint8, void (*)(Uint8*)> lu{nullptr, nullptr};
    std::vector<Uint8> converti;
    std::size_t taille = 0;

    const Uint8* Donnees() const { return lu ? lu.get() : converti.data(); }
};

// Shared by the game's thread, the player's thread and SDL's audio thread, each part under its
// own lock; the player's thread keeps it alive as long as it runs.
struct LecteurSdl::Etat {
    // Between the game's thread and the player's, under `verrou`.
    std::mutex verrou;
    std::condition_variable reveil;      // a sound is asked for, or the player ends
    std::condition_variable disponible;  // a request has been dealt with, or the thread ended
    std::optional<QByteArray> demande;   // the latest sound asked for and not yet taken
    bool occupe = false;                 // a request is being dealt with
    bool fin = false;
    bool parti = false;
    std::thread fil;

    // The player's thread only.
    bool essaye = false;  // the device is opened once, at the first sound
    Sdl sdl;
    SDL_AudioDeviceID peripherique = 0;
    SDL_AudioSpec format{};
    std::map<QByteArray, OndePrete> sons;  // ready for the device, by path

    // Read by SDL's audio thread under the device lock.
    const OndePrete* son = nullptr;
    std::size_t position = 0;

    void Travaille();
    void Sert(const QByteArray& chemin);
    bool Ouvre();
    void Ferme();
    const OndePrete* Charge(const QByteArray& chemin);
    bool Convertit(const QByteArray& fichier, OndePrete& sortie) const;
    bool Remplace() {
        std::lock_guard<std::mutex> garde(verrou);
        return demande.has_value() || fin;
    }
    static void SDLCALL Remplit(void* etat, Uint8* flux, int longueur);
};

// The player's thread: deals with the latest request until the player ends, then closes the
// device. No failure of a sound reaches further than that sound.
void LecteurSdl::Etat::Travaille() {
    std::unique_lock<std::mutex> garde(verrou);
    for (;;) {
        reveil.wait(garde, [this] { return fin || demande.has_value(); });
        if (fin) break;
        const QByteArray chemin = std::move(*demande);
        demande.reset();
        occupe = true;
        garde.unlock();
        try {
            Sert(chemin);
        } catch (...) {  // out of memory for one sound: that sound stays silent
        }
        garde.lock();
        occupe = false;
        disponible.notify_all();
    }
    garde.unlock();
    Ferme();
    // SDL keeps its error text per thread, and frees it only on its own threads.
    if (sdl.TLSCleanup) sdl.TLSCleanup();
    garde.lock();
    parti = true;
    disponible.notify_all();
}

// Opens the device if need be, readies the sound and starts it, unless a later request came in
// meanwhile: that one would cut it before it is heard, and it must never sound after it.
void LecteurSdl::Etat::Sert(const QByteArray& chemin) {
    if (!Ouvre() || Remplace()) return;
    const OndePrete* pret = Charge(chemin);
    if (!pret || Remplace()) return;
    // The new sound replaces the one playing, between two buffers of the audio thread.
    sdl.LockAudioDevice(peripherique);
    son = pret;
    position = 0;
    sdl.UnlockAudioDevice(peripherique);
}

bool LecteurSdl::Etat::Ouvre() {
    if (essaye) return peripherique != 0;
    essaye = true;
    const std::lock_guard<std::mutex> garde(VerrouSdl());
    FaisTaireAlsa();
    if (!sdl.Charge()) return false;
    // The game handles the end of the session itself: SDL must not take SIGINT and SIGTERM.
    sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
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

void LecteurSdl::Etat::Ferme() {
    if (peripherique == 0) return;
    const std::lock_guard<std::mutex> garde(VerrouSdl());
    sdl.CloseAudioDevice(peripherique);
    sdl.QuitSubSystem(SDL_INIT_AUDIO);
    peripherique = 0;
}

bool LecteurSdl::Etat::Convertit(const QByteArray& fichier, OndePrete& sortie) const {
    QByteArray wave = LisFichier(fichier);
    const double duree = DureeDeLaWave(wave);
    if (duree <= 0 || duree > kDureeMaxi) return false;
    SDL_AudioSpec lu{};
    Uint8* donnees = nullptr;
    Uint32 longueur = 0;
    SDL_RWops* flux = sdl.RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (!flux || !sdl.LoadWAV_RW(flux, 1, &lu, &donnees, &longueur)) return false;
    std::unique_ptr<Uint8, void (*)(Uint8*)> tampon(donnees, sdl.FreeWAV);
    wave.clear();  // SDL keeps its own copy of the samples
    wave.squeeze();
    const Uint32 trame = SDL_AUDIO_BITSIZE(lu.format) / 8 * lu.channels;
    longueur -= trame ? longueur % trame : longueur;
    SDL_AudioCVT cvt;
    if (longueur == 0 || lu.freq <= 0 || double(longueur) / trame / lu.freq > kDureeMaxi ||
        sdl.BuildAudioCVT(&cvt, lu.format, lu.channels, lu.freq, format.format, format.channels,
                          format.freq) < 0) {
        return false;
    }
    if (!cvt.needed) {
        sortie.lu = std::move(tampon);
        sortie.taille = longueur;
        return true;
    }
    if (double(longueur) * cvt.len_mult > kTravailMaxi) return false;
    cvt.len = static_cast<int>(longueur);
    sortie.converti.assign(
        static_cast<std::size_t>(longueur) * static_cast<std::size_t>(cvt.len_mult), 0);
    std::memcpy(sortie.converti.data(), donnees, longueur);
    tampon.reset();
    cvt.buf = sortie.converti.data();
    if (sdl.ConvertAudio(&cvt) != 0) return false;
    // The conversion needs room for its widest step; the sound kept needs only its own.
    sortie.converti.resize(static_cast<std::size_t>(cvt.len_cvt));
    sortie.converti.shrink_to_fit();
    sortie.taille = sortie.converti.size();
    return sortie.taille > 0;
}

const OndePrete* LecteurSdl::Etat::Charge(const QByteArray& chemin) {
    const auto connu = sons.find(chemin);
    if (connu != sons.end()) return &connu->second;
    OndePrete pret;
    if (!Convertit(chemin, pret) && !Convertit(chemin + kExtension, pret)) {
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

LecteurSdl::LecteurSdl() : etat_(std::make_shared<Etat>()) {}

// Waits a short while for the thread to close the device; a thread stuck in a sound server that
// does not answer is let go, and ends by itself if the server ever does.
LecteurSdl::~LecteurSdl() {
    std::unique_lock<std::mutex> garde(etat_->verrou);
    etat_->fin = true;
    etat_->reveil.notify_all();
    if (!etat_->fil.joinable()) return;
    const bool fini = etat_->disponible.wait_for(garde, kAttenteFin, [&] { return etat_->parti; });
    garde.unlock();
    if (fini) {
        etat_->fil.join();
    } else {
        etat_->fil.detach();
    }
}

void LecteurSdl::Joue(const QByteArray& chemin) {
    try {
        const std::lock_guard<std::mutex> garde(etat_->verrou);
        if (!etat_->fil.joinable()) {
            etat_->fil = LanceSansSignaux([etat = etat_] { etat->Travaille(); });
        }
        etat_->demande = chemin;
    } catch (...) {  // no thread or no memory left: the sound stays silent
        return;
    }
    etat_->reveil.notify_one();
}

bool LecteurSdl::Attends(double secondes) {
    std::unique_lock<std::mutex> garde(etat_->verrou);
    return etat_->disponible.wait_for(garde, std::chrono::duration<double>(secondes), [&] {
        return etat_->parti || (!etat_->demande.has_value() && !etat_->occupe);
    });
}

}  // namespace tir
