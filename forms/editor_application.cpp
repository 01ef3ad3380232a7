#include "forms/editor_application.h"

#include "forms/error_report.h"

#include <QFont>

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
    bool handled = false;
    ReportErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
