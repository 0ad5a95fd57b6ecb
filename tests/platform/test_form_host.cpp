// The form host: loading, hiding, unloading, modal forms and the Activate rule.
#include "platform/form_host.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// A form with one text box and one button whose click runs `onClick` as a
// handler of the form.
template <int N> class TestForm : public qv::Form {
public:
    TestForm() {
        setObjectName(QStringLiteral("TestForm%1").arg(N));
        Testo = new QLineEdit(this);
        Testo->setObjectName(QStringLiteral("Testo"));
        OK = new QPushButton(QStringLiteral("Conferma"), this);
        OK->setObjectName(QStringLiteral("OK"));
        OK->move(0, 40);
        connect(OK, &QPushButton::clicked, this, handler([this] {
                    if (onClick) onClick();
                }));
    }
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_Unload(bool& cancel) override {
        ++unloadCalls;
        cancel = refuseUnload;
    }

    QLineEdit* Testo;
    QPushButton* OK;
    std::function<void()> onClick;
    int loads = 0;
    int activations = 0;
    int unloadCalls = 0;
    bool refuseUnload = false;
};
using FormA = TestForm<1>;
using FormB = TestForm<2>;
using FormM = TestForm<3>;

class FormHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::formHost().resetForTests();
        qv::setMessageResponder([this](const qv::MessageRecord& r) {
            boxes.push_back(r);
            if (duringBox) duringBox();
            return qv::MessageAnswer::Ok;
        });
    }
    void TearDown() override {
        qv::formHost().resetForTests();
        qv::formHost().setMdiArea(nullptr);
        qv::formHost().setMainWindow(nullptr);
        qv::setMessageResponder({});
    }
    std::vector<qv::MessageRecord> boxes;
    std::function<void()> duringBox;
};

TEST_F(FormHostTest, LoadRunsOncePerLoadAndUnloadDiscardsTheForm) {
    auto& host = qv::formHost();
    EXPECT_EQ(host.loaded<FormA>(), nullptr);
    FormA& a = host.form<FormA>();
    EXPECT_EQ(a.loads, 1);
    EXPECT_EQ(&host.form<FormA>(), &a);
    EXPECT_EQ(a.loads, 1);
    EXPECT_EQ(host.loaded<FormA>(), &a);

    a.Testo->setText(QStringLiteral("scritto"));
    a.refuseUnload = true;
    EXPECT_FALSE(host.unload(a));
    EXPECT_EQ(host.loaded<FormA>(), &a);

    a.refuseUnload = false;
    QPointer<FormA> old(&a);
    EXPECT_TRUE(host.unload(a));
    EXPECT_EQ(a.unloadCalls, 2);
    EXPECT_EQ(host.loaded<FormA>(), nullptr);

    FormA& again = host.form<FormA>();
    EXPECT_NE(&again, old.data());
    EXPECT_EQ(again.loads, 1);
    EXPECT_TRUE(again.Testo->text().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
}

TEST_F(FormHostTest, HideKeepsStateAndShowingAgainActivates) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    host.show(a);
    EXPECT_TRUE(a.isShown());
    EXPECT_EQ(a.activations, 1);
    a.Testo->setText(QStringLiteral("resta"));

    host.hide(a);
    EXPECT_FALSE(a.isShown());
    EXPECT_EQ(host.loaded<FormA>(), &a);
    EXPECT_EQ(a.Testo->text(), QStringLiteral("resta"));

    host.show(a);
    EXPECT_EQ(a.activations, 2);
    EXPECT_EQ(a.loads, 1);
    // Showing a form that is already the active one changes nothing.
    host.show(a);
    EXPECT_EQ(a.activations, 2);
}

TEST_F(FormHostTest, ActivateRunsOnSwitchingBackButNotWhenItsOwnMessageBoxCloses) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    FormB& b = host.form<FormB>();
    host.show(a);
    host.show(b);
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(b.activations, 1);

    host.activate(a);
    EXPECT_EQ(a.activations, 2);

    // The box takes the window away and gives it back while the handler runs,
    // and once more after it: neither is a switch from another window.
    duringBox = [&] { host.activate(a); };
    a.onClick = [] { qv::messageBox(QStringLiteral("Attenzione")); };
    QTest::mouseClick(a.OK, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    host.activate(a);
    EXPECT_EQ(a.activations, 2);

    host.activateMainWindow();
    host.activate(a);
    EXPECT_EQ(a.activations, 3);
    EXPECT_EQ(b.activations, 1);
}

TEST_F(FormHostTest, ActivationArrivingDuringAHandlerWaitsUntilItEnds) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    FormB& b = host.form<FormB>();
    host.show(a);
    int seenInsideHandler = -1;
    a.onClick = [&] {
        host.show(b);     // another window becomes active
        host.activate(a); // and the user comes back before the handler ended
        seenInsideHandler = a.activations;
    };
    QTest::mouseClick(a.OK, Qt::LeftButton);
    EXPECT_EQ(seenInsideHandler, 1);
    EXPECT_EQ(a.activations, 2);
    EXPECT_EQ(b.activations, 1);
}

TEST_F(FormHostTest, ModalHookActsOnTheFormAndItsClosingDoesNotReactivateTheCaller) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    host.show(a);
    FormM& m = host.form<FormM>();
    m.onClick = [&] { host.hide(m); };

    bool wasShownInHook = false;
    host.setModalHook([&](qv::Form& f) {
        ASSERT_EQ(&f, &m);
        wasShownInHook = f.isShown();
        auto* field = f.findChild<QLineEdit*>(QStringLiteral("Testo"));
        QTest::keyClicks(field, QStringLiteral("123"));
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("OK")), Qt::LeftButton);
    });
    a.onClick = [&] { host.showModal(m); };
    QTest::mouseClick(a.OK, Qt::LeftButton);

    EXPECT_TRUE(wasShownInHook);
    EXPECT_FALSE(m.isShown());
    EXPECT_EQ(m.Testo->text(), QStringLiteral("123"));
    EXPECT_EQ(m.activations, 1);
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(host.activeForm(), &a);

    // A hook that unloads the form ends the modal part as well.
    host.setModalHook([&](qv::Form& f) { host.unload(f); });
    host.showModal(host.form<FormM>());
    EXPECT_EQ(host.loaded<FormM>(), nullptr);
}

TEST_F(FormHostTest, AFailingHandlerIsStoppedAndReported) {
    FormA& a = qv::formHost().form<FormA>();
    a.onClick = [] { throw std::runtime_error("indice fuori limite"); };
    QTest::mouseClick(a.OK, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Errore interno: indice fuori limite"));
    EXPECT_FALSE(a.handlerRunning());
}

TEST_F(FormHostTest, ChildWindowsOfTheMainWindowCloseAsTheFormAsks) {
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.resize(800, 600);
    main.show();
    auto& host = qv::formHost();
    host.setMainWindow(&main);
    host.setMdiArea(area);

    FormA& a = host.form<FormA>();
    FormB& b = host.form<FormB>();
    b.setCloseHides(true);
    host.show(a);
    host.show(b);
    ASSERT_NE(qobject_cast<QMdiSubWindow*>(a.parentWidget()), nullptr);
    EXPECT_EQ(area->subWindowList().size(), 2);

    qobject_cast<QMdiSubWindow*>(b.parentWidget())->close();
    EXPECT_EQ(host.loaded<FormB>(), &b);
    EXPECT_FALSE(b.isShown());

    // A form that hides itself takes its child window along.
    auto* subA = qobject_cast<QMdiSubWindow*>(a.parentWidget());
    a.hide();
    EXPECT_TRUE(subA->isHidden());
    EXPECT_FALSE(a.isShown());
    host.show(a);
    EXPECT_FALSE(subA->isHidden());
    EXPECT_TRUE(a.isVisible());

    subA->close();
    EXPECT_EQ(host.loaded<FormA>(), nullptr);
    EXPECT_EQ(area->subWindowList().size(), 1);

    // A form may unload itself from its own handler and go on running it.
    FormA& c = host.form<FormA>();
    host.show(c);
    bool ranToTheEnd = false;
    c.onClick = [&] {
        host.unload(c);
        c.Testo->setText(QStringLiteral("ancora vivo"));
        ranToTheEnd = true;
    };
    QTest::mouseClick(c.OK, Qt::LeftButton);
    EXPECT_TRUE(ranToTheEnd);
    EXPECT_EQ(host.loaded<FormA>(), nullptr);
}

TEST_F(FormHostTest, TilingPutsWindowsSideBySideOrOneAboveTheOther) {
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.resize(800, 600);
    main.show();
    auto& host = qv::formHost();
    host.setMdiArea(area);
    host.show(host.form<FormA>());
    host.show(host.form<FormB>());
    auto* sa = qobject_cast<QMdiSubWindow*>(host.form<FormA>().parentWidget());
    auto* sb = qobject_cast<QMdiSubWindow*>(host.form<FormB>().parentWidget());
    const QRect space = area->viewport()->rect();

    qv::arrangeWindows(area, qv::WindowArrangement::TileVertical);
    EXPECT_EQ(sa->geometry(), QRect(0, 0, space.width() / 2, space.height()));
    EXPECT_EQ(sb->geometry().left(), space.width() / 2);

    qv::arrangeWindows(area, qv::WindowArrangement::TileHorizontal);
    EXPECT_EQ(sa->geometry(), QRect(0, 0, space.width(), space.height() / 2));
    EXPECT_EQ(sb->geometry().top(), space.height() / 2);
}

} // namespace

namespace {

TEST(FitInsideTest, AWindowIsMovedAndIfItMustShrunkIntoItsSpace) {
    const QRect space(0, 0, 800, 600);
    struct Caso {
        QRect finestra, attesa;
    };
    for (const Caso& c : {
             Caso{{10, 20, 300, 200}, {10, 20, 300, 200}},     // already inside
             Caso{{700, 500, 300, 200}, {500, 400, 300, 200}}, // past the bottom right
             Caso{{-50, -30, 300, 200}, {0, 0, 300, 200}},     // past the top left
             Caso{{100, 100, 900, 700}, {0, 0, 800, 600}},     // bigger than the space
             Caso{{100, 100, 400, 700}, {100, 0, 400, 600}},   // taller only
         })
        EXPECT_EQ(qv::fitInside(c.finestra, space), c.attesa)
            << c.finestra.x() << "," << c.finestra.y();
    // A space with an offset (a screen right of another).
    EXPECT_EQ(qv::fitInside({0, 0, 200, 100}, QRect(1280, 0, 1024, 768)), QRect(1280, 0, 200, 100));
}

TEST_F(FormHostTest, TheProgramsEndLetsEveryFormGoWhateverItAnswers) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    FormB& b = host.form<FormB>();
    b.refuseUnload = true;
    host.show(a);
    int* unloadsA = &a.unloadCalls;
    int* unloadsB = &b.unloadCalls;
    EXPECT_EQ(*unloadsA, 0);
    EXPECT_EQ(*unloadsB, 0);
    host.letAllGo();
    EXPECT_EQ(host.loaded<FormA>(), nullptr);
    EXPECT_EQ(host.loaded<FormB>(), nullptr);
    EXPECT_EQ(*unloadsA, 1);
    EXPECT_EQ(*unloadsB, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(FormHostTest, AMessageBoxGivesTheKeyboardBackToItsWindow) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    host.show(a);
    QApplication::setActiveWindow(&a);
    ASSERT_EQ(QApplication::activeWindow(), &a);
    // The box takes the activation while it is up and, as on a desktop without a window
    // manager, leaves no window active when it closes.
    duringBox = [] { QApplication::setActiveWindow(nullptr); };
    int lookups = 0;
    qv::messageBox(QStringLiteral("CODICE CAUSALE NON PRESENTE!"));
    EXPECT_EQ(QApplication::activeWindow(), &a);
    // Focus moves inside the window are heard again.
    struct Spia : QObject {
        int* n;
        explicit Spia(int* c) : n(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::FocusIn) ++*n;
            return false;
        }
    } spia(&lookups);
    a.OK->installEventFilter(&spia);
    a.OK->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(lookups, 1);
}

TEST_F(FormHostTest, EnterOnAFocusedButtonPressesIt) {
    auto& host = qv::formHost();
    FormA& a = host.form<FormA>();
    int clicks = 0;
    a.onClick = [&] { ++clicks; };
    host.show(a);
    QTest::keyClick(a.OK, Qt::Key_Return);
    QTest::keyClick(a.OK, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks, 2);
    // Enter elsewhere, or on a disabled button, presses nothing.
    QTest::keyClick(a.Testo, Qt::Key_Return);
    a.OK->setEnabled(false);
    QTest::keyClick(a.OK, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}

} // namespace
