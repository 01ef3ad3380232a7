#include "forms/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

std::function<void(const QString &)> &messageHook()
{
    static std::function<void(const QString &)> hook;
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
