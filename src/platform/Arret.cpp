// The stop signals reach the event loop through a pipe: the handler only writes the signal's
// number, and a notifier on the other end ends the process. The window's destruction is seen in
// the X events Qt receives.
#include "platform/Arret.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace tir {

namespace {

std::array<int, 2> tuyau{-1, -1};

void QuandSignal(int numero) {
    const int erreur = errno;
    const auto octet = static_cast<unsigned char>(numero);
    [[maybe_unused]] const ssize_t n = write(tuyau[1], &octet, 1);
    errno = erreur;
}

// The game's only write, the record, is done without letting events through, so no write is
// ever under way when the notifier runs: "Tir.ini" holds the old record or the new one (replaced
// by a rename, or written in place by a single write within one page).
// Nothing else is kept between games, so the game can end at once, even in the middle of a shot
// (a close would wait for the shot's end) or with the record dialog open (the record is then not
// kept, as with "Annuler").
void Termine(int numero) {
    std::signal(numero, SIG_DFL);
    std::raise(numero);
    _exit(128 + numero);
}

// The X protocol's DestroyNotify event, as xcb hands it to Qt (the layout is the protocol's own).
constexpr std::uint8_t kDestroyNotify = 17;
constexpr std::uint8_t kSansOrigine = 0x7f;  // the high bit marks events sent by a client
struct DestructionX {
    std::uint8_t type;
    std::uint8_t inutilise;
    std::uint16_t sequence;
    std::uint32_t evenement;
    std::uint32_t fenetre;
};

// The window manager's close request: a ClientMessage whose first word is WM_DELETE_WINDOW.
constexpr std::uint8_t kClientMessage = 33;
constexpr std::uint8_t kFormatMots = 32;
struct MessageX {
    std::uint8_t type;
    std::uint8_t format;
    std::uint16_t sequence;
    std::uint32_t fenetre;
    std::uint32_t genre;
    std::array<std::uint32_t, 5> mots;
};

// The atom WM_DELETE_WINDOW, asked of the X server through the xcb that Qt's X11 platform has
// loaded (the game does not link it); 0 without a connection to an X server.
std::uint32_t AtomeFermeture() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Qt's offscreen platform offers the X11 interface too, with no connection behind it when
    // it draws without an X server.
    void* xcb = x11 && x11->connection() ? dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD) : nullptr;
    if (!xcb) return 0;
    const auto demande =
        reinterpret_cast<decltype(&xcb_intern_atom)>(dlsym(xcb, "xcb_intern_atom"));
    const auto reponse =
        reinterpret_cast<decltype(&xcb_intern_atom_reply)>(dlsym(xcb, "xcb_intern_atom_reply"));
    std::uint32_t atome = 0;
    if (demande && reponse) {
        static constexpr char kNom[] = "WM_DELETE_WINDOW";
        xcb_intern_atom_reply_t* r = reponse(
            x11->connection(), demande(x11->connection(), 1, sizeof kNom - 1, kNom), nullptr);
        if (r) atome = r->atom;
        std::free(r);
    }
    dlclose(xcb);
    return atome;
}

// Qt keeps running when its top-level window is destroyed by someone else: it only learns of it
// as a DestroyNotify event on the window.
class FiltreDestruction : public QAbstractNativeEventFilter {
  public:
    explicit FiltreDestruction(std::uint32_t fenetre) : fenetre_(fenetre) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* detruite = static_cast<const DestructionX*>(message);
        // As for a signal: no write is under way while events are handled.
        if ((detruite->type & kSansOrigine) == kDestroyNotify && detruite->fenetre == fenetre_) {
            _exit(0);
        }
        return false;
    }

  private:
    std::uint32_t fenetre_;
};

// Qt drops the window manager's close aimed at a window that a modal dialog blocks. The close is
// asked of the window itself instead, as a program asks it, which Qt lets through.
class FiltreFermeture : public QAbstractNativeEventFilter {
  public:
    explicit FiltreFermeture(QWidget& fenetre)
        : fenetre_(&fenetre),
          id_(static_cast<std::uint32_t>(fenetre.winId())),
          atome_(AtomeFermeture()) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || atome_ == 0) return false;
        const auto* m = static_cast<const MessageX*>(message);
        if ((m->type & kSansOrigine) == kClientMessage && m->fenetre == id_ &&
            m->format == kFormatMots && m->mots[0] == atome_ && fenetre_ &&
            QApplication::activeModalWidget() && QApplication::activeModalWidget() != fenetre_) {
            QMetaObject::invokeMethod(fenetre_, &QWidget::close, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QPointer<QWidget> fenetre_;
    std::uint32_t id_;
    std::uint32_t atome_;
};

}  // namespace

void ArretAvecLaFenetre(QWidget& fenetre) {
    if (QCoreApplication::instance() == nullptr) return;
    static FiltreDestruction filtre(static_cast<std::uint32_t>(fenetre.winId()));
    QCoreApplication::instance()->installNativeEventFilter(&filtre);
}

void FermetureSousDialogue(QWidget& fenetre) {
    if (QCoreApplication::instance() == nullptr) return;
    static std::unique_ptr<FiltreFermeture> filtre;  // for the last window given
    if (filtre) QCoreApplication::instance()->removeNativeEventFilter(filtre.get());
    filtre = std::make_unique<FiltreFermeture>(fenetre);
    QCoreApplication::instance()->installNativeEventFilter(filtre.get());
}

void IgnoreSignauxDesEcritures() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

void ArretSurSignal() {
    IgnoreSignauxDesEcritures();
    if (tuyau[0] >= 0 || pipe2(tuyau.data(), O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notificateur =
        new QSocketNotifier(tuyau[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notificateur, &QSocketNotifier::activated, [] {
        unsigned char octet = 0;
        if (read(tuyau[0], &octet, 1) == 1) Termine(octet);
    });
    struct sigaction action {};
    action.sa_handler = QuandSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int numero : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal the game was started ignoring ("nohup", a background job) stays ignored.
        struct sigaction avant {};
        if (sigaction(numero, nullptr, &avant) == 0 && avant.sa_handler == SIG_IGN) continue;
        sigaction(numero, &action, nullptr);
    }
}

}  // namespace tir
