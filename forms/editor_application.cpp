#include "forms/editor_application.h"

#include "forms/message_box.h"

#include <QFont>

#include <exception>

namespace {

constexpr int interfaceFontPixels = 12;

} // namespace

EditorApplication::EditorApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Only the name: a display name would be appended to every window caption.
    setApplicationName(QStringLiteral("TamoEditor"));
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(interfaceFontPixels);
    setFont(font);
}

bool EditorApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowMessage(QString::fromUtf8(error.what()));
    }
    return false;
}
