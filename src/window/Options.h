// What the command line may change: who the computer plays, how well, and the marks of the
// last shots. Without any option the game is the two-player window as always.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace tir {

// How well the computer plays: a beginner, a fair player, an expert, or as well as the human
// plays, so that the game stays close.
enum class Niveau { Debutant, Moyen, Expert, Auto };

struct Options {
    std::array<bool, 2> ordinateur{};  // per player (0 = A, 1 = B): the computer plays him
    Niveau niveau = Niveau::Moyen;
    bool traces = false;  // a cross where each player's last shell landed on this battlefield
};

// The outcome of reading a command line: the options to play with, or a text to print and the
// status to end with (0 after --help or --version, to the standard output; 2 after a bad
// option, to the standard error, as every program built on Qt's parser does).
struct LectureOptions {
    Options options;
    int sortie = -1;  // -1: play
    QString texte;
};

// Reads the game's own options from `arguments` (the program's name first), once the
// application has taken Qt's own options out of them.
LectureOptions LisOptions(const QStringList& arguments);

// Takes out of `arguments` Qt's own options (-platform, -geometry, -style…) and their values, for
// a command line read before any window system is there to take them.
QStringList SansOptionsDeQt(const QStringList& arguments);

}  // namespace tir
