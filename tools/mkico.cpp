// Builds a 32x32, 16-colour .ico from a pixel-art text: 32 rows of 32 characters, '0'-'9' and
// 'a'-'f' for the standard 16-colour palette, '.' for a transparent pixel. Lines starting with
// '#' are comments.
//
//   mkico <picture.txt> <icon.ico>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const int kSide = 32;
// The Windows 16-colour palette, as RGB.
const uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

[[noreturn]] void Fail(const std::string &message)
{
    std::fprintf(stderr, "mkico: %s\n", message.c_str());
    std::exit(1);
}

std::vector<std::string> ReadPicture(const char *path)
{
    std::ifstream in(path);
    if (!in)
        Fail(std::string(path) + ": missing");
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if ((int)line.size() != kSide)
            Fail(std::string(path) + ": row " + std::to_string(rows.size() + 1) + " is not 32 pixels");
        rows.push_back(line);
    }
    if ((int)rows.size() != kSide)
        Fail(std::string(path) + ": not 32 rows");
    return rows;
}

int ColourIndex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void Put16(std::vector<uint8_t> &out, unsigned v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t> &out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        Fail("usage: mkico <picture.txt> <icon.ico>");
    std::vector<std::string> rows = ReadPicture(argv[1]);

    std::vector<uint8_t> image;  // BITMAPINFOHEADER, palette, colour bits, mask: 744 bytes
    Put32(image, 40);
    Put32(image, kSide);
    Put32(image, kSide * 2);  // colour bits and mask stacked
    Put16(image, 1);
    Put16(image, 4);
    Put32(image, 0);
    Put32(image, (kSide * kSide / 2) + (kSide * kSide / 8));
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    for (uint32_t rgb : kPalette) {
        image.push_back(rgb & 0xFF);
        image.push_back((rgb >> 8) & 0xFF);
        image.push_back((rgb >> 16) & 0xFF);
        image.push_back(0);
    }
    for (int y = kSide - 1; y >= 0; --y)  // bottom-up
        for (int x = 0; x < kSide; x += 2) {
            int hi = ColourIndex(rows[y][x]), lo = ColourIndex(rows[y][x + 1]);
            if ((hi < 0 && rows[y][x] != '.') || (lo < 0 && rows[y][x + 1] != '.'))
                Fail(std::string(argv[1]) + ": unknown colour in row " + std::to_string(y + 1));
            image.push_back((uint8_t)(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo)));
        }
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; x += 8) {
            uint8_t bits = 0;
            for (int b = 0; b < 8; ++b)
                if (rows[y][x + b] == '.')
                    bits |= (uint8_t)(0x80 >> b);
            image.push_back(bits);
        }

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // icon
    Put16(file, 1);  // one image
    file.push_back(kSide);
    file.push_back(kSide);
    file.push_back(16);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, (uint32_t)image.size());
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char *>(file.data()), (std::streamsize)file.size());
    if (!out)
        Fail(std::string(argv[2]) + ": could not be written");
    return 0;
}
