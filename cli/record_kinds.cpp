#include "cli/record_kinds.h"

namespace tamo::cli {

const RecordKind<SpriteRecord> &spriteKind()
{
    using R = SpriteRecord;
    static const RecordKind<R> kind{
        "sprite", "same_sprites_as",
        {{"param", &R::Param, Code16, 0}, {"x", &R::X, Number16}, {"y", &R::Y, Number16}, {"type", &R::Type, Code16}},
        &StageRecords::sprites, SpriteRecordPatch};
    return kind;
}

const RecordKind<CameraRecord> &cameraKind()
{
    using R = CameraRecord;
    static const RecordKind<R> kind{
        "camera", "same_cameras_as",
        {{"x", &R::X, Number16, CameraListEnd}, {"y", &R::Y, Number16, CameraListEnd}},
        &StageRecords::cameras, CameraRecordPatch};
    return kind;
}

const RecordKind<BananaRecord> &bananaKind()
{
    using R = BananaRecord;
    static const RecordKind<R> kind{
        "banana", "same_bananas_as",
        {{"group", &R::Group, Number8, 0}, {"x", &R::X, Number16}, {"y", &R::Y, Number8}},
        &StageRecords::bananas, BananaRecordPatch};
    return kind;
}

} // namespace tamo::cli
