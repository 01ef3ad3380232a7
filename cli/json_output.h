#pragma once

#include "core/level_settings.h"
#include "core/object_lists.h"
#include "core/stage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace tamo::cli {

void printJson(const QJsonDocument &document);

QJsonObject stageInfoJson(const Stage &stage, int32_t bananaListOffset);
QJsonObject settingsJson(const LevelSettings &settings);

QJsonObject spriteJson(int index, const SpriteRecord &record, const QString &name);
QJsonObject cameraJson(int index, const CameraRecord &record);
QJsonObject bananaJson(int index, const BananaRecord &record);

// {"offset": O, "records": [...]}, the form of every list command.
QJsonObject listJson(int64_t offset, const QJsonArray &records);

// What an edit command did: the bytes it changed and whether the file was written.
QJsonObject editResultJson(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after,
                           bool written);

} // namespace tamo::cli
