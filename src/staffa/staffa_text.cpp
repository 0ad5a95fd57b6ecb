#include "staffa/staffa_text.h"

#include "common/amounts.h"
#include "common/dates.h"

namespace qv {

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kCourier = QStringLiteral("Courier New");
constexpr double kTitolo = 18;
constexpr double kConto = 12;
constexpr double kCorpo = 9.75;

// Row lines a page holds before the count reaches the page end: the count is 1 after a
// header and the row that brings it to 55 goes to the next page.
constexpr int kFinePagina = 55;
// The depth the empty lines after the summary fill down to.
constexpr int kFondoPagina = 47;

QString spazi(int n) {
    return QString(n, QLatin1Char(' '));
}

QString trattini(int n) {
    return QString(n, QLatin1Char('-'));
}

// A number printed as an item: a blank in place of the sign of a positive number, the
// digits and a blank after them.
QString voceNumero(int n) {
    return (n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n)) + QLatin1Char(' ');
}

// A value formatted and right-aligned in 16, appended to a line.
void colonna(QString& riga, double valore, const NumberFormat& formato) {
    const QString testo = formato(valore);
    if (testo.size() < 16) riga.append(QString(16 - testo.size(), QLatin1Char(' ')));
    riga.append(testo);
}

QString colonna(double valore, const NumberFormat& formato) {
    QString riga;
    colonna(riga, valore, formato);
    return riga;
}

// The days, with a blank in place of the sign, right-aligned in 4.
void colonnaGiorni(QString& riga, int giorni) {
    const QString testo =
        giorni < 0 ? QString::number(giorni) : QLatin1Char(' ') + QString::number(giorni);
    if (testo.size() < 4) riga.append(QString(4 - testo.size(), QLatin1Char(' ')));
    riga.append(testo);
}

// The part the balance line and the excess line share: the date, the amount and the
// days, each with the blanks before it.
QString inizioRiga(QLatin1String descrizione, const RigaStaffa& r, double importo,
                   const NumberFormat& formato) {
    QString riga;
    riga.reserve(72);
    riga.append(descrizione);
    riga.append(testoDaData(r.data));
    riga.append(QLatin1String("  "));
    colonna(riga, importo, formato);
    riga.append(QLatin1Char(' '));
    colonnaGiorni(riga, r.giorni);
    riga.append(QLatin1Char(' '));
    return riga;
}

} // namespace

QString voceDataStaffa(QDate data) {
    return QLatin1Char(' ') + QString::number(qint64(DataInNumero(data))) + QLatin1Char(' ') +
           testoDaData(data);
}

QString rigaSaldoStaffa(const RigaStaffa& r, const NumberFormat& formato) {
    QString riga = inizioRiga(QLatin1String("    "), r, r.saldoRiga, formato);
    if (r.debitoria()) {
        colonna(riga, r.numeriDebitori(), formato);
    } else {
        riga.append(spazi(17));
        colonna(riga, r.numeriCreditori(), formato);
    }
    return riga;
}

QString rigaEccedenzaStaffa(const RigaStaffa& r, const NumberFormat& formato) {
    QString riga = inizioRiga(QLatin1String("EC  "), r, r.eccedenza, formato);
    colonna(riga, r.numeriEccedenza, formato);
    return riga;
}

QStringList righeListaStaffa(const RisultatoStaffa& st, const QString& schema) {
    const NumberFormat formato(schema);
    QStringList righe;
    righe.reserve(qsizetype(st.righe.size()) * 2 + 8);
    for (const RigaStaffa& r : st.righe) {
        righe << rigaSaldoStaffa(r, formato);
        if (r.oltreFido) righe << rigaEccedenzaStaffa(r, formato);
    }
    const QString regola = trattini(87);
    righe << regola << QStringLiteral("Liq. finale     ") + colonna(st.saldoFinale(), formato);
    righe << regola
          << spazi(29) + QStringLiteral("Totali   ") + colonna(st.totaleNumeriDebitori, formato) +
                 QLatin1Char(' ') + colonna(st.totaleNumeriCreditori, formato);
    righe << regola
          << QStringLiteral(" massima eccedenza/estrafido Lire     ") +
                 colonna(-st.massimaEccedenza, formato);
    if (st.massimoScoperto != 0)
        righe << regola
              << QStringLiteral(" massimo scoperto            Lire     ") +
                     colonna(st.scopertoMassimo(), formato);
    return righe;
}

std::vector<RigaStampaStaffa>
stampaStaffa(const RisultatoStaffa& st, const IntestazioneStampaStaffa& i, const QString& schema) {
    const NumberFormat formato(schema);
    std::vector<RigaStampaStaffa> stampa;
    stampa.reserve(st.righe.size() * 2 + 64);
    bool nuovaPagina = false;
    const auto riga = [&](const QString& testo, const QString& carattere, double punti,
                          bool grassetto = false) {
        stampa.push_back({testo, carattere, punti, grassetto, nuovaPagina});
        nuovaPagina = false;
    };
    const auto corpo = [&](const QString& testo) { riga(testo, kCourier, kCorpo); };

    const auto intestazione = [&] {
        riga(QString(), kArial, kTitolo);
        riga(spazi(40) + QStringLiteral("Staffa "), kArial, kTitolo);
        riga(spazi(37), kArial, kTitolo);
        riga(i.banca + spazi(2) + spazi(23) + QStringLiteral("Stampato il ") +
                 i.stampatoIl.toString(QStringLiteral("dd-MM-yyyy")) + spazi(9) +
                 QStringLiteral("Valuta: ") + i.valuta,
             kArial, kConto);
        riga(QString(), kArial, kConto);
        riga(QStringLiteral("    dal ") + i.dal + QStringLiteral(" al ") + i.al + spazi(3),
             kCourier, kCorpo, true);
        corpo(QLatin1Char(' ') + trattini(80));
        corpo(QStringLiteral(" De   Valuta      Saldi Valuta  giorni   Numeri Debitori   "
                             "Numeri Creditori"));
        corpo(QLatin1Char(' ') + trattini(80));
        corpo(QString());
    };

    int pagina = 1;
    int righeStampate = 1;
    intestazione();
    const auto rigaContata = [&](const QString& testo) {
        if (++righeStampate == kFinePagina) {
            corpo(QLatin1Char(' ') + trattini(95));
            corpo(QString());
            corpo(spazi(42) + QStringLiteral("Pagina ") + voceNumero(pagina));
            nuovaPagina = true;
            intestazione();
            righeStampate = 1;
            ++pagina;
        }
        corpo(QLatin1Char(' ') + testo);
    };
    for (const RigaStaffa& r : st.righe) {
        rigaContata(rigaSaldoStaffa(r, formato));
        if (r.oltreFido) rigaContata(rigaEccedenzaStaffa(r, formato));
    }

    // The summary's labels are one character longer than the window's, so that the
    // amounts stand under the printed rows, which start with a blank.
    const QString regola = trattini(87);
    corpo(regola);
    corpo(QStringLiteral("Liq. finale      ") + colonna(st.saldoFinale(), formato));
    corpo(regola);
    corpo(spazi(30) + QStringLiteral("Totali   ") + colonna(st.totaleNumeriDebitori, formato) +
          QLatin1Char(' ') + colonna(st.totaleNumeriCreditori, formato));
    corpo(regola);
    corpo(QStringLiteral(" massima eccedenza/extra fido  Lire    ") +
          colonna(-st.massimaEccedenza, formato));
    if (st.massimoScoperto != 0) {
        corpo(QLatin1Char(' ') + trattini(94));
        corpo(QStringLiteral("     Massimo scoperto          Lire    ") +
              colonna(st.scopertoMassimo(), formato));
    }

    for (int k = righeStampate; k < kFondoPagina; ++k)
        corpo(QString());
    corpo(QString());
    corpo(QLatin1Char(' ') + trattini(94));
    corpo(spazi(43) + QStringLiteral("Pagina ") + voceNumero(pagina) + spazi(17) +
          QStringLiteral(".....fine stampa"));
    return stampa;
}

} // namespace qv
