// The causali archive through its three windows: the editor, the picker and the
// maintenance, checked on the bytes of Causali.DAT and RecCausa.dat.

#include "archives/causale_picker_form.h"
#include "archives/causali.h"
#include "archives/causali_form.h"
#include "archives/causali_maintenance_form.h"
#include "common/shared_state.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/program_end.h"
#include "shell/help_form.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/bytes.h"
#include "support/esito_test.h"
#include "support/faults.h"
#include "support/file_size_limit.h"
#include "support/fixture.h"
#include "support/list_lines.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qv::test {
namespace {

class Causali : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        resetProgramEnd();
        setEndProgramHook([this] { ++ends; });
    }
    void TearDown() override {
        resetProgramEnd();
        ProgramTest::TearDown();
    }

    QString archive() const { return programFolder() + QStringLiteral("Causali.DAT"); }
    QString count() const { return programFolder() + QStringLiteral("RecCausa.dat"); }

    // An archive on disk, loaded as the start-up loads it.
    void seed(const QByteArray& records, const QByteArray& counter) {
        writeBytes(archive(), records);
        writeBytes(count(), counter);
        caricaCausali();
    }

    Form6& editor() {
        Form6& f = formHost().form<Form6>();
        formHost().show(f);
        return f;
    }

    static void type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static int lineOf(ListBox* list, const QString& start) {
        for (int row = 0; row < list->count(); ++row)
            if (list->text(row).startsWith(start)) return row;
        return -1;
    }

    static void click(ListBox* list, int row) {
        ASSERT_GE(row, 0);
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    static void doubleClick(ListBox* list, int row) {
        ASSERT_GE(row, 0);
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    int ends = 0;
};

const QByteArray kReserved = causaleBytes(1, "AS", "ASSEGNO", "SU1") +
                             causaleBytes(2, "CA", "CARNET", "SU1") +
                             causaleBytes(3, "GC", "GIROCONTO", "SU1");

TEST_F(Causali, NewCausaleIsWrittenAsItsRecordAndListedInBothLists) {
    seed(kReserved, QByteArray("\x03\x00", 2));
    FORM12& picker = formHost().form<FORM12>();
    Form6& f = editor();
    // The cost option starts on "si", the others on "Entrate" and suspended "si".
    EXPECT_TRUE(f.DarAver[0]->isChecked());
    EXPECT_TRUE(f.DarAver[2]->isChecked());
    EXPECT_TRUE(f.SospesoSiNo[0]->isChecked());

    type(f.CodCausale, QStringLiteral("VE"));
    type(f.DescCausale, QStringLiteral("VERSAMENTO"));
    f.findChild<QRadioButton*>(QStringLiteral("SospesoSiNo_1"))->click();
    f.findChild<QPushButton*>(QStringLiteral("OK"))->click();

    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    const QByteArray ve("\x04\x00"
                        "VE   "
                        "VERSAMENTO               "
                        "NE1",
                        35);
    EXPECT_EQ(printable(readBytes(archive())), printable(kReserved + ve));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x04\x00", 2)));
    EXPECT_EQ(stato().NumeroCausali, 4);

    const QString line = QStringLiteral("VE     - VERSAMENTO               ");
    for (ListBox* list : {f.ElencoCausali, picker.List1}) {
        ASSERT_EQ(list->count(), 4);
        EXPECT_EQ(list->text(3), line);
        EXPECT_EQ(list->data(3), 4);
        EXPECT_EQ(list->text(0), QStringLiteral("AS     - ASSEGNO                  "));
    }
    EXPECT_TRUE(f.CodCausale->text().isEmpty());
    EXPECT_TRUE(f.DescCausale->text().isEmpty());

    // A picker loaded afterwards lists the new causale too, sorted.
    formHost().unload(picker);
    EXPECT_EQ(listLines(formHost().form<FORM12>().List1), listLines(f.ElencoCausali));
}

TEST_F(Causali, ReservedCodesAreForcedWhateverTheFormShows) {
    Form6& f = editor();
    for (const char* code : {"AS", "CA", "GC "}) {
        type(f.CodCausale, QString::fromLatin1(code));
        type(f.DescCausale, QStringLiteral("altro"));
        f.DarAver[0]->click();
        f.DarAver[3]->click();
        f.SospesoSiNo[1]->click();
        f.OK->click();
    }
    // The forced options stay in the form.
    EXPECT_TRUE(f.DarAver[1]->isChecked());
    EXPECT_TRUE(f.DarAver[2]->isChecked());
    EXPECT_TRUE(f.SospesoSiNo[0]->isChecked());

    // Lower case is not reserved: stored as typed.
    type(f.CodCausale, QStringLiteral("gc"));
    type(f.DescCausale, QStringLiteral("girata"));
    f.DarAver[0]->click();
    f.DarAver[3]->click();
    f.SospesoSiNo[1]->click();
    f.OK->click();

    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(printable(readBytes(archive())),
              printable(kReserved + causaleBytes(4, "gc", "girata", "NE0")));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x04\x00", 2)));
}

TEST_F(Causali, CodesAreComparedCutAndTrimmedOnAppend) {
    seed(causaleBytes(1, "ABCDE", "PRIMA", "NE1") + causaleBytes(2, "AS", "ASSEGNO", "SU1"),
         QByteArray("\x02\x00", 2));
    const QByteArray before = readBytes(archive());
    Form6& f = editor();

    for (const char* code : {"ABCDEF", "AS ", "ABCDE   "}) {
        messages.clear();
        f.CodCausale->setText(QString::fromLatin1(code)); // pasted, not typed
        f.DescCausale->setText(QStringLiteral("DOPPIONE"));
        f.OK->click();
        ASSERT_EQ(messages.shown().size(), 1u) << code;
        EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Nr di causale già presente"));
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
        EXPECT_TRUE(f.CodCausale->text().isEmpty());
        EXPECT_TRUE(f.DescCausale->text().isEmpty());
    }
    EXPECT_EQ(printable(readBytes(archive())), printable(before));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x02\x00", 2)));
    EXPECT_EQ(f.ElencoCausali->count(), 2);

    // Letter case makes another code.
    messages.clear();
    type(f.CodCausale, QStringLiteral("abcde"));
    type(f.DescCausale, QStringLiteral("MINUSCOLA"));
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x03\x00", 2)));

    // Empty fields are refused before anything else.
    messages.clear();
    type(f.CodCausale, QStringLiteral("   "));
    type(f.DescCausale, QStringLiteral("SENZA CODICE"));
    f.OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Campo codice e descrizione obbligatori"));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x03\x00", 2)));
}

TEST_F(Causali, ChangingAPickedCausaleRewritesOnlyItsRecord) {
    const QByteArray pr = causaleBytes(5, "PR", "PRELIEVO", "NU0");
    seed(kReserved + causaleBytes(4, "VE", "VERSAMENTO", "NE1") + pr, QByteArray("\x05\x00", 2));
    const QByteArray before = readBytes(archive());
    Form6& f = editor();

    click(f.ElencoCausali, lineOf(f.ElencoCausali, QStringLiteral("VE ")));
    EXPECT_EQ(stato().IndiceCausaleScelta, 4);
    EXPECT_EQ(f.CodCausale->text(), QStringLiteral("VE"));
    EXPECT_EQ(f.DescCausale->text(), QStringLiteral("VERSAMENTO"));
    EXPECT_TRUE(f.SospesoSiNo[1]->isChecked());
    EXPECT_TRUE(f.DarAver[0]->isChecked());
    EXPECT_TRUE(f.DarAver[2]->isChecked());

    // Another row's code is refused, and the file stays as it was.
    type(f.CodCausale, QStringLiteral("PR"));
    f.OK->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Nr di causale già presente"));
    EXPECT_EQ(printable(readBytes(archive())), printable(before));
    EXPECT_EQ(stato().TabellaCausali[4].codiceCausale, QStringLiteral("VE"));
    EXPECT_EQ(stato().IndiceCausaleScelta, 4);

    // Its own code, cut to five, is accepted.
    messages.clear();
    f.CodCausale->setText(QStringLiteral("VERSAM"));
    f.DescCausale->setText(QStringLiteral("VERSAMENTO CONTANTI"));
    f.DarAver[3]->click();
    f.OK->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(printable(readBytes(archive())),
              printable(kReserved + causaleBytes(4, "VERSA", "VERSAMENTO CONTANTI", "NE0") + pr));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x05\x00", 2)));
    EXPECT_EQ(stato().IndiceCausaleScelta, 0);
    for (ListBox* list : {f.ElencoCausali, formHost().form<FORM12>().List1}) {
        ASSERT_EQ(list->count(), 5);
        EXPECT_EQ(list->text(4), QStringLiteral("VERSA  - VERSAMENTO CONTANTI      "));
        EXPECT_EQ(list->data(4), 4);
    }

    // After "Pulisci" the next save appends.
    click(f.ElencoCausali, 0);
    f.pulisci->click();
    type(f.CodCausale, QStringLiteral("BO"));
    type(f.DescCausale, QStringLiteral("BONIFICO"));
    f.DarAver[0]->click();
    f.OK->click();
    EXPECT_EQ(printable(readBytes(archive()).mid(5 * 35)),
              printable(causaleBytes(6, "BO", "BONIFICO", "SE1")));
    EXPECT_EQ(printable(readBytes(archive()).left(35)),
              printable(causaleBytes(1, "AS", "ASSEGNO", "SU1")));
}

TEST_F(Causali, CountsAreReadAsTheFileHoldsAndAppendsStopAtTheFormatLimit) {
    seed(kReserved, QByteArray("\xFF\xFF", 2));
    EXPECT_EQ(stato().NumeroCausali, 0);

    QByteArray many;
    for (int i = 1; i <= 150; ++i)
        many += causaleBytes(qint16(i), QByteArray::number(i).constData(), "X", "NE1");
    seed(many, QByteArray("\x96\x00", 2));
    EXPECT_EQ(stato().NumeroCausali, 150);
    EXPECT_EQ(stato().TabellaCausali[150].codiceCausale, QStringLiteral("150"));
    EXPECT_EQ(trovaCausale(QStringLiteral("150")), 150);

    // The table keeps growing past the old limit of 120.
    VoceCausale voce;
    voce.codiceCausale = QStringLiteral("NUOVA");
    voce.descrizione = QStringLiteral("D");
    voce.sospeso = QStringLiteral("N");
    voce.entrataUscita = QStringLiteral("E");
    voce.soggettoCosto = QStringLiteral("1");
    EXPECT_TRUE(aggiungiCausale(voce).ok());
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x97\x00", 2)));

    stato().NumeroCausali = MassimoCausali;
    const QByteArray before = readBytes(archive());
    voce.codiceCausale = QStringLiteral("OLTRE");
    const Esito piena = aggiungiCausale(voce);
    EXPECT_TRUE(piena.rifiutato());
    EXPECT_EQ(piena.testo, messaggioArchivioCausaliPieno());
    EXPECT_EQ(printable(readBytes(archive())), printable(before));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x97\x00", 2)));
}

TEST_F(Causali, PickerHandsTheChoiceToItsCallerAndReturnsToRest) {
    seed(kReserved + causaleBytes(4, "VE", "VERSAMENTO", "NE1"), QByteArray("\x04\x00", 2));
    // Custom list colours (red text on blue) are taken at Load.
    stato().ColoriElenchi.coloriPredefiniti = QStringLiteral("N");
    stato().ColoriElenchi.coloreCarattere = 255;
    stato().ColoriElenchi.coloreSfondo = 255.0 * 65536;
    FORM12& p = formHost().form<FORM12>();
    EXPECT_EQ(p.List1->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(p.List1->palette().color(QPalette::Base), QColor(0, 0, 255));
    formHost().show(p);
    std::vector<std::pair<qint16, VoceCausale>> got;
    QObject::connect(&p, &FORM12::causaleScelta,
                     [&](qint16 modo, const VoceCausale& v) { got.emplace_back(modo, v); });

    // Nothing selected: nothing is taken and the picker stays.
    EXPECT_FALSE(p.OK->isEnabled());
    p.OK->click();
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(p.isShown());

    stato().ModoElencoCausali = 1;
    stato().IndiceCausaleScelta = 3;
    doubleClick(p.List1, lineOf(p.List1, QStringLiteral("VE ")));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, 1);
    EXPECT_EQ(got[0].second.codiceCausale, QStringLiteral("VE"));
    EXPECT_EQ(got[0].second.descrizione, QStringLiteral("VERSAMENTO"));
    EXPECT_EQ(got[0].second.entrataUscita, QStringLiteral("E"));
    EXPECT_EQ(stato().IndiceCausaleScelta, 3); // only the movement form's choice clears it
    EXPECT_EQ(stato().ModoElencoCausali, 0);
    EXPECT_FALSE(p.isShown());
    EXPECT_EQ(p.List1->currentRow(), -1);

    // The next opening, from the movement form, gets its own choice.
    formHost().show(p);
    click(p.List1, lineOf(p.List1, QStringLiteral("GC ")));
    EXPECT_TRUE(p.OK->isEnabled());
    p.OK->click();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].first, 0);
    EXPECT_EQ(got[1].second.codiceCausale, QStringLiteral("GC"));
    EXPECT_EQ(got[1].second.sospeso, QStringLiteral("S"));
    EXPECT_EQ(stato().IndiceCausaleScelta, 0);

    // "Uscita" returns the mode to rest without a choice.
    stato().ModoElencoCausali = 2;
    formHost().show(p);
    p.Command2->click();
    EXPECT_EQ(stato().ModoElencoCausali, 0);
    EXPECT_EQ(got.size(), 2u);
}

class Manutenzione : public Causali {
protected:
    // Rows in file order GC, AS, ZZ, BB (numero as the editor left them).
    void SetUp() override {
        Causali::SetUp();
        collegaRichiesteFinestre();
        seed(causaleBytes(3, "GC", "GIROCONTO", "SU1") + causaleBytes(1, "AS", "ASSEGNO", "SU1") +
                 causaleBytes(7, "ZZ", "ULTIMA", "NE0") + causaleBytes(4, "BB", "BONIFICO", "NE1"),
             QByteArray("\x04\x00", 2));
        old = readBytes(archive());
        formHost().form<Form6>();
        editor().SSCommand1->click();
        m = formHost().loaded<ManutCaus>();
        ASSERT_NE(m, nullptr);
    }

    // Keeps AS, BB and GC, moving BB there and back on the way.
    void compose() {
        for (const char* code : {"GC ", "AS ", "BB "})
            doubleClick(m->ElencoCausali, lineOf(m->ElencoCausali, QString::fromLatin1(code)));
        doubleClick(m->List1, lineOf(m->List1, QStringLiteral("BB ")));
        doubleClick(m->ElencoCausali, lineOf(m->ElencoCausali, QStringLiteral("BB ")));
    }

    ManutCaus* m = nullptr;
    QByteArray old;
};

TEST_F(Manutenzione, KeptCausaliAreWrittenInCodeOrderAndTheProgramEnds) {
    EXPECT_FALSE(formHost().form<Form6>().isShown());
    EXPECT_TRUE(m->isShown());
    EXPECT_EQ(listLines(m->ElencoCausali),
              (QStringList{QStringLiteral("AS    - ASSEGNO                  "),
                           QStringLiteral("BB    - BONIFICO                 "),
                           QStringLiteral("GC    - GIROCONTO                "),
                           QStringLiteral("ZZ    - ULTIMA                   ")}));
    EXPECT_EQ(m->List1->count(), 0);

    compose();
    EXPECT_EQ(listLines(m->ElencoCausali),
              QStringList{QStringLiteral("ZZ    - ULTIMA                   ")});
    ASSERT_EQ(m->List1->count(), 3);
    EXPECT_TRUE(m->List1->text(1).startsWith(QStringLiteral("BB ")));

    messages.answer(MessageAnswer::Ok);
    m->Saldi->click();

    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral("L'operazione modificherà l'archivio delle causali. Vuoi continuare?"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ATTENZIONE!"));
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("CHIUSURA PROGRAMMA"));
    EXPECT_EQ(messages.shown()[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(printable(readBytes(archive())),
              printable(causaleBytes(1, "AS", "ASSEGNO", "SU1") +
                        causaleBytes(4, "BB", "BONIFICO", "NE1") +
                        causaleBytes(3, "GC", "GIROCONTO", "SU1")));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x03\x00", 2)));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(programEnding());
}

TEST_F(Manutenzione, CancelOrUscitaChangeNothing) {
    compose();
    messages.answer(MessageAnswer::Cancel);
    m->Saldi->click();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(printable(readBytes(archive())), printable(old));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x04\x00", 2)));
    EXPECT_EQ(ends, 0);

    m->SSCommand1->click();
    ASSERT_NE(formHost().loaded<Help1>(), nullptr);
    EXPECT_TRUE(formHost().loaded<Help1>()->isShown());

    m->esci->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(formHost().loaded<ManutCaus>(), nullptr);
    EXPECT_FALSE(formHost().form<Form6>().isShown());
    EXPECT_EQ(printable(readBytes(archive())), printable(old));
    EXPECT_EQ(ends, 0);
}

TEST_F(Manutenzione, AnEmptyListIsRefusedAndTheNeededCausaliAreAlwaysKept) {
    // Nothing chosen: refused before the question, the archive and the program stay.
    m->Saldi->setFocus();
    QTest::keyClick(m->Saldi, Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, messaggioNessunaCausaleDaRegistrare());
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(printable(readBytes(archive())), printable(old));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x04\x00", 2)));
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(m->isShown());

    // Only ZZ chosen: "AS" and "GC" join it in the list before the question, and all
    // three are written in code order.
    doubleClick(m->ElencoCausali, lineOf(m->ElencoCausali, QStringLiteral("ZZ ")));
    messages.answer(MessageAnswer::Ok);
    m->Saldi->click();
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(listLines(m->List1),
              (QStringList{QStringLiteral("AS    - ASSEGNO                  "),
                           QStringLiteral("GC    - GIROCONTO                "),
                           QStringLiteral("ZZ    - ULTIMA                   ")}));
    EXPECT_EQ(printable(readBytes(archive())), printable(causaleBytes(1, "AS", "ASSEGNO", "SU1") +
                                                         causaleBytes(3, "GC", "GIROCONTO", "SU1") +
                                                         causaleBytes(7, "ZZ", "ULTIMA", "NE0")));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x03\x00", 2)));
    EXPECT_EQ(ends, 1);
}

TEST_F(Manutenzione, AFailedWriteLeavesTheOldArchiveWholeAndTheProgramRunning) {
    compose();

    {
        // The disk takes no more than 40 bytes of a new file.
        const FileSizeLimit limit(40);
        ASSERT_TRUE(limit.isSet());
        m->Saldi->click();
    }

    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("ERRORE"));
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("Causali.DAT")));
    EXPECT_EQ(printable(readBytes(archive())), printable(old));
    EXPECT_EQ(printable(readBytes(count())), printable(QByteArray("\x04\x00", 2)));
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(stato().NumeroCausali, 4);
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files).size(), 2);
}

TEST_F(Manutenzione, ACountThatCannotBeWrittenPutsTheOldArchiveBack) {
    compose();
    QFile::remove(count());
    ASSERT_TRUE(QDir(programFolder()).mkdir(QStringLiteral("RecCausa.dat")));
    m->Saldi->click();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(printable(readBytes(archive())), printable(old));
    EXPECT_EQ(ends, 0);
}

// The archive and its count are one change of the program folder: a failure at either
// write, a roll-back that cannot put a file back, a program stopped midway leave both as
// they were, put back by the next start.
TEST_F(Manutenzione, TheRewriteIsOneChangeOfTheArchiveAndItsCount) {
    const auto iniziali = fileDi(programFolder());
    ProvaModifica prova;
    prova.cartella = programFolder();
    // What the start-up does first.
    prova.riapri = [this] {
        recoverInterrupted(programFolder());
        caricaCausali();
    };
    prova.prepara = [&] {
        rimettiFile(programFolder(), iniziali);
        prova.riapri();
    };
    prova.esegui = [](QString* testo) {
        return test::riuscito(riscriviArchivioCausali({4, 2, 1}), testo);
    };
    prova.file = [this] { return fileDi(programFolder()); };
    EXPECT_EQ(provaModifica(prova), 2);
}

} // namespace
} // namespace qv::test
