/* Whole-process figures of one start of a program under an X server (Xvfb):
 *
 *   carte      ms from exec to the first top-level window mapped (MapNotify seen on the root)
 *   paysage    ms from exec to the first moment the field shows what it shows at rest: the
 *              landscape with both cannons, as the screen keeps it once start-up is over
 *   rss_kib    resident memory 5 s after exec (VmRSS of /proc/<pid>/status)
 *   cpu_pct    CPU of the whole process (all threads) from 5 s to 15 s, in % of one core
 *   reveils_s  context switches of all its threads per second over the same 10 s: how often
 *              it wakes up when nothing happens
 *
 * The field is read back (XShmGetImage) about once a millisecond during the
 * first seconds. A capture that matches the resting field gives an upper bound (the reply's
 * time); the step between two captures is printed too (pas_ms).
 *
 * Usage: demarrage X Y W H program [arguments]   (X Y W H: the field's rectangle in the window)
 * Prints key=value lines; kills the program at the end. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <dirent.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kCapturesMaxi = 20000 };
static const double kFinCaptures = 3.0; /* s after exec: start-up is long over */
static const double kInstantMemoire = 5.0;
static const double kFinRepos = 15.0;

static double Maintenant(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static void DortJusqua(double echeance) {
    const double reste = echeance - Maintenant();
    if (reste <= 0) return;
    struct timespec t = {(time_t)reste, (long)((reste - (double)(time_t)reste) * 1e9)};
    nanosleep(&t, NULL);
}

/* FNV-1a over the captured pixels. */
static uint64_t Empreinte(const XImage* image) {
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < image->height; ++y) {
        const uint64_t* ligne =
            (const uint64_t*)(const void*)(image->data + y * image->bytes_per_line);
        const int mots = image->width * image->bits_per_pixel / 64;
        for (int i = 0; i < mots; ++i) h = (h ^ ligne[i]) * 1099511628211ull;
    }
    return h;
}

/* The first top-level, not override-redirect, window mapped after `depart`. */
/* A capture that fails (window not yet viewable, or gone) is simply skipped. */
static int IgnoreErreur(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static Window AttendsCarte(Display* d) {
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapNotify && !e.xmap.override_redirect) return e.xmap.window;
    }
}

/* Sum of utime + stime (ticks) of the process, and of the context switches of all threads. */
static void Compteurs(pid_t pid, long* ticks, long* commutations) {
    char chemin[64];
    snprintf(chemin, sizeof chemin, "/proc/%d/stat", (int)pid);
    FILE* f = fopen(chemin, "r");
    *ticks = 0;
    if (f) {
        char tampon[1024];
        if (fgets(tampon, sizeof tampon, f)) {
            const char* p = strrchr(tampon, ')');
            unsigned long ut = 0, st = 0;
            if (p && sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &ut,
                            &st) == 2)
                *ticks = (long)(ut + st);
        }
        fclose(f);
    }
    *commutations = 0;
    snprintf(chemin, sizeof chemin, "/proc/%d/task", (int)pid);
    DIR* taches = opendir(chemin);
    if (!taches) return;
    struct dirent* t;
    while ((t = readdir(taches))) {
        if (t->d_name[0] == '.') continue;
        char statut[320], ligne[256];
        snprintf(statut, sizeof statut, "/proc/%d/task/%s/status", (int)pid, t->d_name);
        FILE* s = fopen(statut, "r");
        if (!s) continue;
        long v;
        while (fgets(ligne, sizeof ligne, s)) {
            if (sscanf(ligne, "voluntary_ctxt_switches: %ld", &v) == 1) *commutations += v;
            if (sscanf(ligne, "nonvoluntary_ctxt_switches: %ld", &v) == 1) *commutations += v;
        }
        fclose(s);
    }
    closedir(taches);
}

static long VmRss(pid_t pid) {
    char chemin[64], ligne[256];
    snprintf(chemin, sizeof chemin, "/proc/%d/status", (int)pid);
    FILE* f = fopen(chemin, "r");
    long kib = -1;
    if (!f) return kib;
    while (fgets(ligne, sizeof ligne, f)) sscanf(ligne, "VmRSS: %ld", &kib);
    fclose(f);
    return kib;
}

int main(int argc, char** argv) {
    if (argc < 6) {
        fprintf(stderr, "usage: %s X Y W H program [arguments]\n", argv[0]);
        return 2;
    }
    const int cx = atoi(argv[1]), cy = atoi(argv[2]), cw = atoi(argv[3]), ch = atoi(argv[4]);
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErreur);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const double depart = Maintenant();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[5], argv + 5);
        _exit(127);
    }
    const Window fenetre = AttendsCarte(d);
    const double carte = Maintenant();

    /* The field is read through shared memory: a capture costs a copy, not a socket transfer. */
    XShmSegmentInfo segment;
    XImage* image = XShmCreateImage(d, DefaultVisual(d, DefaultScreen(d)),
                                    (unsigned)DefaultDepth(d, DefaultScreen(d)), ZPixmap, NULL,
                                    &segment, (unsigned)cw, (unsigned)ch);
    segment.shmid = shmget(IPC_PRIVATE, (size_t)image->bytes_per_line * (size_t)image->height,
                           IPC_CREAT | 0600);
    segment.shmaddr = image->data = shmat(segment.shmid, NULL, 0);
    segment.readOnly = False;
    XShmAttach(d, &segment);
    shmctl(segment.shmid, IPC_RMID, NULL);
    static double instants[kCapturesMaxi];
    static uint64_t empreintes[kCapturesMaxi];
    int n = 0;
    while (n < kCapturesMaxi && Maintenant() - depart < kFinCaptures) {
        const Bool lu = XShmGetImage(d, fenetre, image, cx, cy, AllPlanes);
        const double t = Maintenant();
        if (lu) {
            instants[n] = t;
            empreintes[n] = Empreinte(image);
            ++n;
        }
        DortJusqua(t + 0.001);
    }
    XShmDetach(d, &segment);
    shmdt(segment.shmaddr);
    int premiere = n - 1;
    while (premiere > 0 && empreintes[premiere - 1] == empreintes[n - 1]) --premiere;

    DortJusqua(depart + kInstantMemoire);
    const long rss = VmRss(pid);
    long ticks0, comm0, ticks1, comm1;
    Compteurs(pid, &ticks0, &comm0);
    const double debutRepos = Maintenant();
    DortJusqua(depart + kFinRepos);
    Compteurs(pid, &ticks1, &comm1);
    const double duree = Maintenant() - debutRepos;

    printf("carte=%.1f\n", (carte - depart) * 1e3);
    if (n > 0) {
        printf("paysage=%.1f\n", (instants[premiere] - depart) * 1e3);
        printf("pas_ms=%.2f\n", n > 1 ? (instants[n - 1] - instants[0]) * 1e3 / (n - 1) : 0.0);
    }
    printf("rss_kib=%ld\n", rss);
    printf("cpu_pct=%.2f\n", 100.0 * (double)(ticks1 - ticks0) / sysconf(_SC_CLK_TCK) / duree);
    printf("reveils_s=%.1f\n", (double)(comm1 - comm0) / duree);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    XCloseDisplay(d);
    return 0;
}
