// The record kept for every player of the machine is written by a keeper program that runs with
// the games group; the game itself never holds that group and asks the keeper instead.
#pragma once

#include <QByteArray>
#include <string>

namespace tir {

// Starts `programme` with an empty environment, gives it "<score>\n<name>\n" on its standard
// input, the name (UTF-8) as the record keeps it (NomPropre, cut to 254 bytes), and waits for it
// a few seconds at most. True when the keeper says it kept the record.
bool DemandeAuGardien(const QByteArray& programme, int score, const std::string& nom);

}  // namespace tir
