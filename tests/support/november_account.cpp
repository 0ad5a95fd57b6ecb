#include "november_account.h"

namespace qv::test {

void writeNovemberAccount(const QString& dataFolder) {
    const auto& m = kMovimentiNovembre;
    const QString file = dataFolder + QStringLiteral("CC1");
    writeBytes(file + ".MOV", movimentoBytes(m[0]) + movimentoBytes(m[1]) + movimentoBytes(m[2]) +
                                  movimentoBytes(m[3]));
    writeBytes(file + ".MOR", le16(4));
    writeBytes(file + ".Ord", movimentoBytes(m[0]) + movimentoBytes(m[3]) + movimentoBytes(m[1]) +
                                  movimentoBytes(m[2]));
    writeBytes(file + ".RIP", text("31/10/2026", 10) + leDouble(1000.0));
}

} // namespace qv::test
