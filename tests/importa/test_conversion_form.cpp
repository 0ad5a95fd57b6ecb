// The window "Conversione dati": the folder, its accounts, "Conferma" and "Uscita".
#include "old_folder.h"
#include "support/fixture.h"
#include "support/list_lines.h"

#include "importa/conversion_form.h"
#include "platform/folder_tree.h"
#include "platform/form_host.h"
#include "platform/list_box.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace qv::test {
namespace {

class ConversionFormTest : public ProgramTest {
protected:
    Form1& form() { return formHost().form<Form1>(); }
    // The user picks folder in the tree.
    void pick(const QString& folder) {
        form().Dir1->setCurrentIndex(form().Cartelle->index(QDir::cleanPath(folder)));
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString at(const char* name) const { return dataFolder() + QLatin1String(name); }
};

TEST_F(ConversionFormTest, ControlsAreThereWithTheirTexts) {
    Form1& f = form();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Conversione dati"));
    EXPECT_EQ(f.AddAnItem->text(), QStringLiteral("Conferma"));
    EXPECT_TRUE(f.AddAnItem->isEnabled());
    EXPECT_EQ(f.esci->text(), QStringLiteral("Uscita"));
    for (const char* name : {"Dir1", "NomeFile", "ListaConti", "AddAnItem", "esci"})
        EXPECT_NE(f.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(f.ListaConti->font().fixedPitch());
}

// Picking a folder shows it and lists its accounts, code and bank lined up; a folder
// without an archive lists nothing, and looking at it creates no file.
TEST_F(ConversionFormTest, PickedFolderShowsItsAccounts) {
    writeBytes(at("RecConti.dat"), le16(1));
    writeBytes(at("CONTI.DAT"),
               contoVecchioBytes(1, "ABC", "", "Banca", "", "", "", "", "", 0, ""));
    const QString vuota = programFolder() + QStringLiteral("vuota/");
    QDir().mkpath(vuota);

    pick(dataFolder());
    EXPECT_EQ(form().NomeFile->text(), QStringLiteral("Percorso: ") + dataFolder());
    EXPECT_EQ(form().PercorsoConversione, dataFolder());
    EXPECT_EQ(listLines(form().ListaConti),
              QStringList{QStringLiteral("ABC") + QString(9, QLatin1Char(' ')) +
                          QStringLiteral(" - Banca") + QString(40, QLatin1Char(' '))});

    pick(vuota);
    EXPECT_EQ(form().NomeFile->text(), QStringLiteral("Percorso: ") + vuota);
    EXPECT_EQ(form().ListaConti->count(), 0);
    EXPECT_TRUE(QDir(vuota).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

// "Conferma" converts the folder and says so; pressed again it is refused.
TEST_F(ConversionFormTest, ConfermaConvertsOnceAndThenRefuses) {
    writeOldFolder(dataFolder());
    pick(dataFolder());
    click(form().AddAnItem);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("Conversione completata: 2 conti convertiti."));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(readBytes(at("Conv.con")), convConBytes("09/12/2026", QByteArray(1, '\0')));
    EXPECT_EQ(form().ListaConti->count(), 2); // the list reads the new layout

    messages.clear();
    click(form().AddAnItem);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("I dati selezionati sono stati già convertiti"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Attenzione!"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
}

// A file that cannot be read: "Errore Disco", then, once the user gives up, the plain
// closing message naming the file; Retry runs the conversion again.
TEST_F(ConversionFormTest, UnreadableFileGoesThroughTheFileErrorDialog) {
    writeOldFolder(dataFolder());
    QFile::remove(at("A1.FOG"));
    QDir().mkpath(at("A1.FOG"));
    pick(dataFolder());

    messages.answer(MessageAnswer::Retry);
    messages.answer(MessageAnswer::Cancel);
    click(form().AddAnItem);
    ASSERT_EQ(messages.shown().size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_EQ(messages.shown()[i].title, QStringLiteral("Errore Disco"));
        EXPECT_EQ(messages.shown()[i].text, QStringLiteral("Errore di I/O di periferica"));
        EXPECT_EQ(messages.shown()[i].buttons, MessageButtons::RetryCancel);
    }
    const MessageRecord& fine = messages.shown()[2];
    EXPECT_TRUE(fine.text.startsWith(QStringLiteral("Errore irrecuperabile\n\n")));
    EXPECT_TRUE(fine.text.contains(QStringLiteral("A1.FOG"))) << fine.text.toStdString();
    EXPECT_EQ(fine.icon, MessageIcon::None);
    EXPECT_EQ(fine.title, applicationTitle());
    EXPECT_FALSE(QFileInfo::exists(at("Conv.con")));
}

// A movement file cut short: "Errore Disco" says the reading went past the end of the
// file, and the closing message names the file; nothing is converted.
TEST_F(ConversionFormTest, FileCutShortGoesThroughTheFileErrorDialog) {
    writeOldFolder(dataFolder());
    QByteArray sette;
    for (int i = 1; i <= 7; ++i)
        sette += movimentoVecchioBytes(qint16(i), "01/02/99", "01/02/99", "VE", i, "", "", "N", "E",
                                       "N");
    writeBytes(at("A1.mor"), le16(8));
    writeBytes(at("A1.mov"), sette);
    const QByteArray tot = readBytes(at("A1.tot"));
    pick(dataFolder());

    click(form().AddAnItem);
    ASSERT_EQ(messages.shown().size(), 2u);
    const MessageRecord& disco = messages.shown()[0];
    EXPECT_EQ(disco.title, QStringLiteral("Errore Disco"));
    EXPECT_EQ(disco.text, QStringLiteral("Input oltre la fine del file; è stata raggiunta la fine "
                                         "del file e non si può continuare con la lettura."));
    EXPECT_EQ(disco.buttons, MessageButtons::Ok);
    const MessageRecord& fine = messages.shown()[1];
    EXPECT_TRUE(fine.text.startsWith(QStringLiteral("Errore irrecuperabile\n\nImpossibile "
                                                    "leggere ") +
                                     at("A1.mov")))
        << fine.text.toStdString();
    EXPECT_EQ(readBytes(at("A1.mov")), sette);
    EXPECT_EQ(readBytes(at("A1.tot")), tot);
    EXPECT_FALSE(QFileInfo::exists(at("Conv.con")));
}

// A negative count is no file error the dialog knows: the conversion ends with the
// plain message for an error not recognised, naming the count file.
TEST_F(ConversionFormTest, NegativeCountEndsAsAnErrorNotRecognised) {
    writeOldFolder(dataFolder());
    writeBytes(at("A1.mor"), le16(-1));
    const QByteArray mov = readBytes(at("A1.mov"));
    pick(dataFolder());

    click(form().AddAnItem);
    ASSERT_EQ(messages.shown().size(), 1u);
    const MessageRecord& fine = messages.shown()[0];
    EXPECT_TRUE(fine.text.startsWith(QStringLiteral("Erore non riconosciuto\n\nImpossibile "
                                                    "leggere ") +
                                     at("A1.mor")))
        << fine.text.toStdString();
    EXPECT_EQ(fine.icon, MessageIcon::None);
    EXPECT_EQ(readBytes(at("A1.mov")), mov);
    EXPECT_FALSE(QFileInfo::exists(at("Conv.con")));
}

TEST_F(ConversionFormTest, UscitaUnloadsTheWindow) {
    Form1& f = form();
    click(f.esci);
    EXPECT_EQ(formHost().loaded<Form1>(), nullptr);
}

} // namespace
} // namespace qv::test
