#include "cli/render_commands.h"

#include "cli/command_line.h"
#include "cli/json_output.h"
#include "cli/stage_state.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_picture.h"
#include "qtcommon/stage_picture_file.h"
#include "view/chip_palette.h"
#include "view/map_pen.h"
#include "view/stage_pictures.h"
#include "view/stage_scene.h"

#include <QCommandLineParser>

#include <memory>

namespace tamo::cli {

namespace {

bool optionSet(const CliContext &context, const char *name)
{
    return context.options && context.options->isSet(QString::fromLatin1(name));
}

// A stage as the editor's stage load leaves it: decoded, with its chip bitmap.
struct LoadedStage
{
    StageState state;
    Stage stage;
    std::unique_ptr<Picture> chipPicture;
};

LoadedStage loadStage(const CliContext &context, const QStringList &args)
{
    LoadedStage loaded{loadStageState(context, args[0], args[1]), {}, {}};
    const StageSource source = loaded.state.source();
    const int32_t fgTilemap = DecodeFGTilemap(source, loaded.state.level);
    LoadPicture(QtPictureLoader(), context.folder.chipBitmap(fgTilemap), loaded.chipPicture);
    loaded.stage = loaded.state.decode();
    return loaded;
}

void writeImage(const QImage &image, const QString &file)
{
    SavePng(image, file);
    printJson(QJsonDocument(QJsonObject{{"image", file},
                                        {"width", image.width()},
                                        {"height", image.height()}}));
}

} // namespace

int runRender(const CliContext &context, const QStringList &args)
{
    LoadedStage loaded = loadStage(context, args);
    std::unique_ptr<Picture> markPicture;
    LoadPicture(QtPictureLoader(), context.folder.markBitmap(), markPicture);

    MarkSwitches switches;
    switches.ShowSpriteMarks = !optionSet(context, "no-sprites");
    switches.ShowCameraMarks = !optionSet(context, "no-cameras");
    switches.ShowStartMark = !optionSet(context, "no-start");

    writeImage(StagePicture(loaded.state.rom, loaded.stage, loaded.chipPicture.get(),
                            markPicture.get(), switches),
               args[2]);
    return 0;
}

int runPalette(const CliContext &context, const QStringList &args)
{
    Pen pen;
    if (context.options && context.options->isSet(QStringLiteral("chip")))
        pen.CurrentChip = integerArgument(context.options->value(QStringLiteral("chip")), "--chip");
    pen.HFlip = optionSet(context, "hflip");
    pen.VFlip = optionSet(context, "vflip");

    const LoadedStage loaded = loadStage(context, args);
    QtCanvas palette;
    if (!DrawChipPalette(true, loaded.chipPicture.get(), pen, palette))
        throw std::runtime_error("the chip palette cannot be drawn: out of drawing resources");
    writeImage(palette.picture(), args[2]);
    return 0;
}

} // namespace tamo::cli
