#pragma once

#include "cli/value_format.h"
#include "core/object_lists.h"
#include "core/rom_patch.h"
#include "core/stage_records.h"

#include <QList>
#include <QString>

#include <optional>

namespace tamo::cli {

// One field of a list record in the stage files.
template<typename Record>
struct RecordField
{
    QString key;
    int32_t Record::*member;
    ValueFormat format;
    std::optional<uint32_t> endsList = std::nullopt; // the value that ends the list
};

// A kind of list record: its line in the stage files ({"sprite": 3, "param": ...}), the line
// of a list that is another stage's ({"same_sprites_as": 2}), its fields in the order of the
// line, and where the stage keeps it.
template<typename Record>
struct RecordKind
{
    QString key;
    QString sharedKey;
    QList<RecordField<Record>> fields;
    StageList<Record> StageRecords::*list;
    RomPatch (*patch)(int64_t listOffset, int index, const Record &record);
};

const RecordKind<SpriteRecord> &spriteKind();
const RecordKind<CameraRecord> &cameraKind();
const RecordKind<BananaRecord> &bananaKind();

} // namespace tamo::cli
