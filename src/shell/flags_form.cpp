#include "flags_form.h"

#include <QStringList>

#include <array>

// Q_INIT_RESOURCE names a function of the global namespace.
static void registerShellResources() {
    Q_INIT_RESOURCE(shell);
}

namespace qv {

namespace {

// The fifteen currency lines in list order; the flag of line n is flags/n.png.
constexpr std::array<const char*, 15> LineeOrdinate = {
    "Dollaro - USA",
    "Escudo - Portogallo",
    "Euro - Unione Europea",
    "Fiorino - Olanada",
    "Franco - Belgio",
    "Franco - Francia",
    "Franco - Lussemburgo",
    "Lira - Italia",
    "Marco - Finlandia",
    "Marco - Germania",
    "Peseta - Spagna",
    "Scellino - Austria",
    "Sterlina - Gran Bretagna",
    "Sterlina - Irlanda",
    "Yen - Giappone",
};

} // namespace

void initShellResources() {
    static const bool registered = [] {
        registerShellResources();
        return true;
    }();
    Q_UNUSED(registered);
}

int numeroBandiera(const QString& lineaValuta) {
    const QString linea = lineaValuta.trimmed();
    if (linea.isEmpty()) return 0;
    for (int i = 0; i < int(LineeOrdinate.size()); ++i)
        if (linea == QLatin1String(LineeOrdinate[i])) return i + 1;
    return 0;
}

QPixmap bandieraValuta(const QString& lineaValuta) {
    const int numero = numeroBandiera(lineaValuta);
    if (numero == 0) return {};
    initShellResources();
    return QPixmap(QStringLiteral(":/flags/%1.png").arg(numero));
}

} // namespace qv
