// Pictures and sounds like those a CD player carries in its resources: a shaded control panel,
// short synthesized sound effects and a sine table for its tone generator.
#include <cmath>

#include "standin.h"

void PutU16(Bytes &data, unsigned value)
{
    data.push_back((unsigned char)value);
    data.push_back((unsigned char)(value >> 8));
}

void PutU32(Bytes &data, uint32_t value)
{
    PutU16(data, value & 0xFFFF);
    PutU16(data, value >> 16);
}

void PutText(Bytes &data, const std::string &text)
{
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
}

namespace {

struct Rgb {
    int r, g, b;
};

int Clamp(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

// Brushed metal: a vertical light gradient with film grain of `grain` steps in each channel.
Rgb Metal(int y, int height, int grain, Sequence &random)
{
    int light = 176 - 48 * y / height;
    return {light + random.Range(-grain, grain), light + random.Range(-grain, grain),
            light + 10 + random.Range(-grain, grain)};
}

// A raised button with a dark symbol in the middle.
Rgb Button(int bx, int by, int side, int symbol, Rgb metal)
{
    if (bx < 2 || by < 2)
        return {236, 236, 240};
    if (bx >= side - 2 || by >= side - 2)
        return {72, 72, 84};
    int cx = bx - side / 2, cy = by - side / 2;
    bool mark = false;
    switch (symbol) {
    case 0: mark = cx >= -5 && cx <= 5 && std::abs(cy) <= (5 - cx) / 2; break;  // play
    case 1: mark = std::abs(cy) <= 5 && (std::abs(cx + 3) <= 1 || std::abs(cx - 3) <= 1); break;
    case 2: mark = std::abs(cx) <= 5 && std::abs(cy) <= 5; break;  // stop
    case 3: mark = std::abs(cx) <= 6 && cy >= -5 && cy <= 0 && std::abs(cx) <= 6 + cy; break;
    default: mark = std::abs(cy) <= 4 && std::abs(cx) <= 6 && (cx + 6) % 6 < 4; break;
    }
    return mark ? Rgb{24, 24, 32} : Rgb{metal.r + 12, metal.g + 12, metal.b + 8};
}

// The display: seven-segment-like digits lit in green on a dark field.
Rgb Display(int dx, int dy, int digitSeed)
{
    int cell = dx / 18, cx = dx % 18, cy = dy;
    int digit = (digitSeed + cell * 7) % 10;
    static const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    unsigned s = kSegments[digit];
    bool lit = ((s & 1) && cy < 3 && cx > 2 && cx < 13) || ((s & 2) && cx >= 12 && cx < 15 && cy < 16) ||
               ((s & 4) && cx >= 12 && cx < 15 && cy >= 16 && cy < 30) ||
               ((s & 8) && cy >= 27 && cy < 30 && cx > 2 && cx < 13) ||
               ((s & 16) && cx < 3 && cy >= 16 && cy < 30) || ((s & 32) && cx < 3 && cy < 16) ||
               ((s & 64) && cy >= 14 && cy < 17 && cx > 2 && cx < 13);
    return lit ? Rgb{96, 232, 112} : Rgb{20, 44 + (cy & 1) * 4, 24};
}

}  // namespace

Bytes PlayerFaceBitmap(int width, int height, int grain, uint32_t seed)
{
    Sequence random{seed};
    int rowBytes = (width * 3 + 3) & ~3;
    Bytes data;
    PutU16(data, 0x4D42);  // "BM"
    PutU32(data, (uint32_t)(14 + 40 + rowBytes * height));
    PutU32(data, 0);
    PutU32(data, 14 + 40);
    PutU32(data, 40);
    PutU32(data, (uint32_t)width);
    PutU32(data, (uint32_t)height);
    PutU16(data, 1);
    PutU16(data, 24);
    PutU32(data, 0);
    PutU32(data, (uint32_t)(rowBytes * height));
    PutU32(data, 2835);
    PutU32(data, 2835);
    PutU32(data, 0);
    PutU32(data, 0);
    const int side = 28, buttonsTop = height - side - 10;
    for (int row = height - 1; row >= 0; --row) {  // bottom-up, as DIBs are stored
        for (int x = 0; x < width; ++x) {
            Rgb pixel = Metal(row, height, grain, random);
            if (x >= 12 && x < 12 + 18 * 6 && row >= 12 && row < 44)
                pixel = Display(x - 12, row - 12, (int)seed);
            else if (row >= buttonsTop && row < buttonsTop + side && x >= 12 && (x - 12) % (side + 6) < side &&
                     (x - 12) / (side + 6) < 8)
                pixel = Button((x - 12) % (side + 6), row - buttonsTop, side, (x - 12) / (side + 6) % 5, pixel);
            data.push_back((unsigned char)Clamp(pixel.b));
            data.push_back((unsigned char)Clamp(pixel.g));
            data.push_back((unsigned char)Clamp(pixel.r));
        }
        for (int pad = width * 3; pad < rowBytes; ++pad)
            data.push_back(0);
    }
    return data;
}

Bytes SoundWave(int notes, int samplesPerNote, uint32_t seed)
{
    Sequence random{seed};
    const int rate = 22050;
    Bytes samples;
    for (int n = 0; n < notes; ++n) {
        double frequency = 220.0 * std::pow(2.0, random.Range(0, 24) / 12.0);
        for (int i = 0; i < samplesPerNote; ++i) {
            double t = 2.0 * M_PI * frequency * i / rate;
            double v = 0.6 * std::sin(t) + 0.25 * std::sin(2 * t) + 0.1 * std::sin(3 * t);
            samples.push_back((unsigned char)Clamp(128 + (int)std::lround(100.0 * v * std::exp(-i / 3000.0))));
        }
    }
    Bytes data;
    PutText(data, "RIFF");
    data.pop_back();
    PutU32(data, (uint32_t)(36 + samples.size()));
    data.insert(data.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(data, 16);
    PutU16(data, 1);  // PCM
    PutU16(data, 1);
    PutU32(data, rate);
    PutU32(data, rate);
    PutU16(data, 1);
    PutU16(data, 8);
    data.insert(data.end(), {'d', 'a', 't', 'a'});
    PutU32(data, (uint32_t)samples.size());
    data.insert(data.end(), samples.begin(), samples.end());
    return data;
}

Bytes WaveTable(int entries)
{
    Bytes data;
    for (int i = 0; i < entries; ++i)
        PutU16(data, (unsigned)(int)std::lround(32767.0 * std::sin(2.0 * M_PI * i / entries)) & 0xFFFF);
    return data;
}
