#pragma once

#include "core/file_system.h"
#include "document/rom_document.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_rom.h"

#include <QCoreApplication>
#include <QString>

#include <gtest/gtest.h>

// A ROM file of 64 bytes, byte i holding i, in a folder of its own; the application
// object that timers need.
class DocumentFileTest : public testing::Test
{
protected:
    DocumentFileTest() { writeFile(counting()); }

    static std::vector<uint8_t> counting() { return tamo::test::CountingRom(64).bytes(); }
    std::filesystem::path romPath() const { return folder.path / "game.smc"; }
    QString fileName() const { return QString::fromStdString(romPath().string()); }
    void writeFile(const std::vector<uint8_t> &bytes) const { tamo::fs::writeWholeFile(romPath(), bytes); }
    std::vector<uint8_t> fileBytes() const { return tamo::fs::readWholeFile(romPath()); }
    static RomEdit byteEdit(int64_t at, uint8_t value)
    {
        return RomEdit{QStringLiteral("Sprite #0"), EditScope::SpriteList, 3, tamo::RomPatch().writeByte(at, value, "t")};
    }

    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "document_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    tamo::test::TempFolder folder;
};
