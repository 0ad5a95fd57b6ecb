#pragma once
// The common ground of every test that touches the program: fresh program and
// data folders, a reset shared state, a fixed today, scripted message boxes that
// answer and record every box, and the capture printer.

#include "bytes.h"
#include "common/shared_state.h"
#include "platform/line_printer.h"
#include "platform/message_box.h"
#include "qt_printers.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace qv::test {

// Answers message boxes from a queue (the first button of the box when the
// queue is empty) and keeps every box shown. Each box does to the windows what a
// real one does on a desktop without a window manager: while it is up the window it
// was asked from is no longer active, and when it closes no window is.
class ScriptedMessages {
public:
    void answer(MessageAnswer a) { answers_.push_back(a); }
    // The next box is answered as Enter answers it: with its default button.
    void answerWithEnter() { answers_.push_back(std::nullopt); }
    const std::vector<MessageRecord>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() {
        shown_.clear();
        answers_.clear();
    }
    MessageAnswer respond(const MessageRecord& box);

private:
    std::deque<std::optional<MessageAnswer>> answers_;
    std::vector<MessageRecord> shown_;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Program folder and data folder, each ending in "/".
    QString programFolder() const;
    QString dataFolder() const;

    // Writes raw bytes to a file of the program or data folder, and reads them back.
    static void writeBytes(const QString& path, const QByteArray& bytes) {
        test::writeBytes(path, bytes);
    }
    static QByteArray readBytes(const QString& path) { return test::readBytes(path); }
    // Every file of the data folder with its content, by name.
    std::map<QString, QByteArray> dataFiles() const;

    // Records a test starts from, written by hand: currency `slot` of the program
    // folder's Valute.DAT, account `row` of the data folder's Conti.dat (without its count).
    void writeCurrency(int slot, const char* name, const char* country, double cambio) const;
    void writeAccount(int row, const char* code, const char* bank, double fido = 0) const;

    QTemporaryDir root_;
    ScriptedMessages messages;
    CapturePrinter printed;
    static inline const QDate today{2026, 12, 9};
};

} // namespace qv::test
