#include "app/avvio.h"

#include "common/paths.h"
#include "common/shared_state.h"
#include "platform/translation.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDir>

namespace qv {

std::unique_ptr<MDIForm1> avviaQuorvanta() {
    QApplication::setApplicationName(QStringLiteral("Quorvanta"));
    installItalianTranslation();
    initShellResources();

    stato().PercorsoProgramma = defaultProgramFolder();
    QDir().mkpath(stato().PercorsoProgramma);

    auto window = std::make_unique<MDIForm1>();
    window->Load();
    return window;
}

} // namespace qv
