#include "cli/stage_export.h"

#include "cli/stage_text.h"
#include "cli/text_error.h"
#include "core/file_system.h"
#include "core/name_lists.h"
#include "core/stage.h"
#include "core/stage_records.h"
#include "core/tile_map_spans.h"
#include "files/file_names.h"
#include "qtcommon/shift_jis_text.h"

#include <span>
#include <system_error>
#include <vector>

namespace tamo::cli {

namespace {

std::span<const uint8_t> bytesOf(const QByteArray &text)
{
    return {reinterpret_cast<const uint8_t *>(text.constData()), size_t(text.size())};
}

bool holds(const std::filesystem::path &path, const QByteArray &text)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const std::vector<uint8_t> bytes = fs::readWholeFile(path);
    const std::span<const uint8_t> wanted = bytesOf(text);
    return std::equal(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
}

// The stage and tile map files that are not among the names, which an earlier export of
// other settings wrote.
std::vector<std::filesystem::path> staleFiles(const std::filesystem::path &dir, const std::map<QString, QByteArray> &texts)
{
    std::vector<std::filesystem::path> stale;
    for (const std::filesystem::directory_entry &entry : std::filesystem::directory_iterator(dir)) {
        const QString name = fileNameText(entry.path().filename());
        if (isStageFolderFileName(name) && !texts.contains(name))
            stale.push_back(entry.path());
    }
    return stale;
}

} // namespace

StageFolder stageFolder(const StageSource &source)
{
    const ImageStages image = ReadStageRecords(source.rom, source.offsets);
    const TileMapSpans spans = FindTileMapSpans(source);
    StageFolder folder{{}, image.stages.size(), spans.maps.size(), image.leftOut};
    for (const StageRecords &stage : image.stages) {
        const QString name = fromShiftJis(LevelName(source.offsetsIni, stage.level));
        folder.texts[stageFileName(stage.level)] = stageFileText(stage, name, spans.tilemapOfStage[size_t(stage.level)]);
    }
    for (const TileMapSpan &span : spans.maps)
        folder.texts[tileMapFileName(span.tilemap)] = tileMapFileText(span, source.rom);
    return folder;
}

FolderWrite writeStageFolder(const std::filesystem::path &dir, const std::map<QString, QByteArray> &texts)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir, error))
        throw textError(QStringLiteral("%1: the folder cannot be made: %2")
                            .arg(fileNameText(dir), QString::fromStdString(error.message())));
    FolderWrite result;
    for (const auto &[name, text] : texts) {
        const std::filesystem::path path = dir / filePath(name);
        if (holds(path, text)) {
            ++result.unchanged;
            continue;
        }
        // Each file is whole as soon as it is written; their flush to the disk is shared.
        fs::writeWholeFile(path, bytesOf(text), fs::Flush::Later);
        ++result.written;
    }
    for (const std::filesystem::path &path : staleFiles(dir, texts)) {
        std::filesystem::remove(path, error);
        if (error)
            throw textError(QStringLiteral("%1: cannot be removed: %2").arg(fileNameText(path), QString::fromStdString(error.message())));
        ++result.removed;
    }
    if (result.written + result.removed > 0)
        fs::flushWrites(dir);
    return result;
}

} // namespace tamo::cli
