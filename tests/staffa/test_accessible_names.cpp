// Every field of every window has a name that assistive technology reads: its own
// accessible name, or the text of the label beside it whose buddy it is ("Dal" for the
// staffa's start date).
#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "archives/causale_picker_form.h"
#include "archives/causali_form.h"
#include "archives/causali_maintenance_form.h"
#include "cheques/annulled_form.h"
#include "cheques/book_form.h"
#include "cheques/book_list_form.h"
#include "cheques/cheque_form.h"
#include "cheques/situation_form.h"
#include "common/shared_state.h"
#include "conditions/conditions_form.h"
#include "conditions/other_options_form.h"
#include "ledger/alignment_form.h"
#include "ledger/entry_form.h"
#include "ledger/listed_change_form.h"
#include "ledger/period_list_form.h"
#include "ledger/summary_form.h"
#include "ledger/transfer_form.h"
#include "maintenance/backup_form.h"
#include "maintenance/closing_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "reports/print_menu_form.h"
#include "shell/browser_form.h"
#include "shell/colours_form.h"
#include "shell/converter_form.h"
#include "shell/currency_form.h"
#include "shell/help_form.h"
#include "shell/login_form.h"
#include "shell/notice_form.h"
#include "shell/settings_form.h"
#include "staffa/staffa_form.h"
#include "support/main_window_fixture.h"
#include "support/november_account.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <functional>

namespace qv::test {
namespace {

// The name a field is read by: its accessible name, else the text of a label beside it
// (a child of the same widget) whose buddy it is, without its shortcut mark.
QString nomeLetto(const QWidget* campo) {
    if (!campo->accessibleName().trimmed().isEmpty()) return campo->accessibleName();
    const QWidget* padre = campo->parentWidget();
    if (!padre) return {};
    for (const QLabel* l : padre->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == campo) return l->text().remove(u'&').trimmed();
    return {};
}

// The layout item just before `w` in the layout that holds it, or nullptr.
QWidget* precedente(QLayout* layout, const QWidget* w) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) {
            for (int k = i - 1; k >= 0; --k)
                if (QWidget* prima = layout->itemAt(k)->widget()) return prima;
            return nullptr;
        }
        if (QLayout* dentro = item->layout())
            if (QWidget* trovato = precedente(dentro, w)) return trovato;
    }
    return nullptr;
}

// A list with a caption: the widget laid out just before it is a label with text. A
// label in the list's own fixed-pitch face is its column headings, not a caption.
bool listaConDidascalia(const QWidget* lista) {
    const QWidget* padre = lista->parentWidget();
    if (!padre || !padre->layout()) return false;
    const auto* l = qobject_cast<const QLabel*>(precedente(padre->layout(), lista));
    return l && !l->text().trimmed().isEmpty() && l->font().family() != lista->font().family();
}

// The fields of a window that nothing names: line edits (date and amount fields
// included), combo boxes, spin boxes, text boxes, and list boxes that have a caption. A
// control the window keeps hidden is not a field the user meets.
QStringList campiSenzaNome(QWidget* finestra) {
    QStringList senza;
    for (QWidget* w : finestra->findChildren<QWidget*>()) {
        if (w->isHidden()) continue;
        QWidget* padre = w->parentWidget();
        // The editor inside a combo or spin box is named with its box.
        if (qobject_cast<QComboBox*>(padre) || qobject_cast<QAbstractSpinBox*>(padre)) continue;
        const bool campo = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QTextEdit*>(w) ||
                           qobject_cast<QPlainTextEdit*>(w);
        const bool lista = qobject_cast<ListBox*>(w) && listaConDidascalia(w);
        if (!campo && !lista) continue;
        if (nomeLetto(w).isEmpty())
            senza << finestra->objectName() + QLatin1Char('.') +
                         (w->objectName().isEmpty()
                              ? QString::fromLatin1(w->metaObject()->className())
                              : w->objectName());
    }
    return senza;
}

class NomiAccessibili : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeNovemberAccount(dataFolder());
        // Windows that ask something while they load get the first button.
        avvia({{"CC1", "Banca di Prova"}}, "CC1");
    }

    // Loads the window as the program does and lists its unnamed fields.
    template <class F> QStringList controlla() {
        F& f = formHost().form<F>();
        return campiSenzaNome(&f);
    }
};

TEST_F(NomiAccessibili, TheStaffaPeriodFieldsAreReadByTheirLabels) {
    window->stf->trigger();
    Staffa* f = formHost().loaded<Staffa>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(nomeLetto(f->dal), QStringLiteral("Dal"));
    EXPECT_EQ(nomeLetto(f->al), QStringLiteral("Al"));
}

TEST_F(NomiAccessibili, EveryFieldOfEveryWindowHasAName) {
    QStringList senza = campiSenzaNome(window.get());
    const std::vector<std::function<QStringList()>> finestre = {
        // Main window, settings and the small windows of the shell.
        [&] { return controlla<Form1>(); },
        [&] { return controlla<brow>(); },
        [&] { return controlla<Form5>(); },
        [&] { return controlla<Help1>(); },
        [&] { return controlla<passWord>(); },
        [&] { return controlla<Form23>(); },
        [&] { return controlla<Form25>(); },
        [&] { return controlla<Convertore>(); },
        // Accounts and causali.
        [&] { return controlla<Form2>(); },
        [&] { return controlla<Form6>(); },
        [&] { return controlla<ManutCaus>(); },
        [&] { return controlla<Form7>(); },
        [&] { return controlla<Form10>(); },
        [&] { return controlla<FORM12>(); },
        // Movements.
        [&] { return controlla<Form9>(); },
        [&] { return controlla<Form4>(); },
        [&] { return controlla<Form11>(); },
        [&] { return controlla<Form20>(); },
        [&] { return controlla<Form22>(); },
        [&] { return controlla<Giroconto>(); },
        // Cheques.
        [&] { return controlla<Form3>(); },
        [&] { return controlla<Form13>(); },
        [&] { return controlla<Form14>(); },
        [&] { return controlla<Form15>(); },
        [&] { return controlla<Form17>(); },
        // Conditions, staffa and interest.
        [&] { return controlla<Form26>(); },
        [&] { return controlla<Form28>(); },
        [&] { return controlla<Staffa>(); },
        // Reports and maintenance.
        [&] { return controlla<Form21>(); },
        [&] { return controlla<Form18>(); },
        [&] { return controlla<Form19>(); },
    };
    for (const auto& finestra : finestre)
        senza += finestra();
    EXPECT_TRUE(senza.isEmpty()) << senza.join(u'\n').toStdString();
}

} // namespace
} // namespace qv::test
