#include "cli/patch_commands.h"

#include "cli/json_output.h"
#include "cli/stage_state.h"
#include "core/file_system.h"
#include "core/patch_file.h"

#include <QJsonArray>

#include <optional>
#include <utility>

namespace tamo::cli {

namespace {

// What tells the stages' bytes apart: the offset table of the program folder.
struct StageLayout
{
    IniFile offsetsIni;
    OffsetTable offsets;

    StageSource source(const RomImage &rom) const { return {rom, offsets, offsetsIni}; }
};

StageLayout loadStageLayout(const CliContext &context)
{
    StageLayout layout{loadOffsetsIni(context), {}};
    layout.offsets = LoadOffsetTable(layout.offsetsIni);
    return layout;
}

// Runs work; a patch that cannot be read, made or applied is reported with its file's name.
template<typename Work>
auto namingPatch(const std::filesystem::path &patch, Work work)
{
    return NamingPatchFile(patch.string(), work);
}

QJsonValue sizeJson(std::optional<uint64_t> size)
{
    return size ? QJsonValue(qint64(*size)) : QJsonValue(QJsonValue::Null);
}

QJsonObject patchInfoJson(const PatchInfo &info)
{
    QJsonObject object{{"format", QString::fromStdString(PatchFormatName(info.format))},
                       {"source_size", sizeJson(info.sourceSize)},
                       {"target_size", sizeJson(info.targetSize)}};
    if (info.bps) {
        object.insert("source_crc32", qint64(info.bps->sourceCrc));
        object.insert("target_crc32", qint64(info.bps->targetCrc));
        object.insert("patch_crc32", qint64(info.bps->patchCrc));
    }
    return object;
}

// The patch's own details, with the sizes of the images it was applied to or made from.
QJsonObject patchResultJson(const PatchInfo &info, size_t sourceSize, size_t targetSize,
                            const ImageDifference &difference)
{
    QJsonObject object = patchInfoJson(info);
    object.insert("source_size", qint64(sourceSize));
    object.insert("target_size", qint64(targetSize));
    object.insert("changed_bytes", qint64(difference.bytes));
    QJsonArray stages;
    for (const int32_t stage : difference.stages)
        stages.append(stage);
    object.insert("stages", stages);
    return object;
}

} // namespace

int runMakePatch(const CliContext &context, const QStringList &args)
{
    const std::filesystem::path out = pathFromArgument(args[2]);
    const std::optional<PatchFormat> format = PatchFormatForName(out);
    if (!format) {
        throw UsageError(QStringLiteral("OUT: \"%1\" ends neither in .bps nor in .ips, so it names no patch format")
                             .arg(args[2])
                             .toStdString());
    }
    const RomImage base = RomImage::open(pathFromArgument(args[0]));
    const std::vector<uint8_t> modified = fs::readWholeFile(pathFromArgument(args[1]));
    const std::vector<uint8_t> patch = namingPatch(out, [&] { return MakePatch(*format, base.bytes(), modified); });
    const StageLayout layout = loadStageLayout(context);
    const ImageDifference difference = StageExtents(layout.source(base)).compare(modified);
    fs::writeWholeFile(out, patch);
    QJsonObject result = patchResultJson(ReadPatchInfo(patch), base.bytes().size(), modified.size(), difference);
    result.insert("patch_size", qint64(patch.size()));
    printJson(QJsonDocument(result));
    return 0;
}

int runApplyPatch(const CliContext &context, const QStringList &args)
{
    const RomImage rom = RomImage::open(pathFromArgument(args[0]));
    const std::filesystem::path patchPath = pathFromArgument(args[1]);
    const std::vector<uint8_t> patch = fs::readWholeFile(patchPath);
    const StageLayout layout = loadStageLayout(context);
    const auto [info, patched] = namingPatch(patchPath, [&] {
        return std::pair(ReadPatchInfo(patch), PatchImage(layout.source(rom), patch));
    });
    fs::writeWholeFile(pathFromArgument(args[2]), patched.bytes);
    QJsonObject result = patchResultJson(info, rom.bytes().size(), patched.bytes.size(), patched.difference);
    result.insert("written", true);
    printJson(QJsonDocument(result));
    return 0;
}

int runPatchInfo(const CliContext &context, const QStringList &args)
{
    const std::filesystem::path patchPath = pathFromArgument(args[0]);
    const std::vector<uint8_t> patch = fs::readWholeFile(patchPath);
    const PatchInfo info = namingPatch(patchPath, [&] { return ReadPatchInfo(patch); });
    if (args.size() < 2) {
        printJson(QJsonDocument(patchInfoJson(info)));
        return 0;
    }
    const RomImage rom = RomImage::open(pathFromArgument(args[1]));
    const StageLayout layout = loadStageLayout(context);
    const PatchedImage patched = namingPatch(patchPath, [&] { return PatchImage(layout.source(rom), patch); });
    printJson(QJsonDocument(patchResultJson(info, rom.bytes().size(), patched.bytes.size(), patched.difference)));
    return 0;
}

} // namespace tamo::cli
