// The record's keeper: what it lets through, and what it leaves on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "gardien/Demande.h"
#include "gardien/Depot.h"
#include "gardien/Entree.h"

namespace {

using gardien::Issue;

TEST(Demande, OnlyAScoreAGameCanReachAndAPrintableNameAreAccepted) {
    // Guards against a request that would add lines to the record file, turn the record
    // dialog's text around, or hold a score no game of ten hits reaches.
    const std::string cent(100000, 'a');
    const struct {
        std::string octets;
        bool accepte;
    } cas[] = {
        {"150\nPilote\n", true},
        {"900\n\xc3\x89lodie Zo\xc3\xab\n", true},
        {"1\n" + std::string(254, 'x') + "\n", true},
        {"1\n" + std::string(255, 'x') + "\n", false},
        {"150\n" + cent + "\n", false},
        {"0\nA\n", false},
        {"-5\nA\n", false},
        {"+5\nA\n", false},
        {"901\nA\n", false},
        {"32768\nA\n", false},
        {"099\nA\n", false},
        {" 99\nA\n", false},
        {"150\n\n", false},
        {"150\n   \n", false},
        {"150\nA", false},
        {"150\nA\nB\n", false},
        {"150\nA\r\n", false},
        {"150\nA\tB\n", false},
        {std::string("150\nA\0B\n", 8), false},
        {"150\nA\x7f\n", false},
        {"150\nA\xc2\x85\n", false},  // C1 next line
        {"150\nA\xe2\x80\xae"
         "B\n",
         false},  // right-to-left override
        {"150\nA\xe2\x81\xa6"
         "B\n",
         false},  // left-to-right isolate
        {"150\nA\xe2\x80\x8b"
         "B\n",
         false},  // zero-width space
        {"150\nA\xe2\x80\xa8"
         "B\n",
         false},  // line separator
        {"150\n\xef\xbb\xbf"
         "A\n",
         false},  // byte-order mark
        {"150\nA\xff\n", false},
        {"150\nA\xc3\n", false},                              // cut character
        {"150\n\xc0\xaf\n", false},                           // overlong "/"
        {"150\n\xed\xa0\x80\n", false},                       // surrogate
        {"150\n\xf4\x90\x80\x80\n", false},                   // beyond U+10FFFF
        {"150\ne\xcc\x81\xcc\x82\n", true},                   // two accents on a letter
        {"150\ne" + std::string(60, '\xcc') + "\n", false},   // not UTF-8
        {"150\ne\xcc\x81\xcc\x82\xcc\x83\xcc\x84\n", false},  // a pile of marks
        {"", false},
    };
    for (const auto& c : cas) {
        std::string refus;
        EXPECT_EQ(gardien::LitDemande(c.octets, refus).has_value(), c.accepte)
            << c.octets.substr(0, 40);
        EXPECT_EQ(refus.empty(), c.accepte) << c.octets.substr(0, 40);
    }
}

// A shared record file as the package lays it out, in a folder of its own.
class Depot : public testing::Test {
  protected:
    void SetUp() override {
        char modele[] = "/tmp/gardien-XXXXXX";
        ASSERT_NE(mkdtemp(modele), nullptr);
        dossier_ = modele;
        Ecris("[Tir_au_Murax]\r\nScoreMaxi=        \r\nNomJoueur=" + std::string(254, ' ') +
              "\r\n[Autre]\r\nx=1\r\n");
        verrou_ = open((dossier_ + "/Tir.verrou").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    void TearDown() override {
        close(verrou_);
        std::system(("rm -rf " + dossier_).c_str());
    }
    void Ecris(const std::string& texte) const { std::ofstream(Fichier()) << texte; }
    std::string Fichier() const { return dossier_ + "/Tir.ini"; }
    std::string Lis() const {
        std::stringstream t;
        t << std::ifstream(Fichier()).rdbuf();
        return t.str();
    }
    Issue Garde(int score, const std::string& nom) const {
        const int fd = open(Fichier().c_str(), O_RDWR | O_CLOEXEC);
        const Issue issue = gardien::GardeSiMieux(fd, verrou_, score, nom);
        close(fd);
        return issue;
    }
    std::string dossier_;
    int verrou_ = -1;
};

TEST_F(Depot, ABetterScoreIsWrittenInItsPlaceAndAWorseOneNever) {
    // Guards against a record lost to a lower score, a file that grows, and the other sections
    // of the file touched by a record.
    const std::size_t taille = Lis().size();
    EXPECT_EQ(Garde(150, "Pilote"), Issue::Garde);
    EXPECT_EQ(Garde(150, "Autre"), Issue::PasMieux);
    EXPECT_EQ(Garde(90, "Autre"), Issue::PasMieux);
    const std::string texte = Lis();
    EXPECT_EQ(texte.size(), taille);
    EXPECT_TRUE(texte.starts_with("[Tir_au_Murax]\r\nScoreMaxi= 150    \r\nNomJoueur=Pilote "));
    EXPECT_NE(texte.find("Pilote" + std::string(248, ' ') + "\r\n[Autre]\r\nx=1\r\n"),
              std::string::npos);
    EXPECT_EQ(Garde(900, std::string(254, 'z')), Issue::Garde);
    EXPECT_EQ(Lis().size(), taille);
}

TEST_F(Depot, AFileWithoutRoomOrALockHeldElsewhereLeavesTheRecordAsItWas) {
    // Guards against a write that would move bytes the file still needs (a kill in the middle
    // would mix up the record) and against a keeper that waits for ever on another.
    Ecris("[Tir_au_Murax]\r\nScoreMaxi= 10\r\nNomJoueur=Bo\r\n");
    EXPECT_EQ(Garde(150, "Pilote"), Issue::Echec);
    EXPECT_EQ(Lis(), "[Tir_au_Murax]\r\nScoreMaxi= 10\r\nNomJoueur=Bo\r\n");
    EXPECT_EQ(Garde(20, "Al"), Issue::Garde);
    const int autre = open((dossier_ + "/Tir.verrou").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(flock(autre, LOCK_EX), 0);
    EXPECT_EQ(Garde(30, "Al"), Issue::Occupe);
    close(autre);
    EXPECT_EQ(Lis(), "[Tir_au_Murax]\r\nScoreMaxi= 20\r\nNomJoueur=Al\r\n");
}

TEST(Entree, AClosedOrEndlessInputIsRefusedAfterABoundedRead) {
    // Guards against a keeper that reads a flood whole, or takes a cut request for a whole one.
    for (const std::string& envoi : {std::string(100000, '7'), std::string("150\nPil")}) {
        int tube[2];
        ASSERT_EQ(pipe(tube), 0);
        if (fork() == 0) {
            close(tube[0]);  // the reader's close then ends this writer
            (void)!write(tube[1], envoi.data(), envoi.size());
            _exit(0);
        }
        close(tube[1]);
        std::string refus;
        EXPECT_FALSE(gardien::LitEntree(tube[0], refus).has_value());
        EXPECT_FALSE(refus.empty());
        close(tube[0]);
    }
}

}  // namespace
