#pragma once

#include "core/file_system.h"

#include <QByteArray>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

// The SHA-256 of bytes, which tells one file's contents from another's.
QByteArray ContentHash(std::span<const uint8_t> bytes);

// What the file on disk was when the image was last read from it or written to it, so
// that a change made by another program, or another file put in its place, is seen.
class DiskFileState
{
public:
    // What the path names now, compared with what was remembered.
    struct Check
    {
        bool missing = false;    // the path names no file
        bool otherFile = false;  // the path names another file (another inode)
        bool otherBytes = false; // the file holds other bytes
    };

    // Remembers the file as stamped before its bytes were read, and their hash.
    void remember(std::optional<tamo::fs::FileStamp> stamp, QByteArray hash);

    // Compares the file with what was remembered. Its stamp tells whether its bytes may
    // have changed; only then are they read and hashed, or always when thorough (a write
    // within the clock's tick of the last one leaves the stamp as it was).
    Check check(const std::filesystem::path &path, bool thorough);

    // Whether the file holds other bytes than remembered, once per change: a change
    // already told of is not told again until the file is written anew.
    bool hasNewChange(const std::filesystem::path &path);

private:
    std::optional<tamo::fs::FileStamp> m_stamp;
    QByteArray m_hash;
    std::optional<tamo::fs::FileStamp> m_lastToldOf;
};
