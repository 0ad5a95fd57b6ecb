#include "old_folder.h"

#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace qv::test {

namespace {

QByteArray checked(const QByteArray& b, int length) {
    EXPECT_EQ(b.size(), length);
    return b;
}

QByteArray count(qint16 n) {
    return le16(n);
}

} // namespace

QByteArray contoVecchioBytes(qint16 numero, const char* codice, const char* tipo, const char* banca,
                             const char* indirizzo, const char* cap, const char* localita,
                             const char* provincia, const char* riservato20, double fido,
                             const char* riservato) {
    return checked(le16(numero) + text(codice, 12) + text(tipo, 30) + text(banca, 45) +
                       text(indirizzo, 45) + text(cap, 5) + text(localita, 25) +
                       text(provincia, 2) + text(riservato20, 20) + leDouble(fido) +
                       text(riservato, 1),
                   195);
}

QByteArray movimentoVecchioBytes(qint16 numero, const char* dataOp, const char* dataVal,
                                 const char* causale, double importo, const char* documento,
                                 const char* descrizione, const char* sospeso,
                                 const char* entrataUscita, const char* annullato) {
    return checked(le16(numero) + text(dataOp, 8) + text(dataVal, 8) + text(causale, 5) +
                       leDouble(importo) + text(documento, 8) + text(descrizione, 30) +
                       text(sospeso, 1) + text(entrataUscita, 1) + text(annullato, 1),
                   72);
}

QByteArray totaliVecchiBytes(double nonSospesi, double valutaOggi, double operazioneOggi,
                             double contabile, const QByteArray& prima, const QByteArray& ultima,
                             const QByteArray& primaValuta, const QByteArray& ultimaValuta) {
    return checked(leDouble(nonSospesi) + leDouble(valutaOggi) + leDouble(operazioneOggi) +
                       leDouble(contabile) + prima + ultima + primaValuta + ultimaValuta,
                   64);
}

QByteArray carnetVecchioBytes(qint16 movimentoCosto, qint16 numero, const char* dataRitiro,
                              double costo, qint32 primo, qint32 ultimo, const char* esaurito,
                              qint16 daAllineare, const char* allineato,
                              const QByteArray& riservato) {
    return checked(le16(movimentoCosto) + le16(numero) + text(dataRitiro, 8) + leDouble(costo) +
                       le32(primo) + le32(ultimo) + text(esaurito, 1) + le16(daAllineare) +
                       text(allineato, 1) + riservato,
                   34);
}

QByteArray foglioVecchioBytes(qint16 movimento, qint16 progressivo, qint16 carnet, qint32 assegno,
                              const char* data, double importo, const char* traente,
                              const char* note, const char* allineato, const char* riservato,
                              const char* annullato) {
    return checked(le16(movimento) + le16(progressivo) + le16(carnet) + le32(assegno) +
                       text(data, 8) + leDouble(importo) + text(traente, 30) + text(note, 30) +
                       text(allineato, 1) + text(riservato, 1) + text(annullato, 1),
                   89);
}

QByteArray interessiVecchiBytes(const char* const (&date)[5], const float (&tassi)[5]) {
    QByteArray b;
    for (const char* d : date)
        b += text(d, 8);
    for (const float t : tassi)
        b += leFloat(t);
    return checked(b, 60);
}

QByteArray chiVecchioBytes(const char* data, double saldo, const char* codice) {
    return checked(text(data, 8) + leDouble(saldo) + text(codice, 8), 24);
}

QByteArray ripVecchioBytes(const char* data, double saldo) {
    return checked(text(data, 8) + leDouble(saldo), 16);
}

QByteArray iatBytes(const char* const (&date)[5], const float (&tassi)[5]) {
    QByteArray b;
    for (const char* d : date)
        b += text(d, 10);
    for (const float t : tassi)
        b += leFloat(t);
    return checked(b, 70);
}

QByteArray ipaBytes(const char* const (&date)[5], const float (&entro)[5],
                    const float (&fuori)[5]) {
    QByteArray b;
    for (const char* d : date)
        b += text(d, 10);
    for (const float t : entro)
        b += leFloat(t);
    for (const float t : fuori)
        b += leFloat(t);
    return checked(b, 90);
}

QByteArray chiBytes(const char* data, double saldo, const char* codice) {
    return checked(text(data, 10) + leDouble(saldo) + text(codice, 12), 30);
}

QByteArray ripBytes(const char* data, double saldo) {
    return checked(text(data, 10) + leDouble(saldo), 18);
}

QByteArray convConBytes(const char* data, const QByteArray& riservato2) {
    return checked(text(data, 12) + text("", 11) + "S" + riservato2, 25);
}

std::map<QString, QByteArray> folderContents(const QString& folder) {
    std::map<QString, QByteArray> files;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[base.relativeFilePath(path)] = readBytes(path);
    }
    return files;
}

void writeOldFolder(const QString& f) {
    writeBytes(f + "RecConti.dat", count(2));
    writeBytes(
        f + "CONTI.DAT",
        contoVecchioBytes(1, "A1", "Conto corrente", "Banca Uno", "Via Roma 1", "00100", "Roma",
                          "RM", "RISERVATO-VECCHIO-20", 5000000.0, "R") +
            contoVecchioBytes(2, "CONTOLUNGO12", "Deposito", "Banca Due", "Corso Italia 2", "20121",
                              "Milano", "MI", "", 0.0, "") +
            contoVecchioBytes(3, "ZZ", "Vecchio", "Banca Tolta", "", "", "", "", "", 1.0, ""));

    // "A1": the spellings of the previous release.
    const QByteArray m1 = movimentoVecchioBytes(1, "12/05/98", "14/05/98", "VE", 1500.5, "",
                                                "Stipendio", "N", "E", "N");
    const QByteArray m2 = movimentoVecchioBytes(2, "03/01/00", "05/01/00", "AS", 250.0, "1000001",
                                                "Mario Rossi", "N", "U", "N");
    const QByteArray m3 = movimentoVecchioBytes(3, "15/02/03", "__/__/__", "PR", 99.99, "",
                                                "Prelievo", "S", "U", "N");
    const QByteArray stale = movimentoVecchioBytes(4, "01/01/99", "01/01/99", "XX", 1.0, "",
                                                   "cancellato", "N", "E", "N");
    writeBytes(f + "A1.mor", count(3));
    writeBytes(f + "A1.mov", m1 + m2 + m3 + stale);
    writeBytes(f + "A1.ord", m3 + m1 + m2);
    writeBytes(f + "A1.tot", totaliVecchiBytes(1000, 900, 800, 700, "12/05/98", "15/02/03",
                                               QByteArray(8, '\0'), "00/00/00"));
    writeBytes(f + "A1.NRC", count(1));
    writeBytes(f + "A1.CAR", carnetVecchioBytes(0, 1, "10/05/98", 3.5, 1000001, 1000010, "N", 9,
                                                "N", QByteArray("\x01\x02", 2)));
    writeBytes(f + "A1.NRF", count(2));
    writeBytes(f + "A1.FOG",
               foglioVecchioBytes(2, 1, 1, 1000001, "03/01/00", 250.0, "Mario Rossi", "affitto",
                                  "N", " ", "N") +
                   foglioVecchioBytes(0, 2, 1, 1000002, "00/00/00", 0.0, "", "", "N", " ", "N"));
    writeBytes(f + "A1.Iat",
               interessiVecchiBytes({"01/01/98", "01/07/01", "__/__/__", "__/__/__", "        "},
                                    {1.5F, 2.25F, 0, 0, 0}));
    writeBytes(f + "A1.Ipa",
               interessiVecchiBytes({"01/01/98", "__/__/__", "__/__/__", "__/__/__", "__/__/__"},
                                    {9.5F, 0, 0, 0, 0}));
    writeBytes(f + "A1.chi", chiVecchioBytes("31/12/97", 1234.5, "A1"));
    writeBytes(f + "A1.rip", ripVecchioBytes("31/12/99", 2000.25));
    writeBytes(f + "A1.Opz", QByteArray(107, 'o'));

    // "CONTOLUNGO12": files copied with upper-case names, no list order, no rates.
    writeBytes(f + "CONTOLUNGO12.MOR", count(1));
    writeBytes(f + "CONTOLUNGO12.MOV", movimentoVecchioBytes(1, "29/02/00", "01/03/00", "BON", 10.0,
                                                             "", "Bonifico", "N", "E", "N"));
    writeBytes(f + "CONTOLUNGO12.TOT",
               totaliVecchiBytes(10, 10, 10, 10, "29/02/00", "29/02/00", "01/03/00", "01/03/00"));
    writeBytes(f + "CONTOLUNGO12.CHI", chiVecchioBytes("31/12/99", 55.5, "CONTOLUN"));
    writeBytes(f + "CONTOLUNGO12.RIP", ripVecchioBytes("31/12/01", 65.5));
}

std::map<QString, QByteArray> convertedOldFolder(const char* oggi) {
    std::map<QString, QByteArray> files;
    files["RecConti.dat"] = count(2);
    files["CONTI.DAT"] = contoBytes({.numero = 1,
                                     .codice = "A1",
                                     .tipo = "Conto corrente",
                                     .banca = "Banca Uno",
                                     .indirizzo = "Via Roma 1",
                                     .cap = "00100",
                                     .localita = "Roma",
                                     .provincia = "RM",
                                     .fido = 5000000.0,
                                     .riservato = "R"}) +
                         contoBytes({.numero = 2,
                                     .codice = "CONTOLUNGO12",
                                     .tipo = "Deposito",
                                     .banca = "Banca Due",
                                     .indirizzo = "Corso Italia 2",
                                     .cap = "20121",
                                     .localita = "Milano",
                                     .provincia = "MI"});

    const QByteArray m1 = movimentoBytes(
        {1, "12/05/1998", "14/05/1998", "VE", 1500.5, "", "Stipendio", "N", "E", "N"});
    const QByteArray m2 = movimentoBytes(
        {2, "03/01/2000", "05/01/2000", "AS", 250.0, "1000001", "Mario Rossi", "N", "U", "N"});
    const QByteArray m3 =
        movimentoBytes({3, "15/02/2003", "__/__/____", "PR", 99.99, "", "Prelievo", "S", "U", "N"});
    files["A1.mor"] = count(3);
    files["A1.mov"] = m1 + m2 + m3;
    files["A1.ord"] = m3 + m1 + m2;
    files["A1.tot"] = totaliBytes(1000, 900, 800, 700, "12/05/1998", "15/02/2003", oggi, oggi);
    files["A1.NRC"] = count(1);
    files["A1.CAR"] = carnetBytes(
        {0, 1, "10/05/1998", 3.5, 1000001, 1000010, "N", 9, "N", QByteArray("\x01\x02", 2)});
    files["A1.NRF"] = count(2);
    files["A1.FOG"] = foglioBytes({2, 1, 1, 1000001, "03/01/2000", 250.0, "Mario Rossi", "affitto",
                                   "N", " ", "N"}) +
                      foglioBytes({0, 2, 1, 1000002, "00/00/0000", 0.0, "", "", "N", " ", "N"});
    files["A1.Iat"] = iatBytes({"01/01/1998", "01/07/2001", "__/__/____", "__/__/____", ""},
                               {1.5F, 2.25F, 0, 0, 0});
    files["A1.Ipa"] =
        ipaBytes({"01/01/1998", "__/__/____", "__/__/____", "__/__/____", "__/__/____"},
                 {9.5F, 0, 0, 0, 0}, {9.5F, 0, 0, 0, 0});
    files["A1.chi"] = chiBytes("31/12/1997", 1234.5, "A1");
    files["A1.rip"] = ripBytes("31/12/1999", 2000.25);
    files["A1.Opz"] = QByteArray(107, 'o');

    files["CONTOLUNGO12.MOR"] = count(1);
    files["CONTOLUNGO12.MOV"] =
        movimentoBytes({1, "29/02/2000", "01/03/2000", "BON", 10.0, "", "Bonifico", "N", "E", "N"});
    files["CONTOLUNGO12.TOT"] =
        totaliBytes(10, 10, 10, 10, "29/02/2000", "29/02/2000", "01/03/2000", "01/03/2000");
    files["CONTOLUNGO12.CHI"] = chiBytes("31/12/1999", 55.5, "CONTOLUNGO12");
    files["CONTOLUNGO12.RIP"] = ripBytes("31/12/2001", 65.5);

    files["Conv.con"] = convConBytes(oggi, QByteArray(1, '\0'));
    return files;
}

} // namespace qv::test
