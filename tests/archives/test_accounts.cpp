// The account archive through the account editor: new, changed and deleted
// accounts checked on the bytes of Conti.dat and RecConti.dat, on the account
// files of the data folder and on the two account lists.

#include "archives/account_form.h"
#include "archives/account_selection_form.h"
#include "archives/account_sheet_form.h"
#include "archives/accounts.h"
#include "common/amounts.h"
#include "common/folder_lock.h"
#include "common/shared_state.h"
#include "ledger/account_loader.h"
#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/faults.h"
#include "support/file_size_limit.h"
#include "support/fixture.h"
#include "support/list_lines.h"
#include "support/wired_windows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace qv::test {
namespace {

// A 205-byte account record written out by hand: numero little-endian at 0, code at
// 2 (12), bank at 44 (45), the credit line's eight bytes at 166, every other text
// field blank.
QByteArray accountRecord(int numero, const char* code, const char* bank,
                         const QByteArray& fido = QByteArray(8, '\0')) {
    QByteArray r(205, ' ');
    r[0] = char(numero & 0xFF);
    r[1] = char((numero >> 8) & 0xFF);
    r.replace(2, qsizetype(qstrlen(code)), code);
    r.replace(44, qsizetype(qstrlen(bank)), bank);
    r.replace(166, 8, fido);
    return r;
}

const QByteArray kFido1000("\x00\x00\x00\x00\x00\x40\x8F\x40", 8);   // 1000.0
const QByteArray kFido1000e5("\x00\x00\x00\x00\x00\x44\x8F\x40", 8); // 1000.5
const QByteArray kFido1500("\x00\x00\x00\x00\x00\x70\x97\x40", 8);   // 1500.0

QString line(const char* code, const char* bank) {
    return QString::fromLatin1(code).leftJustified(12) + QStringLiteral(" - ") +
           QString::fromLatin1(bank).leftJustified(45);
}

class Accounts : public WiredProgramTest {
protected:
    void SetUp() override {
        WiredProgramTest::SetUp();
        setBeepHook([this] { ++beeps; });
    }

    QString contiPath() const { return dataFolder() + QStringLiteral("Conti.dat"); }
    QString recPath() const { return dataFolder() + QStringLiteral("RecConti.dat"); }

    // An archive of the given records in the data folder.
    void archive(const QList<QByteArray>& records) {
        QByteArray all;
        for (const QByteArray& r : records)
            all += r;
        writeBytes(contiPath(), all);
        writeBytes(recPath(), le16(qint16(records.size())));
    }
    void touch(const QString& name) { writeBytes(dataFolder() + name, "x"); }
    bool exists(const QString& name) const { return QFile::exists(dataFolder() + name); }

    // The editor shown: its activation takes the data folder and loads the archive.
    Form2& editor() {
        Form2& f = formHost().form<Form2>();
        formHost().show(f);
        return f;
    }
    static QLineEdit* box(Form2& f, const char* name) {
        auto* w = f.findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(Form2& f, const char* name) {
        auto* b = f.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    // Double-click on the line of the account with that code.
    static void pick(Form2& f, const QString& code) {
        ListBox* list = f.ListaConti;
        for (int row = 0; row < list->count(); ++row) {
            if (list->text(row).left(12).trimmed() == code) {
                list->setCurrentRow(row);
                emit list->rowDoubleClicked(row);
                return;
            }
        }
        ADD_FAILURE() << "no line for " << code.toStdString();
    }
    static void typeAccount(Form2& f, const QString& code, const QString& bank,
                            const QString& fido = QString()) {
        box(f, "CodConto")->setText(QString());
        QTest::keyClicks(box(f, "CodConto"), code);
        box(f, "NomeBanca")->setText(bank);
        box(f, "Fido")->setText(fido);
    }

    ListBox* selectionList() { return formHost().form<Form7>().List1; }

    int beeps = 0;
};

// --- New accounts -----------------------------------------------------------------

TEST_F(Accounts, NewAccountIsWrittenAsItsRecordWithTheCountAndItsLine) {
    stato().FattoreValuta = 1.0; // the Euro
    Form2& f = editor();
    EXPECT_EQ(f.ListaConti->count(), 0);

    typeAccount(f, QStringLiteral("12"), QStringLiteral("BANCA UNO"), QStringLiteral("1000"));
    click(f, "AddAnItem");

    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(printable(readBytes(contiPath())),
              printable(accountRecord(1, "12", "BANCA UNO", kFido1000)));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(1)));
    const QString expected = QStringLiteral("12") + QString(10, ' ') + QStringLiteral(" - ") +
                             QStringLiteral("BANCA UNO") + QString(36, ' ');
    EXPECT_EQ(listLines(f.ListaConti), QStringList{expected});
    EXPECT_EQ(listLines(selectionList()), QStringList{expected});
    EXPECT_EQ(f.ListaConti->data(0), 1);
    EXPECT_EQ(stato().NumeroConti, 1);
    // Back to a new entry with every field empty.
    EXPECT_TRUE(box(f, "CodConto")->text().isEmpty());
    EXPECT_TRUE(box(f, "NomeBanca")->text().isEmpty());
    EXPECT_TRUE(box(f, "CodConto")->isEnabled());
}

TEST_F(Accounts, NewLineTakesItsSortedPlaceAndMatchesWhatALoadBuilds) {
    archive({accountRecord(1, "123", "BANCA TRE"), accountRecord(2, "10", "BANCA DIECI"),
             accountRecord(3, "2", "BANCA DUE")});
    Form2& f = editor();
    typeAccount(f, QStringLiteral("12"), QStringLiteral("BANCA UNO"));
    click(f, "AddAnItem");

    const QStringList sorted{line("10", "BANCA DIECI"), line("12", "BANCA UNO"),
                             line("123", "BANCA TRE"), line("2", "BANCA DUE")};
    EXPECT_EQ(listLines(f.ListaConti), sorted);
    EXPECT_EQ(listLines(selectionList()), sorted);
    EXPECT_EQ(f.ListaConti->data(1), 4);
    // An empty credit line is 0; the new record follows the three.
    EXPECT_EQ(printable(readBytes(contiPath()).mid(3 * 205)),
              printable(accountRecord(4, "12", "BANCA UNO")));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(4)));

    CaricaElencoConti();
    EXPECT_EQ(listLines(f.ListaConti), sorted);
    EXPECT_EQ(f.ListaConti->data(0), 2); // "10" is row 2
}

TEST_F(Accounts, CodesThatCollideAreRefusedAndNothingChanges) {
    archive({accountRecord(1, "12", "BANCA UNO"), accountRecord(2, "AB", "BANCA AB")});
    const QByteArray before = readBytes(contiPath());
    Form2& f = editor();
    const QStringList lines = listLines(f.ListaConti);

    struct Case {
        QString code;
        QString message;
        bool emptied; // a duplicate empties the code field
    };
    const QString duplicate = testoContoEsistente();
    const QString invalid = messaggioCodiceConto(EsitoCodice::NonValido);
    const std::vector<Case> cases{
        {QStringLiteral("12"), duplicate, true},
        {QStringLiteral(" 12"), duplicate, true},
        {QStringLiteral("Ab"), duplicate, true},
        {QStringLiteral("1*"), invalid, false},
        {QStringLiteral(" 7"), invalid, false},
        {QStringLiteral("a:b"), invalid, false},
        {QStringLiteral("Conti"), messaggioCodiceConto(EsitoCodice::Riservato), false},
        {QStringLiteral("   "), testoCodiceObbligatorio(), false},
    };
    for (const Case& c : cases) {
        messages.clear();
        typeAccount(f, c.code, QStringLiteral("ALTRA"), QStringLiteral("5"));
        click(f, "AddAnItem");
        ASSERT_EQ(messages.shown().size(), 1u) << c.code.toStdString();
        EXPECT_EQ(messages.shown()[0].text, c.message) << c.code.toStdString();
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
        EXPECT_EQ(box(f, "CodConto")->text().isEmpty(), c.emptied) << c.code.toStdString();
        EXPECT_EQ(box(f, "NomeBanca")->text(), QStringLiteral("ALTRA")) << c.code.toStdString();
    }
    // Pasted text skips the key filter and is refused all the same.
    messages.clear();
    box(f, "CodConto")->setText(QStringLiteral("1\t2"));
    click(f, "AddAnItem");
    EXPECT_EQ(messages.texts(), QStringList{invalid});
    messages.clear();
    box(f, "CodConto")->setText(QStringLiteral("x.y"));
    click(f, "AddAnItem");
    EXPECT_EQ(messages.texts(), QStringList{invalid});

    EXPECT_EQ(printable(readBytes(contiPath())), printable(before));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(2)));
    EXPECT_EQ(listLines(f.ListaConti), lines);
    EXPECT_EQ(stato().NumeroConti, 2);
}

TEST_F(Accounts, EmptyCodeIsRequiredAndTheKeyFilterDropsPathCharacters) {
    Form2& f = editor();
    click(f, "AddAnItem");
    EXPECT_EQ(messages.texts(), QStringList{testoCodiceObbligatorio()});
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(QFile::exists(contiPath()));

    QLineEdit* code = box(f, "CodConto");
    QTest::keyClicks(code, QStringLiteral("1.2/3\\4"));
    EXPECT_EQ(code->text(), QStringLiteral("1234"));
    EXPECT_EQ(beeps, 4);
    QTest::keyClick(code, Qt::Key_Backspace);
    EXPECT_EQ(code->text(), QStringLiteral("123"));

    QLineEdit* cap = box(f, "CapBanca");
    QTest::keyClicks(cap, QStringLiteral("2a0"));
    EXPECT_EQ(cap->text(), QStringLiteral("20"));
    QLineEdit* fido = box(f, "Fido");
    QTest::keyClicks(fido, QStringLiteral("1,5"));
    EXPECT_EQ(fido->text(), QStringLiteral("15"));
}

TEST_F(Accounts, TheEntryChainMovesOnWithEnterAndWhenAFieldIsFull) {
    Form2& f = editor();
    f.activateWindow();
    QApplication::setActiveWindow(&f);
    QLineEdit* code = box(f, "CodConto");
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Return); // empty: stays
    EXPECT_TRUE(code->hasFocus());
    QTest::keyClicks(code, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_TRUE(box(f, "TipoConto")->hasFocus());

    box(f, "IndBanca")->setFocus();
    QTest::keyClick(box(f, "IndBanca"), Qt::Key_Return);
    EXPECT_TRUE(box(f, "CapBanca")->hasFocus());
    QTest::keyClick(box(f, "CapBanca"), Qt::Key_Return);
    // Entering the locality with no postal code gives it "0".
    EXPECT_TRUE(box(f, "LocBanca")->hasFocus());
    EXPECT_EQ(box(f, "CapBanca")->text(), QStringLiteral("0"));

    QLineEdit* prov = box(f, "ProvBanca");
    prov->setFocus();
    QTest::keyClicks(prov, QStringLiteral("mi"));
    EXPECT_TRUE(box(f, "abi")->hasFocus());
    EXPECT_EQ(prov->text(), QStringLiteral("MI"));

    QTest::keyClick(box(f, "Fido"), Qt::Key_Return);
    EXPECT_TRUE(f.AddAnItem->hasFocus());

    // Tab out of an empty code is refused.
    code->clear();
    code->setEnabled(true);
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Tab);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Campo obbligatorio")});
    EXPECT_TRUE(code->hasFocus());
}

TEST_F(Accounts, CreditLineIsTypedInTheDisplayCurrencyAndRefusedWhenItCannotBeStored) {
    stato().FattoreValuta = 2.0;
    Form2& f = editor();
    typeAccount(f, QStringLiteral("7"), QStringLiteral("B"), QStringLiteral("3.000"));
    click(f, "AddAnItem");
    EXPECT_EQ(printable(readBytes(contiPath())), printable(accountRecord(1, "7", "B", kFido1500)));

    // Text that is not an amount (pasted past the key filter) is refused.
    typeAccount(f, QStringLiteral("8"), QStringLiteral("B"), QStringLiteral("12a"));
    click(f, "AddAnItem");
    EXPECT_EQ(messages.texts(), QStringList{amountErrorMessage()});
    // A display rate that cannot convert is refused rather than dividing by it.
    messages.clear();
    stato().FattoreValuta = 0.0;
    box(f, "Fido")->setText(QStringLiteral("100"));
    click(f, "AddAnItem");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("cambio")));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(1)));
    EXPECT_EQ(stato().NumeroConti, 1);
}

TEST_F(Accounts, TheArchiveTakesNoAccountBeyondTheCountFormatLimit) {
    auto& s = stato();
    writeBytes(recPath(), le16(32767));
    s.NumeroConti = 32767;
    s.TabellaConti.assign(32768, Conto{});
    Conto nuovo;
    nuovo.codiceConto = QStringLiteral("NUOVO");
    const Esito aggiunto = AggiungiConto(nuovo);
    EXPECT_TRUE(aggiunto.rifiutato());
    EXPECT_EQ(aggiunto.testo, testoArchivioPieno());
    EXPECT_FALSE(QFile::exists(contiPath()));
    EXPECT_EQ(s.NumeroConti, 32767);
}

TEST_F(Accounts, AnArchiveChangedOnDiskSinceTheLoadIsNotWrittenOver) {
    archive({accountRecord(1, "10", "A")});
    Form2& f = editor();
    // Another program added an account.
    const QByteArray altro = accountRecord(1, "10", "A") + accountRecord(2, "20", "C");
    writeBytes(contiPath(), altro);
    writeBytes(recPath(), le16(2));
    typeAccount(f, QStringLiteral("11"), QStringLiteral("B"));
    click(f, "AddAnItem");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(printable(readBytes(contiPath())), printable(altro));
    EXPECT_EQ(stato().NumeroConti, 1);
}

// --- Loading ------------------------------------------------------------------------

TEST_F(Accounts, AMissingArchiveIsNoAccountAndCreatesNothing) {
    Form2& f = editor();
    EXPECT_EQ(f.ListaConti->count(), 0);
    EXPECT_EQ(stato().NumeroConti, 0);
    // Only the lock file of the program that uses the folder.
    EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files), QStringList{FileBloccoCartella});
    EXPECT_EQ(f.NomeFile->text(), QStringLiteral("Percorso: ") + dataFolder());
}

TEST_F(Accounts, CountsAreReadAsTheFileHoldsThem) {
    // More accounts than the old table's hundred: all are loaded and listed.
    QList<QByteArray> many;
    for (int i = 1; i <= 130; ++i)
        many << accountRecord(i, QByteArray::number(1000 + i).constData(), "BANCA");
    archive(many);
    CaricaElencoConti();
    EXPECT_EQ(stato().NumeroConti, 130);
    EXPECT_EQ(formHost().form<Form2>().ListaConti->count(), 130);
    EXPECT_EQ(stato().TabellaConti[130].codiceConto, QStringLiteral("1130"));

    // A negative count next to accounts is damage: refused a rebuild, no account is
    // loaded and nothing changes.
    writeBytes(recPath(), QByteArray("\xFE\xFF", 2));
    const QByteArray conti = readBytes(contiPath());
    messages.answer(MessageAnswer::No);
    CaricaElencoConti();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(stato().NumeroConti, 0);
    EXPECT_EQ(selectionList()->count(), 0);
    EXPECT_EQ(readBytes(recPath()), QByteArray("\xFE\xFF", 2));
    EXPECT_EQ(readBytes(contiPath()), conti);
}

TEST_F(Accounts, AnArchiveThatCannotBeReadGoesToTheDiskErrorDialog) {
    writeBytes(recPath(), le16(1));
    ASSERT_TRUE(QDir(dataFolder()).mkdir(QStringLiteral("Conti.dat")));
    CaricaElencoConti();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore Disco"));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("Errore irrecuperabile"));
    EXPECT_EQ(stato().NumeroConti, 0);
}

TEST_F(Accounts, ListColoursComeFromTheColoursFileWhenNotTheDefaults) {
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreCarattere = 255.0;            // red
    stato().ColoriElenchi.coloreSfondo = 65536.0 * 255 + 255; // magenta
    Form2& f = formHost().form<Form2>();
    EXPECT_EQ(f.ListaConti->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(f.ListaConti->palette().color(QPalette::Base), QColor(255, 0, 255));
}

// --- Changing an account --------------------------------------------------------------

// The display currency changed while the editor is open: a typed credit line, or the
// picked account's, keeps the amount it stood for.
TEST_F(Accounts, ACreditLineFollowsAChangeOfTheDisplayCurrency) {
    stato().FattoreValuta = 1.0;
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    archive({accountRecord(1, "12", "BANCA UNO", kFido1000e5)});
    Form2& f = editor();
    typeAccount(f, QStringLiteral("7"), QStringLiteral("B"), QStringLiteral("1.500"));
    stato().FattoreValuta = 2.0;
    f.valutaCambiata(1.0);
    EXPECT_EQ(f.Fido->text(), QStringLiteral("3000"));
    click(f, "AddAnItem");
    EXPECT_EQ(printable(readBytes(contiPath()).mid(205)),
              printable(accountRecord(2, "7", "B", kFido1500)));

    pick(f, QStringLiteral("12"));
    EXPECT_EQ(f.Fido->text(), QStringLiteral("2.001,00"));
    stato().FattoreValuta = 1.0;
    f.valutaCambiata(2.0);
    EXPECT_EQ(f.Fido->text(), QStringLiteral("1.000,50"));
    box(f, "TipoConto")->setText(QStringLiteral("ORDINARIO"));
    click(f, "AddAnItem");
    EXPECT_EQ(printable(readBytes(contiPath()).left(205).mid(166, 8)), printable(kFido1000e5));
}

TEST_F(Accounts, AnUnchangedCreditLineKeepsTheStoredAmount) {
    stato().FormatoImporti = QStringLiteral("#,###,###,##0");
    archive({accountRecord(1, "10", "A"), accountRecord(2, "12", "BANCA UNO", kFido1000e5)});
    Form2& f = editor();
    pick(f, QStringLiteral("12"));
    EXPECT_EQ(box(f, "Fido")->text(), QStringLiteral("1.001"));
    EXPECT_FALSE(box(f, "CodConto")->isEnabled());
    EXPECT_EQ(stato().IndiceContoAttivo, 2);

    box(f, "TipoConto")->setText(QStringLiteral("ORDINARIO"));
    click(f, "AddAnItem");
    QByteArray expected = accountRecord(2, "12", "BANCA UNO", kFido1000e5);
    expected.replace(14, 9, "ORDINARIO");
    EXPECT_EQ(printable(readBytes(contiPath()).mid(205)), printable(expected));
    EXPECT_EQ(printable(readBytes(contiPath()).left(205)), printable(accountRecord(1, "10", "A")));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(2)));
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
    EXPECT_TRUE(box(f, "CodConto")->isEnabled());

    // Typed again, the shown amount is what is stored.
    pick(f, QStringLiteral("12"));
    box(f, "Fido")->setText(QStringLiteral("1000"));
    click(f, "AddAnItem");
    EXPECT_EQ(printable(readBytes(contiPath()).mid(205 + 166, 8)), printable(kFido1000));
}

TEST_F(Accounts, EveryFieldShowsWholeAtItsFullLength) {
    Form2& f = editor();
    QCoreApplication::processEvents();
    struct Campo {
        const char* nome;
        QString testo;
    };
    const Campo campi[] = {
        {"CodConto", QStringLiteral("TEMPORANEO12")},
        {"TipoConto", QStringLiteral("CONTO CORRENTE ORDINARIO MM 30")},
        {"NomeBanca", QStringLiteral("BANCA POPOLARE DI SONDRIO FILIALE DI MILANO12")},
        {"IndBanca", QStringLiteral("PIAZZA GIUSEPPE GARIBALDI 116 MILANO CENTRO 1")},
        {"CapBanca", QStringLiteral("20121")},
        {"LocBanca", QStringLiteral("SAN GIOVANNI IN PERSICETO")},
        {"ProvBanca", QStringLiteral("MM")},
        {"abi", QStringLiteral("MMMMMMMMMM")},
        {"Cab", QStringLiteral("0123456789")},
        {"id", QStringLiteral("WMWMWMWMWM")},
        {"Fido", QStringLiteral("999.999.999,999")},
    };
    for (const Campo& c : campi) {
        QLineEdit* campo = box(f, c.nome);
        ASSERT_NE(campo, nullptr);
        campo->setText(c.testo);
        campo->setCursorPosition(int(c.testo.size()));
        campo->grab(); // painted as the screen shows it: that is when a line edit scrolls
        // With the cursor after the last character, the first one is still in view: the
        // text is not scrolled, so the whole of it shows.
        EXPECT_EQ(campo->cursorPositionAt(QPoint(campo->rect().left() + 6, campo->height() / 2)), 0)
            << c.nome << " " << campo->width() << " px";
    }
}

TEST_F(Accounts, ACreditLineShownIsReplacedByWhatIsTypedInIt) {
    stato().FormatoImporti = QStringLiteral("#,###,###,##0.00");
    archive({accountRecord(1, "12", "BANCA UNO", kFido1000)});
    Form2& f = editor();
    QApplication::setActiveWindow(&f);
    pick(f, QStringLiteral("12"));
    ASSERT_EQ(f.Fido->text(), QStringLiteral("1.000,00"));

    // A click into the amount selects it: the digits typed replace it.
    QTest::mouseClick(f.Fido, Qt::LeftButton, {}, QPoint(4, f.Fido->height() / 2));
    QTest::keyClicks(f.Fido, QStringLiteral("2500"));
    EXPECT_EQ(f.Fido->text(), QStringLiteral("2500"));
    // The editing keys pass the field's digits-only filter: Ctrl+A selects all, End and
    // Shift+Home select, Ctrl+X and Ctrl+V cut and paste, Ctrl+Z undoes.
    QTest::keyClick(f.Fido, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f.Fido, QStringLiteral("3000"));
    EXPECT_EQ(f.Fido->text(), QStringLiteral("3000"));
    QTest::keyClick(f.Fido, Qt::Key_End);
    QTest::keyClick(f.Fido, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(f.Fido, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(f.Fido->text().isEmpty());
    QTest::keyClick(f.Fido, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(f.Fido, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(f.Fido, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.Fido->text(), QStringLiteral("3000"));
    EXPECT_EQ(beeps, 0);

    click(f, "AddAnItem");
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(printable(readBytes(contiPath()).mid(166, 8)),
              printable(QByteArray("\x00\x00\x00\x00\x00\x70\xA7\x40", 8))); // 3000.0
}

// --- Deleting an account --------------------------------------------------------------

class AccountDeletion : public Accounts {
protected:
    void SetUp() override {
        Accounts::SetUp();
        archive({accountRecord(1, "10", "BANCA DIECI"), accountRecord(2, "12", "BANCA UNO"),
                 accountRecord(3, "123", "BANCA TRE")});
        for (const char* name : {"12.MOV", "12.mor", "12.Tot", "12.IAT", "10.MOV", "123.MOV",
                                 "1.MOV", "12", "123.TOT"})
            touch(QString::fromLatin1(name));
        before = readBytes(contiPath());
        f = &editor();
    }
    void expectNothingChanged() {
        EXPECT_EQ(printable(readBytes(contiPath())), printable(before));
        EXPECT_EQ(printable(readBytes(recPath())), printable(le16(3)));
        for (const char* name : {"12.MOV", "12.mor", "12.Tot", "12.IAT", "10.MOV", "123.MOV"})
            EXPECT_TRUE(exists(QString::fromLatin1(name))) << name;
        EXPECT_EQ(f->ListaConti->count(), 3);
        EXPECT_EQ(stato().NumeroConti, 3);
    }
    QByteArray before;
    Form2* f = nullptr;
};

TEST_F(AccountDeletion, DeletesTheRecordCompactsTheArchiveAndRemovesOnlyItsFiles) {
    pick(*f, QStringLiteral("12"));
    click(*f, "Del");

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("Attenzione il conto selezionato verrà "
                             "cancellato tutti i dati verranno "
                             "irrimediabilmente persi. Vuoi continuare ?"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("AVVERTIMENTO!"));
    // The archive is rewritten whole: the two others, renumbered, and nothing after.
    EXPECT_EQ(printable(readBytes(contiPath())), printable(accountRecord(1, "10", "BANCA DIECI") +
                                                           accountRecord(2, "123", "BANCA TRE")));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(2)));
    for (const char* gone : {"12.MOV", "12.mor", "12.Tot", "12.IAT"})
        EXPECT_FALSE(exists(QString::fromLatin1(gone))) << gone;
    for (const char* kept : {"10.MOV", "123.MOV", "123.TOT", "1.MOV", "12"})
        EXPECT_TRUE(exists(QString::fromLatin1(kept))) << kept;

    const QStringList lines{line("10", "BANCA DIECI"), line("123", "BANCA TRE")};
    EXPECT_EQ(listLines(f->ListaConti), lines);
    EXPECT_EQ(listLines(selectionList()), lines);
    EXPECT_EQ(f->ListaConti->data(1), 2);
    EXPECT_EQ(stato().NumeroConti, 2);
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
    EXPECT_TRUE(box(*f, "CodConto")->isEnabled());

    // A new code afterwards is a new account, not a rewrite.
    typeAccount(*f, QStringLiteral("99"), QStringLiteral("NUOVA"));
    click(*f, "AddAnItem");
    EXPECT_EQ(printable(readBytes(contiPath()).mid(410)),
              printable(accountRecord(3, "99", "NUOVA")));
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(3)));
}

TEST_F(AccountDeletion, TheOpenAccountCannotBeDeleted) {
    pick(*f, QStringLiteral("12"));
    stato().CodiceContoAttivo = QStringLiteral("12"); // opened meanwhile
    click(*f, "Del");
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("Non si può cancellare il conto sul quale si lavora, devi prima "
                             "chiudere il conto"));
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("attenzione"));
    EXPECT_EQ(messages.shown()[1].icon, MessageIcon::None);
    expectNothingChanged();
}

TEST_F(AccountDeletion, CancelAtTheQuestionChangesNothing) {
    pick(*f, QStringLiteral("12"));
    messages.answer(MessageAnswer::Cancel);
    click(*f, "Del");
    EXPECT_EQ(messages.shown().size(), 1u);
    expectNothingChanged();
    // The entry is cleared whatever the answer.
    EXPECT_TRUE(box(*f, "CodConto")->text().isEmpty());
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
}

TEST_F(AccountDeletion, EnterAtTheQuestionKeepsTheAccount) {
    pick(*f, QStringLiteral("12"));
    messages.answerWithEnter();
    click(*f, "Del");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages.shown()[0].defaultButton, MessageAnswer::Cancel);
    expectNothingChanged();
}

TEST_F(AccountDeletion, WithNoAccountPickedNothingIsAskedOrChanged) {
    pick(*f, QStringLiteral("12"));
    box(*f, "Cab")->setText(QStringLiteral("0101"));
    click(*f, "CLR"); // the pick is gone, the button stays enabled
    EXPECT_TRUE(box(*f, "NomeBanca")->text().isEmpty());
    EXPECT_EQ(box(*f, "Cab")->text(), QStringLiteral("0101"));
    click(*f, "Del");
    EXPECT_EQ(messages.texts(), QStringList{testoNessunContoScelto()});
    expectNothingChanged();
}

TEST_F(Accounts, AnArchiveThatCannotBeRewrittenDeletesNoFile) {
    // An archive of 120 accounts, too large for the room the disk has left.
    QList<QByteArray> records;
    for (int i = 1; i <= 120; ++i)
        records << accountRecord(i, QByteArray::number(100 + i).constData(), "BANCA");
    archive(records);
    touch(QStringLiteral("150.MOV"));
    const QByteArray before = readBytes(contiPath());
    Form2& f = editor();
    pick(f, QStringLiteral("150"));

    {
        // The disk takes no more than 10000 bytes of a file.
        const FileSizeLimit limit(10000);
        ASSERT_TRUE(limit.isSet());
        click(f, "Del");
    }

    ASSERT_EQ(messages.shown().size(), 2u) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(messages.shown()[1].text.startsWith(QStringLiteral("Il conto non è stato "
                                                                   "cancellato")));
    EXPECT_EQ(readBytes(contiPath()), before);
    EXPECT_EQ(printable(readBytes(recPath())), printable(le16(120)));
    EXPECT_TRUE(exists(QStringLiteral("150.MOV")));
    EXPECT_EQ(stato().NumeroConti, 120);
    EXPECT_EQ(f.ListaConti->count(), 120);
}

// --- The data folder ------------------------------------------------------------------

TEST_F(Accounts, ChoosingAFolderClosesTheAccountAndListsThatFoldersAccounts) {
    archive({accountRecord(1, "12", "BANCA UNO")});
    const QString other = root_.path() + QStringLiteral("/altri");
    const QString empty = root_.path() + QStringLiteral("/vuota");
    ASSERT_TRUE(QDir().mkpath(other));
    ASSERT_TRUE(QDir().mkpath(empty));
    writeBytes(other + QStringLiteral("/Conti.dat"), accountRecord(1, "55", "ALTRA BANCA"));
    writeBytes(other + QStringLiteral("/RecConti.dat"), le16(1));

    Form2& f = editor();
    ASSERT_EQ(f.ListaConti->count(), 1);
    stato().CodiceContoAttivo = QStringLiteral("12");
    stato().IndiceContoAttivo = 1;

    f.Dir1->setCurrentIndex(f.Cartelle->index(other));
    EXPECT_EQ(stato().PercorsoDati, other + QStringLiteral("/"));
    EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    EXPECT_EQ(stato().IndiceContoAttivo, 0);
    EXPECT_EQ(listLines(f.ListaConti), QStringList{line("55", "ALTRA BANCA")});
    EXPECT_EQ(listLines(selectionList()), QStringList{line("55", "ALTRA BANCA")});
    EXPECT_EQ(f.NomeFile->text(), QStringLiteral("Percorso: ") + other + QStringLiteral("/"));

    f.Dir1->setCurrentIndex(f.Cartelle->index(empty));
    EXPECT_EQ(f.ListaConti->count(), 0);
    EXPECT_EQ(QDir(empty).entryList(QDir::Files), QStringList{FileBloccoCartella});
}

// Deleting an account is one change of the archive, its count and the account's files:
// a failure at any write, a roll-back that cannot put a file back, a program stopped
// midway leave the data folder as it was, put back at the next loading of the archive.
TEST_F(AccountDeletion, ADeletionThatFailsOrStopsMidwayLeavesEveryFileAsItWas) {
    const auto iniziali = dataFiles();
    ProvaModifica prova;
    prova.cartella = dataFolder();
    prova.riapri = [] { leggiArchivioConti(); };
    prova.prepara = [&] {
        rimettiFile(dataFolder(), iniziali);
        prova.riapri();
        stato().IndiceContoAttivo = 2; // "12"
    };
    prova.esegui = [](QString* testo) {
        const Esito esito = CancellaConto();
        *testo = esito.testo;
        return esito.ok();
    };
    prova.file = [this] { return dataFiles(); };
    // Conti.dat, RecConti.dat and the four files of account "12".
    EXPECT_EQ(provaModifica(prova), 6);
}

// An account carried over from an old folder with the name of the archive's own files
// takes only its own files with it.
TEST_F(Accounts, AnAccountNamedContiTakesOnlyItsOwnFiles) {
    archive({accountRecord(1, "Conti", "VECCHIO"), accountRecord(2, "20", "ALTRO")});
    for (const char* nome : {"Conti.MOV", "CONTI.mor", "Conti.txt", "RecConti.MOV"})
        touch(QString::fromLatin1(nome));
    leggiArchivioConti();
    stato().IndiceContoAttivo = 1;
    ASSERT_TRUE(CancellaConto().ok());
    EXPECT_EQ(printable(readBytes(contiPath())), printable(accountRecord(1, "20", "ALTRO")));
    EXPECT_EQ(readBytes(recPath()), le16(1));
    EXPECT_FALSE(exists(QStringLiteral("Conti.MOV")));
    EXPECT_FALSE(exists(QStringLiteral("CONTI.mor")));
    EXPECT_TRUE(exists(QStringLiteral("Conti.txt")));
    EXPECT_TRUE(exists(QStringLiteral("RecConti.MOV")));
}

// --- Codes that cannot name a file ------------------------------------------------------

// An archive from elsewhere holding codes that would name files outside the data folder
// ("../EVIL", a backslash, a control character): such a code is refused as a code
// whatever else is true of it (here: it is another account's too), and its account does
// not open: nothing is read or written through it.
TEST_F(Accounts, ACodeThatCannotNameAFileIsRefusedAndItsAccountDoesNotOpen) {
    const std::vector<const char*> codes{"../EVIL", "..\\EVIL", "A\tB"};
    QList<QByteArray> records{accountRecord(1, "12", "BANCA UNO")};
    for (const char* code : codes)
        records << accountRecord(int(records.size()) + 1, code, "ESTRANEA");
    archive(records);
    const QString above = QFileInfo(dataFolder() + QStringLiteral("..")).absoluteFilePath();
    const QStringList aboveBefore = QDir(above).entryList(QDir::Files);
    Form2& f = editor();
    const QString invalid = messaggioCodiceConto(EsitoCodice::NonValido);

    for (int i = 0; i < int(codes.size()); ++i) {
        const QString code = QString::fromLatin1(codes[size_t(i)]);
        SCOPED_TRACE(code.toStdString());
        // The same code again, pasted: refused for what it is, not as a duplicate.
        EXPECT_EQ(controllaCodiceConto(code), EsitoCodice::NonValido);
        messages.clear();
        box(f, "CodConto")->setText(code);
        box(f, "NomeBanca")->setText(QStringLiteral("ALTRA"));
        click(f, "AddAnItem");
        EXPECT_EQ(messages.texts(), QStringList{invalid});

        // Opened from its sheet: refused with the reason, nothing opened.
        messages.clear();
        EXPECT_FALSE(apriContoDellaRiga(i + 2));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_TRUE(
            messages.shown()[0].text.contains(QStringLiteral("non può dare il nome ai file")))
            << messages.shown()[0].text.toStdString();
        EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());

        // Loaded as the open account (as the movement form loads it): refused likewise.
        stato().CodiceContoAttivo = code;
        stato().IndiceContoAttivo = qint16(i + 2);
        QString errore;
        EXPECT_FALSE(test::senzaAvvisi(ApriArchiviConto(), &errore));
        EXPECT_TRUE(errore.contains(QStringLiteral("non può dare il nome ai file")))
            << errore.toStdString();
        EXPECT_TRUE(stato().CodiceContoAttivo.isEmpty());
    }
    EXPECT_EQ(QDir(above).entryList(QDir::Files), aboveBefore);
    EXPECT_EQ(stato().NumeroConti, 4);
}

} // namespace
} // namespace qv::test
