// Makes stand-ins for the product's six files, with the product's exact sizes, so that setup
// can be built, measured and tested without the product's own files. The exe and the 32-bit
// dll are real programs built for the target and padded to size with an overlay.
//
//   mkstandin <output folder> <built tnp.exe> <built tnp32hlp.dll>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

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

void WriteFile(const std::string &path, const Bytes &data, size_t size)
{
    if (data.size() != size)
        Fail(path + ": " + std::to_string(data.size()) + " bytes instead of " + std::to_string(size));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(data.data()), (std::streamsize)data.size());
    if (!out)
        Fail(path + ": could not be written");
}

// A fixed pseudo-random sequence, so that every build makes the same bytes.
struct Sequence {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    }
};

const char *const kWords[] = {
    "tone", "pilot", "audio", "disc", "track", "play", "pause", "volume", "balance", "mixer",
    "channel", "the", "a", "to", "of", "and", "with", "your", "settings", "window", "menu",
    "button", "select", "press", "list", "time", "random", "repeat", "program", "help",
};

// Plain English-like text in CR LF lines, cut or filled to exactly `size` bytes.
Bytes Prose(const std::string &opening, size_t size, uint32_t seed)
{
    std::string text = opening;
    Sequence random{seed};
    int column = 0;
    while (text.size() < size) {
        std::string word = kWords[random.Next() % (sizeof kWords / sizeof kWords[0])];
        if (column + (int)word.size() > 72) {
            text += ".\r\n";
            column = 0;
        }
        text += word + " ";
        column += (int)word.size() + 1;
    }
    text.resize(size - 2);
    text += "\r\n";
    return Bytes(text.begin(), text.end());
}

Bytes ReadMe(size_t size)
{
    return Prose("Tone Pilot\r\n==========\r\n\r\n"
                 "This is a stand-in ReadMe made by the setup build; the product's own files\r\n"
                 "were not given to it.\r\n\r\n",
                 size, 1);
}

Bytes HelpContents(size_t size)
{
    std::string text = ":Base tnp.hlp>main\r\n:Title Tone Pilot Help\r\n:Index Tone Pilot=tnp.hlp\r\n";
    for (int topic = 1; text.size() < size; ++topic)
        text += "2 Topic " + std::to_string(topic) + "=TNP_TOPIC_" + std::to_string(topic) + "\r\n";
    text.resize(size - 2);
    text += "\r\n";
    return Bytes(text.begin(), text.end());
}

// A help file's shape: a small binary header, then topic text with tables of offsets between.
Bytes HelpFile(size_t size)
{
    Bytes data = {0x3F, 0x5F, 0x03, 0x00};
    for (int i = 0; i < 4; ++i)
        data.push_back((unsigned char)(size >> (8 * i)));
    Sequence random{7};
    while (data.size() < size) {
        Bytes text = Prose("", 600 + random.Next() % 400, random.Next());
        data.insert(data.end(), text.begin(), text.end());
        for (int i = 0; i < 64; ++i)
            data.push_back((unsigned char)(random.Next() & (i % 4 == 0 ? 0xFF : 0x0F)));
    }
    data.resize(size);
    return data;
}

// A built program padded with an overlay of code-like bytes after its last section.
Bytes PaddedProgram(const std::string &path, size_t size)
{
    Bytes data = ReadFile(path);
    if (data.size() > size)
        Fail(path + ": already larger than " + std::to_string(size) + " bytes");
    Sequence random{11};
    while (data.size() < size)
        data.push_back((unsigned char)((random.Next() % 3 == 0) ? random.Next() : (random.Next() & 0x1F)));
    return data;
}

// A 16-bit library's shape: an MZ header whose e_lfanew points at an NE header.
Bytes SixteenBitLibrary(size_t size)
{
    Bytes data(size, 0);
    data[0] = 'M';
    data[1] = 'Z';
    data[0x3C] = 0x80;
    data[0x80] = 'N';
    data[0x81] = 'E';
    const char name[] = "TNP16HLP";
    for (size_t i = 0; i < sizeof name - 1; ++i)
        data[0xC0 + i] = (unsigned char)name[i];
    Sequence random{13};
    for (size_t i = 0x100; i < size; ++i)
        data[i] = (unsigned char)(random.Next() & 0x3F);
    return data;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        Fail("usage: mkstandin <output folder> <built tnp.exe> <built tnp32hlp.dll>");
    std::string out = argv[1];
    std::filesystem::create_directories(out);
    WriteFile(out + "/TNPRead.txt", ReadMe(2320), 2320);
    WriteFile(out + "/tnp.hlp", HelpFile(171532), 171532);
    WriteFile(out + "/tnp.cnt", HelpContents(2104), 2104);
    WriteFile(out + "/tnp.exe", PaddedProgram(argv[2], 441344), 441344);
    WriteFile(out + "/tnp32hlp.dll", PaddedProgram(argv[3], 18432), 18432);
    WriteFile(out + "/tnp16hlp.dll", SixteenBitLibrary(4768), 4768);
    return 0;
}
