// Rows of a staffa at dates without movements (the rate changes of the interest
// statement): each carries the balance in force, splits the days of the row it falls in
// and leaves the totals of the numbers as they are.
#include "staffa/staffa.h"
#include "staffa_support.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::d;

TEST(StaffaDate, ExtraDatesSplitTheRowsTheyFallIn) {
    const std::vector<Movimento> movimenti = {test::mov(1, "10/01/2001", 600, "U")};
    ParametriStaffa p;
    p.dal = d("01/01/2001");
    p.al = d("31/01/2001");
    p.saldoRiporto = 100;
    p.fido = 200;
    p.divisoreNumeri = 1;
    const RisultatoStaffa senza = calcolaStaffa(movimenti, p);

    // Dates before the period, on dal, on a movement, inside rows, on al and after al;
    // out of order and twice.
    p.dateAggiuntive = {d("20/01/2001"), d("15/12/2000"), d("01/01/2001"),
                        d("10/01/2001"), d("05/01/2001"), d("31/01/2001"),
                        d("05/02/2001"), d("20/01/2001"), QDate()};
    const RisultatoStaffa con = calcolaStaffa(movimenti, p);
    struct Attesa {
        const char* data;
        double saldo;
        int giorni;
        int movimenti;
    };
    const std::vector<Attesa> attese = {{"31/12/2000", 100, 1, 0},   {"01/01/2001", 100, 4, 0},
                                        {"05/01/2001", 100, 5, 0},   {"10/01/2001", -500, 10, 1},
                                        {"20/01/2001", -500, 11, 0}, {"31/01/2001", -500, 0, 0}};
    ASSERT_EQ(con.righe.size(), attese.size());
    for (size_t k = 0; k < attese.size(); ++k) {
        SCOPED_TRACE(attese[k].data);
        EXPECT_EQ(con.righe[k].data, d(attese[k].data));
        EXPECT_DOUBLE_EQ(con.righe[k].saldo, attese[k].saldo);
        EXPECT_EQ(con.righe[k].giorni, attese[k].giorni);
        EXPECT_EQ(con.righe[k].movimenti, attese[k].movimenti);
    }
    EXPECT_EQ(con.righe[4].oltreFido, true);
    EXPECT_DOUBLE_EQ(con.righe[4].numeriEccedenza, 300 * 11);
    EXPECT_DOUBLE_EQ(con.totaleNumeriCreditori, senza.totaleNumeriCreditori);
    EXPECT_DOUBLE_EQ(con.totaleNumeriDebitori, senza.totaleNumeriDebitori);
    EXPECT_DOUBLE_EQ(con.massimoScoperto, senza.massimoScoperto);
    EXPECT_DOUBLE_EQ(con.massimaEccedenza, senza.massimaEccedenza);
}

} // namespace
} // namespace qv
