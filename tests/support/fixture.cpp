#include "fixture.h"

#include "common/today.h"
#include "platform/desktop.h"
#include "platform/form_host.h"

#include <QDir>
#include <QFile>

namespace qv::test {

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const auto& m : shown_)
        out << m.text;
    return out;
}

MessageAnswer ScriptedMessages::respond(const MessageRecord& box) {
    shown_.push_back(box);
    if (!answers_.empty()) {
        const MessageAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
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
    resetDesktopHooks();
    setPrinterOverride(nullptr);
    setMessageResponder({});
    fissaOggi(std::nullopt);
    resetStato();
}

QString ProgramTest::programFolder() const { return root_.path() + QStringLiteral("/programma/"); }
QString ProgramTest::dataFolder() const { return programFolder() + QStringLiteral("dati/"); }

void ProgramTest::writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ProgramTest::readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace qv::test
