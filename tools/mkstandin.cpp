// Makes stand-ins for the product's six files, with the product's exact sizes, so that setup
// can be built, measured and tested without the product's own files. The exe and the 32-bit
// dll are real programs built for the target; their pictures, sounds and tips come from here.
//
//   mkstandin media <output folder>
//       the stand-in program's resource inputs: face.bmp, mini.bmp, *.wav, sine.bin, tips.rc,
//       contexts.rc
//   mkstandin files <output folder> <built tnp.exe> <built tnp32hlp.dll> <16-bit code>
//       the six product files
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "standin.h"

namespace {

[[noreturn]] void Fail(const std::string &message)
{
    std::fprintf(stderr, "mkstandin: %s\n", message.c_str());
    std::exit(1);
}

Bytes ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail(path + ": missing");
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string &path, const Bytes &data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(data.data()), (std::streamsize)data.size());
    if (!out)
        Fail(path + ": could not be written");
}

void WriteSized(const std::string &path, const Bytes &data, size_t size)
{
    if (data.size() != size)
        Fail(path + ": " + std::to_string(data.size()) + " bytes instead of " + std::to_string(size));
    WriteFile(path, data);
}

// A built program brought to its final size with zero bytes after its last section, as a
// linker's file alignment would leave them; it must already be nearly that big.
Bytes SizedProgram(const std::string &path, size_t size)
{
    Bytes data = ReadFile(path);
    if (data.size() > size)
        Fail(path + ": " + std::to_string(data.size()) + " bytes, larger than " + std::to_string(size));
    if (size - data.size() > 4096)
        Fail(path + ": " + std::to_string(data.size()) + " bytes, too far below " + std::to_string(size) +
             " to pad without looking odd; give the program more resources");
    data.resize(size, 0);
    return data;
}

void WriteMedia(const std::string &out)
{
    WriteFile(out + "/face.bmp", PlayerFaceBitmap(300, 180, 3, 3));
    WriteFile(out + "/mini.bmp", PlayerFaceBitmap(180, 125, 2, 5));
    WriteFile(out + "/play.wav", SoundWave(20, 2600, 7));
    WriteFile(out + "/eject.wav", SoundWave(10, 2900, 9));
    WriteFile(out + "/click.wav", SoundWave(6, 1200, 11));
    WriteFile(out + "/sine.bin", WaveTable(8192));
    WriteFile(out + "/tips.rc", TipStrings());
    WriteFile(out + "/contexts.rc", ContextStrings());
}

}  // namespace

int main(int argc, char **argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "media" && argc == 3) {
        std::filesystem::create_directories(argv[2]);
        WriteMedia(argv[2]);
        return 0;
    }
    if (command != "files" || argc != 6)
        Fail("usage: mkstandin media <folder> | files <folder> <tnp.exe> <tnp32hlp.dll> <16-bit code>");
    std::string out = argv[2];
    std::filesystem::create_directories(out);
    WriteSized(out + "/TNPRead.txt", ReadMe(2320), 2320);
    WriteSized(out + "/tnp.hlp", HelpFile(171532), 171532);
    WriteSized(out + "/tnp.cnt", HelpContents(2104), 2104);
    WriteSized(out + "/tnp.exe", SizedProgram(argv[3], 441344), 441344);
    WriteSized(out + "/tnp32hlp.dll", SizedProgram(argv[4], 18432), 18432);
    WriteSized(out + "/tnp16hlp.dll", SixteenBitLibrary(ReadFile(argv[5]), 4768), 4768);
    return 0;
}
