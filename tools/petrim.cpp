// Leaves out of a PE file the zeros that end each section's raw data: the loader fills a
// section's memory with zeros beyond its raw data, up to its virtual size, so the program loads
// the same. This lets the zero-filled data of a program (its .bss) be the tail of a section of
// initialised data, as the linkers of Windows 95's time made it, rather than a section of its own,
// whose header would take the file past the first 512 bytes.
//
//   petrim <PE file>   (rewritten in place)
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

uint32_t Read(const std::vector<uint8_t> &file, size_t at, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | file.at(at + i);
    return value;
}

void Write(std::vector<uint8_t> &file, size_t at, int bytes, uint32_t value)
{
    for (int i = 0; i < bytes; ++i, value >>= 8)
        file.at(at + i) = (uint8_t)value;
}

uint32_t AlignUp(uint32_t value, uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// The image checksum as the linker and signing tools compute it: the file's 16-bit words summed
// with their carries folded back in, the checksum field itself counted as zero, plus the length.
uint32_t PeChecksum(const std::vector<uint8_t> &file, size_t checksumAt)
{
    uint32_t sum = 0;
    for (size_t at = 0; at < file.size(); at += 2) {
        if (at == checksumAt || at == checksumAt + 2)
            continue;
        sum += file[at] | (at + 1 < file.size() ? file[at + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return sum + (uint32_t)file.size();
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: petrim <PE file>\n");
        return 2;
    }
    std::vector<uint8_t> file;
    {
        std::ifstream in(argv[1], std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (file.size() < 0x40 || Read(file, 0, 2) != 0x5A4D || Read(file, Read(file, 0x3C, 4), 4) != 0x4550) {
        std::fprintf(stderr, "petrim: %s is not a PE file\n", argv[1]);
        return 1;
    }
    const size_t coff = Read(file, 0x3C, 4) + 4, optional = coff + 20;
    const uint32_t sections = Read(file, coff + 2, 2), optionalSize = Read(file, coff + 16, 2);
    const bool pe32 = Read(file, optional, 2) == 0x10B;
    const uint32_t fileAlignment = Read(file, optional + 36, 4), headersSize = Read(file, optional + 60, 4);
    // A certificate table or debug data lies outside the sections: such a file is left alone.
    const size_t directories = optional + (pe32 ? 96 : 112);
    if (Read(file, directories + 4 * 8, 4) != 0 || Read(file, directories + 6 * 8 + 4, 4) != 0) {
        std::fprintf(stderr, "petrim: %s is signed or holds debug data\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> out(file.begin(), file.begin() + headersSize);
    uint32_t initialised = 0;
    for (uint32_t i = 0; i < sections; ++i) {
        const size_t header = optional + optionalSize + 40 * i;
        uint32_t raw = Read(file, header + 16, 4), at = Read(file, header + 20, 4);
        while (raw > 0 && file.at(at + raw - 1) == 0)
            --raw;
        const uint32_t kept = AlignUp(raw, fileAlignment);
        Write(out, header + 16, 4, kept);
        Write(out, header + 20, 4, kept == 0 ? 0 : (uint32_t)out.size());
        out.insert(out.end(), file.begin() + at, file.begin() + at + raw);
        out.resize(out.size() + (kept - raw), 0);
        if (Read(file, header + 36, 4) & 0x40)  // IMAGE_SCN_CNT_INITIALIZED_DATA
            initialised += kept;
    }
    Write(out, optional + 8, 4, initialised);
    // A stale checksum would be the one byte a signed release differs in from its clean build.
    if (Read(out, optional + 64, 4) != 0)
        Write(out, optional + 64, 4, PeChecksum(out, optional + 64));
    std::ofstream(argv[1], std::ios::binary | std::ios::trunc).write((const char *)out.data(), (std::streamsize)out.size());
    return 0;
}
