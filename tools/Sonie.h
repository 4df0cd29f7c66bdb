// How loud a sound seems: integrated loudness as EBU R128 measures it (ITU-R BS.1770), in LUFS.
// The sounds are made to one common loudness with it, and the asset tests check them with it.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace fabrique {

// The K-weighting filter, a high shelf (the head's effect) then a high-pass (the ear's), and the
// mean square of 400 ms blocks overlapping by three quarters; blocks under -70 LUFS, then blocks
// more than 10 LU below the mean of the rest, are left out. A sound shorter than a block (the
// turning cannon's buzz) is one block, as long as the sound.
inline double Sonie(const std::vector<double>& son, double frequence) {
    // Filter coefficients from the analogue prototypes, for any sampling rate.
    const double pi = std::numbers::pi;
    double k = std::tan(pi * 1681.974450955533 / frequence);
    const double q1 = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / q1 + k * k;
    const double b[3] = {(vh + vb * k / q1 + k * k) / a0, 2 * (k * k - vh) / a0,
                         (vh - vb * k / q1 + k * k) / a0};
    const double a[3] = {1, 2 * (k * k - 1) / a0, (1 - k / q1 + k * k) / a0};
    k = std::tan(pi * 38.13547087602444 / frequence);
    const double q2 = 0.5003270373238773;
    a0 = 1 + k / q2 + k * k;
    const double c[3] = {1, 2 * (k * k - 1) / a0, (1 - k / q2 + k * k) / a0};
    std::vector<double> carres(son.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0, z1 = 0, z2 = 0;
    for (std::size_t i = 0; i < son.size(); ++i) {
        const double y = b[0] * son[i] + b[1] * x1 + b[2] * x2 - a[1] * y1 - a[2] * y2;
        const double z = y - 2 * y1 + y2 - c[1] * z1 - c[2] * z2;
        x2 = x1, x1 = son[i], y2 = y1, y1 = y, z2 = z1, z1 = z;
        carres[i] = z * z;
    }
    const auto bloc = std::min(carres.size(), static_cast<std::size_t>(0.4 * frequence));
    const auto pas = std::max<std::size_t>(1, bloc / 4);
    std::vector<double> blocs;
    for (std::size_t debut = 0; bloc > 0 && debut + bloc <= carres.size(); debut += pas) {
        double somme = 0;
        for (std::size_t i = debut; i < debut + bloc; ++i) somme += carres[i];
        blocs.push_back(somme / static_cast<double>(bloc));
    }
    const auto lufs = [](double moyenne) { return -0.691 + 10 * std::log10(moyenne); };
    const auto moyenneAuDessus = [&](double seuil) {
        double somme = 0;
        int n = 0;
        for (double m : blocs) {
            if (m > 0 && lufs(m) > seuil) somme += m, ++n;
        }
        return n > 0 ? somme / n : 0.0;
    };
    const double absolue = moyenneAuDessus(-70);
    if (absolue <= 0) return -70;
    const double relative = moyenneAuDessus(lufs(absolue) - 10);
    return lufs(relative);
}

}  // namespace fabrique
