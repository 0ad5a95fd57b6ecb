#include "faults.h"

#include "bytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <climits>

namespace qv::test {

GuastoAlPasso::GuastoAlPasso(int passo, GuastoSimulato tipo, const QString& ripristinoFallito)
    : passo_(passo) {
    impostaGuastoModifiche(
        [this, tipo, ripristinoFallito](MomentoModifica momento, const QString& path) {
            if (momento == MomentoModifica::Ripristino)
                return !ripristinoFallito.isEmpty() && path.endsWith(ripristinoFallito)
                           ? GuastoSimulato::Errore
                           : GuastoSimulato::Nessuno;
            scritture_ << path;
            if (scritture_.size() != passo_) return GuastoSimulato::Nessuno;
            scattato_ = true;
            return tipo;
        });
}

GuastoAlPasso::~GuastoAlPasso() {
    impostaGuastoModifiche({});
}

std::map<QString, QByteArray> fileDi(const QString& cartella) {
    std::map<QString, QByteArray> file;
    const QDir dir(cartella);
    for (const QString& nome : dir.entryList(QDir::Files))
        file[nome] = readBytes(dir.filePath(nome));
    return file;
}

void rimettiFile(const QString& cartella, const std::map<QString, QByteArray>& file) {
    const QDir dir(cartella);
    for (const QString& nome : dir.entryList(QDir::Files | QDir::Hidden))
        if (!file.count(nome)) QFile::remove(dir.filePath(nome));
    for (const auto& [nome, byte] : file)
        writeBytes(dir.filePath(nome), byte);
}

std::map<QString, QByteArray> fileSotto(const QString& cartella) {
    std::map<QString, QByteArray> file;
    const QDir radice(cartella);
    QDirIterator it(cartella, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString percorso = it.next();
        file[radice.relativeFilePath(percorso)] = readBytes(percorso);
    }
    return file;
}

void rimettiSotto(const QString& cartella, const std::map<QString, QByteArray>& file) {
    QDir(cartella).removeRecursively();
    QDir().mkpath(cartella);
    for (const auto& [nome, byte] : file) {
        QDir().mkpath(QFileInfo(QDir(cartella).filePath(nome)).absolutePath());
        writeBytes(QDir(cartella).filePath(nome), byte);
    }
}

int provaModifica(const ProvaModifica& p) {
    // The writes of the change when nothing fails.
    QStringList scritture;
    p.prepara();
    {
        const GuastoAlPasso nessuno(INT_MAX);
        QString testo;
        EXPECT_TRUE(p.esegui(&testo)) << testo.toStdString();
        scritture = nessuno.scritture();
    }
    const int passi = int(scritture.size());
    EXPECT_GE(passi, 2) << "a change of several files";

    for (int passo = 1; passo <= passi; ++passo) {
        p.prepara();
        const auto prima = p.file();
        QString testo;
        bool fatto = true;
        {
            const GuastoAlPasso guasto(passo);
            fatto = p.esegui(&testo);
            EXPECT_TRUE(guasto.scattato()) << passo;
        }
        EXPECT_FALSE(fatto) << "failing write " << passo;
        EXPECT_FALSE(testo.isEmpty()) << passo;
        EXPECT_TRUE(p.file() == prima) << "failing write " << passo;
        EXPECT_FALSE(hasInterruptedChange(p.cartella)) << passo;
    }

    // The last write fails and the first file written cannot be put back: it is named.
    {
        p.prepara();
        const auto prima = p.file();
        const QString primo = QFileInfo(scritture.first()).fileName();
        QString testo;
        {
            const GuastoAlPasso guasto(passi, GuastoSimulato::Errore, primo);
            EXPECT_FALSE(p.esegui(&testo));
        }
        EXPECT_TRUE(testo.contains(QStringLiteral("non è stato possibile rimettere")))
            << testo.toStdString();
        EXPECT_TRUE(testo.contains(primo)) << testo.toStdString();
        EXPECT_TRUE(hasInterruptedChange(p.cartella));
        p.riapri();
        EXPECT_TRUE(p.file() == prima) << "reopened after a failed roll-back";
        EXPECT_FALSE(hasInterruptedChange(p.cartella));
    }

    // Stopped after each write, as a killed program stops: the next opening puts it back.
    for (int passo = 1; passo <= passi; ++passo) {
        p.prepara();
        const auto prima = p.file();
        {
            const GuastoAlPasso guasto(passo, GuastoSimulato::Interruzione);
            QString testo;
            EXPECT_FALSE(p.esegui(&testo)) << passo;
        }
        EXPECT_TRUE(hasInterruptedChange(p.cartella)) << passo;
        p.riapri();
        EXPECT_TRUE(p.file() == prima) << "stopped at write " << passo;
        EXPECT_FALSE(hasInterruptedChange(p.cartella)) << passo;
    }
    return passi;
}

} // namespace qv::test
