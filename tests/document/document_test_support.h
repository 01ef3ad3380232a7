#pragma once

#include "document/rom_document.h"
#include "tests/support/temp_folder.h"

#include <QCoreApplication>
#include <QString>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

// A ROM file of 64 bytes, byte i holding i, in a folder of its own; the application
// object that timers need.
class DocumentFileTest : public testing::Test
{
protected:
    DocumentFileTest() { writeFile(counting(64)); }

    static std::vector<uint8_t> counting(size_t size)
    {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(i);
        return bytes;
    }
    QString fileName() const { return QString::fromStdString(romPath().string()); }
    std::filesystem::path romPath() const { return folder.path / "game.smc"; }
    void writeFile(const std::vector<uint8_t> &bytes) const
    {
        std::ofstream out(romPath(), std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> fileBytes() const
    {
        std::ifstream in(romPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
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
