#include "fixture.h"

#include "common/folder_lock.h"
#include "common/today.h"
#include "platform/desktop.h"
#include "platform/form_host.h"

#include <QApplication>
#include <QDir>

namespace qv::test {

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const auto& m : shown_)
        out << m.text;
    return out;
}

MessageAnswer ScriptedMessages::respond(const MessageRecord& box) {
    shown_.push_back(box);
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(nullptr);
    QT_WARNING_POP
    std::optional<MessageAnswer> scripted;
    bool enter = false;
    if (!answers_.empty()) {
        scripted = answers_.front();
        enter = !scripted;
        answers_.pop_front();
    }
    if (scripted) return *scripted;
    if (enter && box.defaultButton) return *box.defaultButton;
    // Enter on a box without a default, or no answer scripted: the first button.
    switch (box.buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::AbortRetryIgnore:
        return MessageAnswer::Abort;
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNo:
        return MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
        return MessageAnswer::Retry;
    }
    return MessageAnswer::Ok;
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(root_.isValid());
    QDir(root_.path()).mkpath(QStringLiteral("programma"));
    QDir(root_.path()).mkpath(QStringLiteral("programma/dati"));
    resetStato();
    stato().PercorsoProgramma = programFolder();
    stato().PercorsoDati = dataFolder();
    fissaOggi(today);
    setMessageResponder([this](const MessageRecord& box) { return messages.respond(box); });
    setPrinterOverride(&printed);
    formHost().resetForTests();
}

void ProgramTest::TearDown() {
    formHost().resetForTests();
    // The data folder's lock goes with the test's folders.
    dataFolderLock().unlock();
    resetDesktopHooks();
    setPrinterOverride(nullptr);
    setMessageResponder({});
    fissaOggi(std::nullopt);
    resetStato();
}

QString ProgramTest::programFolder() const {
    return root_.path() + QStringLiteral("/programma/");
}
QString ProgramTest::dataFolder() const {
    return programFolder() + QStringLiteral("dati/");
}

std::map<QString, QByteArray> ProgramTest::dataFiles() const {
    std::map<QString, QByteArray> out;
    const QDir dir(dataFolder());
    for (const QString& nome : dir.entryList(QDir::Files))
        out[nome] = readBytes(dir.filePath(nome));
    return out;
}

void ProgramTest::writeCurrency(int slot, const char* name, const char* country,
                                double cambio) const {
    writeRecordAt(programFolder() + QStringLiteral("Valute.DAT"), slot,
                  valutaBytes(qint16(slot), name, cambio, country));
}

void ProgramTest::writeAccount(int row, const char* code, const char* bank, double fido) const {
    writeRecordAt(dataFolder() + QStringLiteral("Conti.dat"), row,
                  contoBytes({.numero = qint16(row), .codice = code, .banca = bank, .fido = fido}));
}

} // namespace qv::test
