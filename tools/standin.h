// Generators for the stand-in product files. Every one is a pure function of fixed seeds, so
// two builds make the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A fixed pseudo-random sequence (the classic rand() recurrence).
struct Sequence {
    uint32_t state;
    uint32_t Next()
    {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    }
    int Range(int low, int high) { return low + (int)(Next() % (uint32_t)(high - low + 1)); }
};

void PutU16(Bytes &data, unsigned value);
void PutU32(Bytes &data, uint32_t value);
void PutText(Bytes &data, const std::string &text);  // with its NUL

// Media for the stand-in program's resources.
// A 24-bit picture of the player's control panel; `grain` is the noise of the metal in steps.
Bytes PlayerFaceBitmap(int width, int height, int grain, uint32_t seed);
Bytes SoundWave(int notes, int samplesPerNote, uint32_t seed);   // 8-bit mono RIFF WAVE
Bytes WaveTable(int entries);                                    // one sine period, 16-bit

// Readable text about the product, made from sentence patterns.
std::string HelpSentence(Sequence &random);
std::string HelpParagraph(Sequence &random, int sentences);
// The help topics' titles, in the order of the contents file.
extern const char *const kTopicTitles[];
extern const int kTopicCount;
std::string ContextId(const char *title);  // "IDH_PLAYING_A_DISC" style

// The files themselves, each exactly `size` bytes.
Bytes ReadMe(size_t size);
Bytes HelpContents(size_t size);
Bytes HelpFile(size_t size);
Bytes TipStrings();       // a resource script: a string table of tips for the stand-in program
Bytes ContextStrings();   // a resource script: the help topics' context names and titles
Bytes SixteenBitLibrary(const Bytes &code, size_t size);
