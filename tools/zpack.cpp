// Packs the product's six files into the exe's "ZPK" resources: one complete zlib stream per
// file (header 0x78 0x9C, zopfli deflate data, Adler-32 trailer), each proven by decompressing
// it again, plus the resource script that names them.
//
//   zpack <folder with the six files> <output folder>
#include <zlib.h>
#include <zopfli.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const size_t kPayloadBufferSize = 1000000;  // what setup.exe can decompress one file into

struct Entry {
    const char *resourceName;
    const char *fileName;
};

const Entry kEntries[] = {
    {"TNPREAD.TXT", "TNPRead.txt"}, {"TNP.HLP", "tnp.hlp"},           {"TNP.CNT", "tnp.cnt"},
    {"TNP.EXE", "tnp.exe"},         {"TNP32HLP.DLL", "tnp32hlp.dll"}, {"TNP16HLP.DLL", "tnp16hlp.dll"},
};

[[noreturn]] void Fail(const std::string &message)
{
    std::fprintf(stderr, "zpack: %s\n", message.c_str());
    std::exit(1);
}

bool SameNameToWindows(std::string a, std::string b)
{
    for (std::string *s : {&a, &b})
        for (char &c : *s)
            c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    return a == b;
}

// The product's files come as a maintainer has them, often in upper case from a CD or an 8.3
// archive; Windows finds a name in any case, and so does this. Two names that differ only in case
// would be one file on Windows, so which one is meant can't be told.
std::string FindInput(const std::string &dir, const std::string &fileName)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(dir, error))
        if (SameNameToWindows(entry.path().filename().string(), fileName))
            found.push_back(dir + "/" + entry.path().filename().string());
    std::sort(found.begin(), found.end());
    if (found.size() > 1)
        Fail(found[0] + " and " + found[1] + ": two names for one file on Windows, which differ only in case");
    return found.empty() ? dir + "/" + fileName : found[0];
}

std::vector<unsigned char> ReadInput(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail(path + ": missing or unreadable");
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.empty())
        Fail(path + ": empty file, setup could not tell it from a damaged one");
    if (data.size() > kPayloadBufferSize)
        Fail(path + ": " + std::to_string(data.size()) + " bytes, more than the " +
             std::to_string(kPayloadBufferSize) + " setup can unpack");
    return data;
}

std::vector<unsigned char> ZopfliZlibStream(const std::vector<unsigned char> &data)
{
    ZopfliOptions options;
    ZopfliInitOptions(&options);
    // The stand-in exe, like any program with resources, is a patchwork of code, pictures,
    // sounds and text; allowing many more blocks than zopfli's default 15 lets each part get
    // its own Huffman codes, which is most of the gain over zlib. More iterations cost time
    // for little.
    options.numiterations = 15;
    options.blocksplittingmax = 60;
    unsigned char *deflated = nullptr;
    size_t deflatedSize = 0;
    ZopfliCompress(&options, ZOPFLI_FORMAT_DEFLATE, data.data(), data.size(), &deflated, &deflatedSize);

    std::vector<unsigned char> stream = {0x78, 0x9C};  // 32 KB window, default level
    stream.insert(stream.end(), deflated, deflated + deflatedSize);
    std::free(deflated);
    uLong adler = adler32(adler32(0L, Z_NULL, 0), data.data(), (uInt)data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        stream.push_back((unsigned char)(adler >> shift));
    return stream;
}

size_t ZlibLevel9Size(const std::vector<unsigned char> &data)
{
    uLongf size = compressBound(data.size());
    std::vector<unsigned char> out(size);
    if (compress2(out.data(), &size, data.data(), data.size(), 9) != Z_OK)
        Fail("zlib level 9 failed");
    return size;
}

void Verify(const std::string &name, const std::vector<unsigned char> &stream,
            const std::vector<unsigned char> &original)
{
    std::vector<unsigned char> back(kPayloadBufferSize);
    uLongf size = back.size();
    if (uncompress(back.data(), &size, stream.data(), stream.size()) != Z_OK || size != original.size() ||
        !std::equal(original.begin(), original.end(), back.begin()))
        Fail(name + ": the packed stream does not decompress to the original");
}

void WriteOutput(const std::string &path, const std::vector<unsigned char> &data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(data.data()), (std::streamsize)data.size());
    if (!out)
        Fail(path + ": could not be written");
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        Fail("usage: zpack <folder with the six product files> <output folder>");
    std::string inDir = argv[1];
    std::string outDir = std::filesystem::absolute(argv[2]).string();
    std::string script = "// Generated by zpack: the product's files as zlib streams.\n"
                         "LANGUAGE 9, 1\n";
    size_t totalOriginal = 0, totalLevel9 = 0, totalOurs = 0;
    // All six are read and judged before anything is written, so that a refused file leaves
    // no half-made payload behind.
    std::vector<std::vector<unsigned char>> inputs;
    for (const Entry &e : kEntries)
        inputs.push_back(ReadInput(FindInput(inDir, e.fileName)));
    std::filesystem::create_directories(outDir);
    std::printf("%-14s %10s %10s %10s %6s\n", "file", "original", "zlib -9", "ours", "ratio");
    for (size_t i = 0; i < inputs.size(); ++i) {
        const Entry &e = kEntries[i];
        const std::vector<unsigned char> &data = inputs[i];
        std::vector<unsigned char> stream = ZopfliZlibStream(data);
        Verify(e.fileName, stream, data);
        size_t level9 = ZlibLevel9Size(data);
        WriteOutput(outDir + "/" + e.resourceName + ".zpk", stream);
        script += std::string(e.resourceName) + " ZPK \"" + outDir + "/" + e.resourceName + ".zpk\"\n";
        std::printf("%-14s %10zu %10zu %10zu %6.3f\n", e.fileName, data.size(), level9, stream.size(),
                    (double)stream.size() / (double)level9);
        totalOriginal += data.size();
        totalLevel9 += level9;
        totalOurs += stream.size();
    }
    std::printf("%-14s %10zu %10zu %10zu %6.3f\n", "total", totalOriginal, totalLevel9, totalOurs,
                (double)totalOurs / (double)totalLevel9);
    std::ofstream rc(outDir + "/payload.rc");
    rc << script;
    if (!rc)
        Fail(outDir + "/payload.rc: could not be written");
    return 0;
}
