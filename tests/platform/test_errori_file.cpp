// The "Errore Disco" dialog: messages, buttons and the codes its answers give,
// and the mapping of this system's file errors onto its numbers.
#include "platform/errori_file.h"
#include "platform/message_box.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

class ErroriFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::setMessageResponder([this](const qv::MessageRecord& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    void TearDown() override { qv::setMessageResponder({}); }

    qint16 ask(qint32 number, qv::MessageAnswer a) {
        answer = a;
        return qv::ErroriFile(number);
    }

    qv::MessageAnswer answer = qv::MessageAnswer::Ok;
    std::vector<qv::MessageRecord> boxes;
};

TEST_F(ErroriFileTest, OkOnlyErrorsAlwaysGiveTwo) {
    for (qint32 n : {52, 53, 55, 62, 64, 76}) {
        boxes.clear();
        EXPECT_EQ(ask(n, qv::MessageAnswer::Ok), 2) << n;
        ASSERT_EQ(boxes.size(), 1u) << n;
        EXPECT_EQ(boxes[0].title, QStringLiteral("Errore Disco"));
        EXPECT_EQ(boxes[0].icon, qv::MessageIcon::Exclamation);
        EXPECT_EQ(boxes[0].buttons, qv::MessageButtons::Ok);
    }
}

TEST_F(ErroriFileTest, MessagesAreTheProgramsOwn) {
    ask(62, qv::MessageAnswer::Ok);
    ask(52, qv::MessageAnswer::Ok);
    ask(64, qv::MessageAnswer::Ok);
    ask(54, qv::MessageAnswer::Abort);
    ask(55, qv::MessageAnswer::Ok);
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Input oltre la fine del file; è stata raggiunta la "
                                            "fine del file e non si può continuare con la "
                                            "lettura."));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Nome o numero di file non valido"));
    EXPECT_EQ(boxes[2].text, boxes[1].text);
    EXPECT_EQ(boxes[3].text, QStringLiteral("Modalità di file non valida."));
    EXPECT_EQ(boxes[4].text, QStringLiteral("File già aperto."));
}

TEST_F(ErroriFileTest, AnswersGiveRetryZeroIgnoreOneAndTheRestTwo) {
    EXPECT_EQ(ask(61, qv::MessageAnswer::Retry), 0);
    EXPECT_EQ(ask(61, qv::MessageAnswer::Ignore), 1);
    EXPECT_EQ(ask(54, qv::MessageAnswer::Abort), 2);
    EXPECT_EQ(boxes.back().buttons, qv::MessageButtons::AbortRetryIgnore);
    EXPECT_EQ(ask(57, qv::MessageAnswer::Retry), 0);
    EXPECT_EQ(ask(68, qv::MessageAnswer::Cancel), 2);
    EXPECT_EQ(ask(71, qv::MessageAnswer::Cancel), 2);
    EXPECT_EQ(boxes.back().buttons, qv::MessageButtons::RetryCancel);
    EXPECT_EQ(boxes.back().text, QStringLiteral("Disco non pronto. Inserire un dischetto"));
    // An answer that is none of these gives 3.
    EXPECT_EQ(ask(76, qv::MessageAnswer::Yes), 3);
}

TEST_F(ErroriFileTest, UnknownNumbersGiveThreeWithoutAnyDialog) {
    for (qint32 n : {0, 9, 13, 70, 1000})
        EXPECT_EQ(ask(n, qv::MessageAnswer::Retry), 3) << n;
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(qv::closingMessage(2), QStringLiteral("Errore irrecuperabile"));
    EXPECT_EQ(qv::closingMessage(3), QStringLiteral("Erore non riconosciuto"));
    EXPECT_EQ(qv::closingMessage(7), QStringLiteral("Errore interno"));
}

// A file or folder the user may not read or write (permissions, a read-only disk) is
// told as a denied access naming the file, with Retry and Cancel, never left to the
// callers' "Erore non riconosciuto".
TEST_F(ErroriFileTest, ADeniedAccessNamesTheFile) {
    const QString file = QStringLiteral("/home/utente/dati/CC1.MOV");
    const QString atteso = QStringLiteral("Accesso negato: il file o la cartella non si può "
                                          "leggere o scrivere.\n/home/utente/dati/CC1.MOV");
    struct Caso {
        const char* nome;
        qint32 numero;
    };
    const std::vector<Caso> casi = {
        {"EACCES", qv::numeroErroreFile(EACCES)},
        {"EPERM", qv::numeroErroreFile(EPERM)},
        {"EROFS", qv::numeroErroreFile(EROFS)},
        {"EACCES on a folder", qv::numeroErroreFile(EACCES, true)},
        {"PermissionsError", qv::numeroErroreFile(QFileDevice::PermissionsError)},
    };
    for (const Caso& c : casi) {
        boxes.clear();
        EXPECT_EQ(ask(c.numero, qv::MessageAnswer::Cancel), 2) << c.nome;
        ASSERT_EQ(boxes.size(), 1u) << c.nome;
        EXPECT_EQ(boxes[0].title, QStringLiteral("Errore Disco")) << c.nome;
        EXPECT_EQ(boxes[0].icon, qv::MessageIcon::Exclamation) << c.nome;
        EXPECT_EQ(boxes[0].buttons, qv::MessageButtons::RetryCancel) << c.nome;
        EXPECT_EQ(boxes[0].text, QStringLiteral("Accesso negato: il file o la cartella non si "
                                                "può leggere o scrivere."))
            << c.nome;
        answer = qv::MessageAnswer::Retry;
        EXPECT_EQ(qv::ErroriFile(c.numero, file), 0) << c.nome;
        ASSERT_EQ(boxes.size(), 2u) << c.nome;
        EXPECT_EQ(boxes[1].text, atteso) << c.nome;
    }
    // The file is named only where the user must put it right: the other messages stay.
    EXPECT_EQ(qv::testoErroreFile(53, file), QStringLiteral("Il file non esiste."));
}

TEST(NumeroErroreFileTest, SystemErrorsMapOntoTheDialogsNumbers) {
    EXPECT_EQ(qv::numeroErroreFile(ENOENT), 53);
    EXPECT_EQ(qv::numeroErroreFile(ENOENT, true), 76);
    EXPECT_EQ(qv::numeroErroreFile(ENOTDIR), 76);
    EXPECT_EQ(qv::numeroErroreFile(ENOSPC), 61);
    EXPECT_EQ(qv::numeroErroreFile(EIO), 57);
    EXPECT_EQ(qv::numeroErroreFile(ENODEV), 68);
    EXPECT_EQ(qv::numeroErroreFile(EBUSY), 55);
    EXPECT_EQ(qv::numeroErroreFile(ENAMETOOLONG), 52);
    EXPECT_EQ(qv::numeroErroreFile(EACCES), 75);
    EXPECT_EQ(qv::numeroErroreFile(EROFS), 75);
    EXPECT_EQ(qv::numeroErroreFile(EMFILE), 57);
    EXPECT_EQ(qv::numeroErroreFile(QFileDevice::ResourceError), 61);
    EXPECT_EQ(qv::numeroErroreFile(QFileDevice::OpenError), 53);
    EXPECT_EQ(qv::numeroErroreFile(QFileDevice::PermissionsError), 75);
    EXPECT_EQ(qv::numeroErroreFile(QFileDevice::WriteError), 57);
}

} // namespace
