// Edits the demo ROM as a user would, waits until the unsaved edits are in the recovery
// journal and says so on its output, then goes on running until it is killed. Arguments:
// the program folder, the ROM, the file to write the edited image into, and optionally the
// first chip it paints (200 when not given). Every question is answered Yes and, like every
// message, written to the error output.
#include "forms/UnitMain.h"
#include "forms/rom_file_session.h"
#include "forms/application_windows.h"
#include "forms/editor_application.h"
#include "forms/message_box.h"

#include "core/file_system.h"
#include "files/file_names.h"

#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 5)
        return 2;
    const int firstChip = argc == 5 ? std::atoi(argv[4]) : 200;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    EditorApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    SetMessageHook([](const QString &text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); });
    SetYesNoHook([](const QString &text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return true;
    });
    CreateWindows(std::filesystem::path(argv[1]));
    FormMain->show();
    FormMain->Files->OpenRom(QString::fromLocal8Bit(argv[2]));
    StageSession &session = FormMain->Session;

    // Twenty strokes of one cell each, in three rows of the map.
    auto *map = FormMain->findChild<QWidget *>(QStringLiteral("ImageMain"));
    for (int stroke = 0; stroke < 20; ++stroke) {
        session.Pen.CurrentChip = firstChip + stroke;
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint((stroke % 8) * 32 + 16, (stroke / 8) * 32 + 16));
    }
    tamo::fs::writeWholeFile(argv[3], session.RomImage.bytes());

    const std::filesystem::path journal = session.Journal->path();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!std::filesystem::exists(journal))
            return;
        poll.stop();
        std::printf("journal written after %d steps\n", session.Document->history()->count());
        std::fflush(stdout);
    });
    poll.start(50);
    return QApplication::exec();
}
