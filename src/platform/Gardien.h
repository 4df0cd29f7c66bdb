// The record kept for every player of the machine is written by a keeper program that runs with
// the games group; the game itself never holds that group and asks the keeper instead.
#pragma once

#include <QByteArray>
#include <QString>

namespace tir {

// Starts `programme` with an empty environment, gives it "<score>\n<name>\n" on its standard
// input, the name cut to what the record file keeps (254 bytes, never inside a character), and
// waits for it a few seconds at most. True when the keeper says it kept the record.
bool DemandeAuGardien(const QString& programme, int score, const QByteArray& nom);

}  // namespace tir
