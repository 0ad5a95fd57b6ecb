// The check of typed dates and the boxes it shows.
#include "platform/date_check_dialog.h"
#include "platform/message_box.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace qv {
namespace {

const QString kLong = QStringLiteral(" Data Errata; Inserire la data nel formato GGMMAAAA "
                                     "immettendo lo zero davanti ai numeri con una sola cifra.");
const QString kShort = QStringLiteral(" Data Errata; Inserire la data nel formato GGMMAA "
                                      "immettendo lo zero davanti ai numeri con una sola cifra.");

class RecordedBoxes {
public:
    RecordedBoxes() {
        setMessageResponder([this](const MessageRecord& r) {
            boxes.push_back(r);
            return MessageAnswer::Ok;
        });
    }
    ~RecordedBoxes() { setMessageResponder({}); }
    std::vector<MessageRecord> boxes;
};

void expectOneBox(const std::vector<MessageRecord>& boxes, const QString& text) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].title, "Errore");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
}

struct TextCase {
    const char* text;
    bool valid;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.text;
}

class ControllaTestoData : public ::testing::TestWithParam<TextCase> {};

TEST_P(ControllaTestoData, GoodDatesPassSilentlyBadOnesShowTheLongMessageOnce) {
    RecordedBoxes rec;
    const TextCase& c = GetParam();
    EXPECT_EQ(controllaTestoData(c.text), c.valid) << c.text;
    if (c.valid)
        EXPECT_TRUE(rec.boxes.empty());
    else
        expectOneBox(rec.boxes, kLong);
}

INSTANTIATE_TEST_SUITE_P(
    TypedDates, ControllaTestoData,
    ::testing::Values(TextCase{"29/02/2000", true}, TextCase{"31/05/2001", true},
                      TextCase{"29/02/1900", false}, TextCase{"29/02/2001", false},
                      TextCase{"31/04/2001", false}, TextCase{"15/13/2001", false},
                      TextCase{"15/00/2001", false}, TextCase{"15/06/0999", false},
                      TextCase{"00/06/2001", false}, TextCase{"32/02/0999", false}));

TEST(ControllaTestoData, IncompleteTextShowsTheShortMessageOnly) {
    for (const char* text : {"__/__/____", "5/06/2001", "05/06/20__", "", "05062001"}) {
        RecordedBoxes rec;
        EXPECT_FALSE(controllaTestoData(text)) << text;
        expectOneBox(rec.boxes, kShort);
    }
}

TEST(ControllaData, SetsEsitoToZeroOnlyOnABadDate) {
    RecordedBoxes rec;
    qint16 esito = 7;
    ControllaData(5, 6, 2001, esito);
    EXPECT_EQ(esito, 7);
    EXPECT_TRUE(rec.boxes.empty());

    ControllaData(5.5, 6, 2001, esito);
    EXPECT_EQ(esito, 0);
    expectOneBox(rec.boxes, kLong);
}

TEST(MsgDataErrataBreve, ShowsTheShortMessage) {
    RecordedBoxes rec;
    MsgDataErrataBreve();
    expectOneBox(rec.boxes, kShort);
}

} // namespace
} // namespace qv
