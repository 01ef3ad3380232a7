#include "forms/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

std::function<void(const QString &)> &messageHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

std::function<UnsavedEditsAnswer(const QString &)> &questionHook()
{
    static std::function<UnsavedEditsAnswer(const QString &)> hook;
    return hook;
}

std::function<bool(const QString &)> &yesNoHook()
{
    static std::function<bool(const QString &)> hook;
    return hook;
}

} // namespace

void ShowMessage(const QString &text)
{
    if (messageHook()) {
        messageHook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void SetMessageHook(std::function<void(const QString &)> hook)
{
    messageHook() = std::move(hook);
}

UnsavedEditsAnswer AskAboutUnsavedEdits(const QString &text)
{
    if (questionHook())
        return questionHook()(text);
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return UnsavedEditsAnswer::Save;
    case QMessageBox::Discard: return UnsavedEditsAnswer::Discard;
    default: return UnsavedEditsAnswer::Cancel;
    }
}

void SetQuestionHook(std::function<UnsavedEditsAnswer(const QString &)> hook)
{
    questionHook() = std::move(hook);
}

bool AskYesNo(const QString &text, bool yesIsDefault)
{
    if (yesNoHook())
        return yesNoHook()(text);
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void SetYesNoHook(std::function<bool(const QString &)> hook)
{
    yesNoHook() = std::move(hook);
}
