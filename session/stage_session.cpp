#include "session/stage_session.h"

#include "core/map_object.h"
#include "qtcommon/qt_picture.h"
#include "view/map_view_settings.h"
#include "view/stage_marks.h"
#include "view/stage_pictures.h"
#include "view/stage_renderer.h"

namespace {

// How long after an edit its journal is written, at most.
constexpr int journalDelayMs = 2000;

} // namespace

StageSession::StageSession(tamo::ProgramFolder folder, ErrorReport report, QObject *parent)
    : QObject(parent)
    , Folder(std::move(folder))
    , Document(new RomDocument(this))
    , RomImage(Document->image())
    , RomFileName(Document->fileName())
    , Selection(new MapSelection(this))
    , Journal(new RecoveryJournal(*Document, Folder.recoveryFolder(), journalDelayMs, this))
    , m_report(std::move(report))
{
    readSettings();
    LoadOffsetTable();
    LoadMarkPicture();
    // The session follows a change before any window does, so that every window finds
    // the stage and its picture as the change left them.
    connect(Document, &RomDocument::changed, this,
            [this](const RomChange &change) { m_report([&] { DocumentChanged(change); }); });
    connect(Document, &RomDocument::stageNeeded, this,
            [this](int32_t level) { m_report([&] { ShowStageOf(level); }); });
}

StageSession::~StageSession() = default;

void StageSession::readSettings()
{
    ApplicationIni = tamo::IniFile::load(Folder.applicationIni());
    const tamo::IniFile &ini = ApplicationIni;
    MarkSwitches.ShowSpriteMarks = ini.readBool("View", "Sprite", true);
    MarkSwitches.ShowCameraMarks = ini.readBool("View", "Camera", true);
    MarkSwitches.ShowStartMark = ini.readBool("View", "Start", true);
    LevelNumber = tamo::ReadLatestStage(ini);
}

void StageSession::writeSettings()
{
    tamo::IniFile &ini = ApplicationIni;
    ini.writeBool("View", "Sprite", MarkSwitches.ShowSpriteMarks);
    ini.writeBool("View", "Camera", MarkSwitches.ShowCameraMarks);
    ini.writeBool("View", "Start", MarkSwitches.ShowStartMark);
    ini.writeInteger("Stage", "Latest", LevelNumber);
}

void StageSession::saveApplicationIni()
{
    Folder.makeSettingsFolder();
    ApplicationIni.save(Folder.applicationIni());
}

void StageSession::LoadOffsetTable()
{
    OffsetsIni = tamo::IniFile::load(Folder.offsetsIni());
    OffsetTable = tamo::LoadOffsetTable(OffsetsIni);
    SpriteIni = tamo::IniFile::load(Folder.spriteIni());
}

void StageSession::LoadMarkPicture()
{
    tamo::LoadPicture(tamo::QtPictureLoader(), Folder.markBitmap(), MarkPicture);
}

void StageSession::LoadChipPicture()
{
    tamo::LoadPicture(tamo::QtPictureLoader(), Folder.chipBitmap(Stage.FGTilemap), ChipPicture);
}

void StageSession::openImage(const QString &path)
{
    Document->open(path);
    RomLoaded = true;
    emit romOpened();
}

void StageSession::LoadStage()
{
    // Until the load succeeds no stage is shown: nothing can be drawn or written in it.
    m_stageShown = false;
    Selection->select(std::nullopt);
    try {
        const tamo::StageSource source{RomImage, OffsetTable, OffsetsIni};
        // A failure below leaves, beyond these two, the previous stage's fields as they were.
        Stage.FGTilemap = tamo::DecodeFGTilemap(source, LevelNumber, &Stage.FGWord);
        Stage.LevelNumber = LevelNumber;
        LoadChipPicture();
        Stage = tamo::DecodeStage(source, LevelNumber, Stage);
        tamo::ResetPen(Pen);
        m_stagePicture.resize(Stage.MapWidth * tamo::CellPixels, Stage.MapHeight * tamo::CellPixels);
        m_stagePicture.clear();
        RedrawStage();
        findSharedTileMap();
    } catch (...) {
        emit stageLoadFailed();
        throw;
    }
    m_stageShown = true;
    emit penChanged();
    emit stageLoaded();
}

void StageSession::findSharedTileMap()
{
    const std::vector<int32_t> sharing
        = tamo::StagesSharingTileMap({RomImage, OffsetTable, OffsetsIni}, LevelNumber);
    m_sharedTileMap = QString::fromStdString(tamo::SharedTileMapText(sharing));
    m_sharedTileMapInFull = QString::fromStdString(tamo::SharedTileMapText(sharing, sharing.size()));
}

void StageSession::ShowStageOf(int32_t level)
{
    if (m_stageShown && level == LevelNumber)
        return;
    LevelNumber = level;
    LoadStage();
}

void StageSession::RedrawStage()
{
    tamo::RedrawStage(stageScene());
    emit pictureRedrawn();
}

tamo::StageScene StageSession::stageScene()
{
    return tamo::StageScene{RomImage, Stage, ChipPicture.get(), MarkPicture.get(), MarkSwitches, m_stagePicture};
}

QString StageSession::tileStepText(const QString &text) const
{
    return m_sharedTileMap.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, m_sharedTileMap);
}

void StageSession::DocumentChanged(const RomChange &change)
{
    switch (change.scope) {
    case EditScope::TileMap:
        if (m_stageShown)
            drawChangedCells(change.patch);
        break;
    case EditScope::StartPoint:
        // The start mark stands where the stage's decoded start point says.
        if (m_stageShown)
            Stage = tamo::DecodeStage({RomImage, OffsetTable, OffsetsIni}, LevelNumber, Stage);
        [[fallthrough]];
    case EditScope::SpriteList:
    case EditScope::CameraList:
    case EditScope::BananaList:
        if (m_stageShown)
            RedrawStage();
        break;
    case EditScope::StageSettings:
    case EditScope::WholeImage:
        // The stage is decoded from these bytes.
        LoadStage();
        break;
    }
    emit changed(change);
}

void StageSession::drawChangedCells(const tamo::RomPatch &patch)
{
    const tamo::StageScene scene = stageScene();
    emit cellsRedrawn(tamo::DrawChangedCells(scene, patch));
    // During a stroke the marks come back when the button is released.
    if (!Pen.Painting) {
        tamo::DrawMarks(scene);
        emit pictureRedrawn();
    }
}

void StageSession::PaletteClick(int x, int y)
{
    tamo::ChoosePaletteChip(Pen, x, y);
    emit penChanged();
}

void StageSession::flipPen(tamo::Flip flip)
{
    tamo::FlipPen(Pen, flip);
    emit penChanged();
}

void StageSession::penEdited()
{
    emit penChanged();
}

void StageSession::pictureWasRedrawn()
{
    emit pictureRedrawn();
}

void StageSession::toggleMarks(bool tamo::MarkSwitches::*kind)
{
    MarkSwitches.*kind = !(MarkSwitches.*kind);
    RedrawStage();
    emit markSwitchesChanged();
}
