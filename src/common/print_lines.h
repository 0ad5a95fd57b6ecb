#pragma once
// A printed page as the reports compute it: lines of text, each with the font it is
// printed in. The computation makes the lines; the printer (platform) prints them, and
// the tests compare them, so both see the same lines.

#include <QString>

#include <vector>

namespace qv {

struct RigaStampa {
    QString testo;
    QString font;      // face name: "Arial", "Courier New"
    double punti = 10; // size in points
    bool grassetto = false;
    bool operator==(const RigaStampa&) const = default;
};

using RigheStampa = std::vector<RigaStampa>;

} // namespace qv
