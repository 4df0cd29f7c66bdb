// Draws every picture and synthesises every sound of the game into an assets folder:
//   fabrique-assets <assets folder>
// writes <folder>/images/*.png and <folder>/sons/*.wav. The output is the same at every run.
#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <cstdio>
#include <utility>
#include <vector>

#include "Dessins.h"
#include "Ondes.h"

namespace {

using fabrique::Toile;

std::vector<std::pair<QString, Toile>> Images() {
    using namespace fabrique;
    const Toile flammes = DessineFlammes();
    const Toile explosion = DessineExplosion();
    return {{"murax", DessineMurax()},           {"charfoutu", DessineCharFoutu()},
            {"tfeu0", MasqueDe(flammes)},        {"tfeu1", flammes},
            {"explosion0", MasqueDe(explosion)}, {"explosion1", explosion},
            {"son0", DessineSonActif()},         {"son1", DessineSonCoupe()},
            {"icone", DessineIcone(32)},         {"icone-64", DessineIcone(64)},
            {"icone-128", DessineIcone(128)}};
}

bool EcritImages(const QDir& dossier) {
    bool ok = dossier.mkpath(".");
    for (const auto& [nom, toile] : Images()) {
        ok = toile.sauver(dossier.filePath(nom + ".png")) && ok;
    }
    return ok;
}

bool EcritSons(const QDir& dossier) {
    bool ok = dossier.mkpath(".");
    for (const auto& [nom, son] : fabrique::Sons()) {
        ok = fabrique::EcritWav(dossier.filePath(nom), son) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fabrique-assets <assets folder>\n");
        return 2;
    }
    const QDir racine(QString::fromLocal8Bit(argv[1]));
    const bool images = EcritImages(QDir(racine.filePath("images")));
    const bool sons = EcritSons(QDir(racine.filePath("sons")));
    if (!images || !sons) {
        std::fprintf(stderr, "fabrique-assets: could not write every file under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
