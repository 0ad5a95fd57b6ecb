// The web engine comes into the program with the first web page, not at start-up.
#include "platform/web_page.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace qv;

namespace {

bool engineInProcess() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    return maps.readAll().contains("libQt6WebEngineCore");
}

} // namespace

TEST(WebPage, TheEngineIsLoadedByTheFirstPageAndShowsALocalPage) {
    // The program (here the platform layer and the test) does not link the engine.
    EXPECT_FALSE(engineInProcess());
    EXPECT_FALSE(webEngineLoaded());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pagina.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><head><title>Pagina locale</title></head><body>Prova</body></html>");
    file.close();

    QWidget window;
    int started = 0;
    std::vector<bool> finished;
    WebPageEvents events;
    events.loadStarted = [&] { ++started; };
    events.loadFinished = [&](bool ok) { finished.push_back(ok); };
    EsitoCon<std::unique_ptr<WebPage>> creata = createWebPage(&window, &window, events);
    ASSERT_TRUE(creata.ok()) << creata.esito.testo.toStdString();
    std::unique_ptr<WebPage> page = std::move(creata.valore);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(engineInProcess());
    EXPECT_TRUE(webEngineLoaded());
    EXPECT_EQ(page->widget()->parentWidget(), &window);
    EXPECT_EQ(static_cast<void*>(page->widget()), static_cast<void*>(page->view()));
    EXPECT_TRUE(page->url().isEmpty());

    page->load(QUrl::fromLocalFile(path));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.empty(); }, 30000));
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_TRUE(finished.front());
    EXPECT_GE(started, 1);
    EXPECT_EQ(page->url(), QUrl::fromLocalFile(path));
    EXPECT_EQ(page->title(), QStringLiteral("Pagina locale"));

    // A second page needs no second loading.
    EsitoCon<std::unique_ptr<WebPage>> second = createWebPage(&window, &window, {});
    EXPECT_TRUE(second.ok());
    EXPECT_NE(second.valore, nullptr);
}

// The engine's sandbox refuses the administrator and the engine then ends the program:
// the browser stays closed for root unless the sandbox was turned off on purpose.
TEST(WebPage, TheAdministratorIsToldWhyTheBrowserStaysClosed) {
    struct Caso {
        bool administrator;
        bool sandboxDisabled;
        bool refused;
    };
    for (const Caso& c : {Caso{true, false, true}, Caso{true, true, false},
                          Caso{false, false, false}, Caso{false, true, false}}) {
        const QString reason = webEngineRefusal(c.administrator, c.sandboxDisabled);
        EXPECT_EQ(!reason.isEmpty(), c.refused) << c.administrator << c.sandboxDisabled;
        if (c.refused) {
            EXPECT_TRUE(reason.startsWith(
                QStringLiteral("Il browser non può essere aperto dall'utente amministratore")));
        }
    }
}
