#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tamo::test {

// A shell script standing in for an emulator, in a folder of the test's: it keeps the
// file it is given as its first argument (as "rom"), writes its arguments one a line
// (as "arguments", written last, so that a test waits for it), then exits with the code
// given. A failing one writes lines to its error output first; a slow one sleeps before
// it ends.
struct EmulatorScript
{
    std::filesystem::path folder;
    std::filesystem::path program;

    EmulatorScript(std::filesystem::path dir, int exitCode = 0, int sleepSeconds = 0)
        : folder(std::move(dir))
        , program(folder / "emulator.sh")
    {
        std::ofstream script(program, std::ios::binary);
        script << "#!/bin/sh\n"
               << "out='" << folder.string() << "'\n"
               << "cp -- \"$1\" \"$out/rom\"\n"
               << ": > \"$out/arguments.part\"\n"
               << "for argument in \"$@\"; do printf '%s\\n' \"$argument\" >> \"$out/arguments.part\"; done\n"
               << "mv \"$out/arguments.part\" \"$out/arguments\"\n";
        if (exitCode != 0)
            script << "echo 'first line of errors' >&2\necho 'no cartridge for you' >&2\n";
        if (sleepSeconds != 0)
            script << "sleep " << sleepSeconds << "\n";
        script << "exit " << exitCode << "\n";
        script.close();
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }

    bool ran() const { return std::filesystem::exists(folder / "arguments"); }

    std::vector<std::string> arguments() const
    {
        std::ifstream in(folder / "arguments");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::vector<uint8_t> rom() const
    {
        std::ifstream in(folder / "rom", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

} // namespace tamo::test
