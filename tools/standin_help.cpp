// A help file in the shape of a WinHelp 3.1 file: the file header, internal files each with its
// own header (|SYSTEM, |FONT, |TOPIC, |CONTEXT, |TTLBTREE and screenshots |bm0...), the
// internal directory as a one-page B+ tree, and a free block that ends the file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "standin.h"

namespace {

const int kTopicBlock = 4096;
const int kPicturesWidth = 270, kPicturesHeight = 101;  // one screenshot of the player
const int kPictureCount = 3;

// An internal file: its header (reserved space, used space, flags) and its bytes.
Bytes InternalFile(const Bytes &body)
{
    Bytes data;
    PutU32(data, (uint32_t)(body.size() + 9));
    PutU32(data, (uint32_t)body.size());
    data.push_back(4);
    data.insert(data.end(), body.begin(), body.end());
    return data;
}

// A B+ tree of one leaf page holding `entries` (already sorted), as the help compiler writes
// the small trees.
Bytes OnePageTree(const char *structure, int pageSize, const std::vector<Bytes> &entries)
{
    Bytes data;
    PutU16(data, 0x293B);
    PutU16(data, 0x0402);
    PutU16(data, (unsigned)pageSize);
    Bytes name(16, 0);
    for (int i = 0; structure[i]; ++i)
        name[i] = (unsigned char)structure[i];
    data.insert(data.end(), name.begin(), name.end());
    PutU16(data, 0);       // must be zero
    PutU16(data, 0);       // page splits
    PutU16(data, 0);       // root page
    PutU16(data, 0xFFFF);  // must be -1
    PutU16(data, 1);       // total pages
    PutU16(data, 1);       // levels
    PutU32(data, (uint32_t)entries.size());
    Bytes page;
    for (const Bytes &entry : entries)
        page.insert(page.end(), entry.begin(), entry.end());
    if ((int)page.size() + 8 > pageSize) {
        std::fprintf(stderr, "mkstandin: help tree %s overflows its page\n", structure);
        std::exit(1);
    }
    PutU16(data, (unsigned)(pageSize - 8 - page.size()));  // unused bytes
    PutU16(data, (unsigned)entries.size());
    PutU16(data, 0xFFFF);
    PutU16(data, 0xFFFF);
    data.insert(data.end(), page.begin(), page.end());
    data.resize(data.size() + (pageSize - 8 - page.size()), 0);
    return data;
}

uint32_t ContextHash(const std::string &id)
{
    uint32_t hash = 0;
    for (char c : id) {
        int value = c >= 'A' && c <= 'Z' ? c - 'A' + 17 : c >= '1' && c <= '9' ? c - '0' : c == '0' ? 10 : 13;
        hash = hash * 43 + (uint32_t)value;
    }
    return hash;
}

Bytes SystemFile()
{
    Bytes body;
    PutU16(body, 0x036C);
    PutU16(body, 21);  // 3.1 help compiler
    PutU16(body, 1);
    PutU32(body, 0x3245A800);  // fixed compile date
    PutU16(body, 0);           // topics stored without compression
    auto record = [&body](unsigned type, const std::string &text) {
        PutU16(body, type);
        PutU16(body, (unsigned)text.size() + 1);
        PutText(body, text);
    };
    record(1, "Tone Pilot Help");
    record(2, "Copyright (C) Tone Pilot. All rights reserved.");
    record(4, "BrowseButtons()");
    record(4, "CreateButton(\"btn_play\", \"&Play\", \"ExecProgram(`tnp.exe /play', 0)\")");
    return body;
}

Bytes FontFile()
{
    static const char *const kFaces[] = {"MS Sans Serif", "Arial", "Courier New"};
    Bytes body;
    PutU16(body, 3);
    PutU16(body, 4);
    PutU16(body, 8);
    PutU16(body, 8 + 3 * 20);
    for (const char *face : kFaces) {
        Bytes name(20, 0);
        for (int i = 0; face[i]; ++i)
            name[i] = (unsigned char)face[i];
        body.insert(body.end(), name.begin(), name.end());
    }
    static const unsigned char kDescriptors[4][11] = {
        {0, 16, 2, 0, 0, 0, 0, 0, 255, 255, 255}, {1, 24, 2, 1, 0, 0, 0, 128, 255, 255, 255},
        {0, 20, 3, 2, 0, 0, 0, 0, 255, 255, 255}, {4, 16, 2, 0, 0, 0, 0, 128, 255, 255, 255}};
    for (const auto &d : kDescriptors)
        body.insert(body.end(), d, d + 11);
    return body;
}

// One topic link record: its 21-byte header, formatting data and text.
Bytes TopicLink(int type, const Bytes &format, const std::string &text, uint32_t previous)
{
    Bytes link;
    PutU32(link, (uint32_t)(21 + format.size() + text.size()));
    PutU32(link, (uint32_t)text.size());
    PutU32(link, previous);
    PutU32(link, (uint32_t)(21 + format.size() + text.size()));
    PutU32(link, (uint32_t)(21 + format.size()));
    link.push_back((unsigned char)type);
    link.insert(link.end(), format.begin(), format.end());
    link.insert(link.end(), text.begin(), text.end());
    return link;
}

// The topics, in 4 KB blocks; returns the offset of each topic for the context tree.
Bytes TopicFile(std::vector<uint32_t> &topicOffsets)
{
    Sequence random{31};
    std::vector<Bytes> links;
    for (int t = 0; t < kTopicCount; ++t) {
        Bytes header;
        for (int i = 0; i < 7; ++i)
            PutU32(header, (uint32_t)(i == 3 ? t : i == 0 ? 28 : 0xFFFFFFFF));
        links.push_back(TopicLink(2, header, std::string(kTopicTitles[t]) + '\0', 0));
        int paragraphs = 2 + (int)(random.Next() % 2);
        for (int p = 0; p < paragraphs; ++p) {
            std::string text = HelpParagraph(random, 2 + (int)(random.Next() % 4));
            Bytes format = {0x80, 0x00, 0x00, (unsigned char)(p == 0 ? 0x01 : 0x00), 0xFF};
            links.push_back(TopicLink(0x20, format, text + '\0', 0));
        }
    }
    Bytes body;
    size_t next = 0;
    int topic = -1;
    while (next < links.size()) {
        Bytes block;
        PutU32(block, 0xFFFFFFFF);
        PutU32(block, (uint32_t)(body.size() + 12));
        PutU32(block, 0xFFFFFFFF);
        while (next < links.size() && block.size() + links[next].size() <= kTopicBlock) {
            if (links[next][20] == 2)
                topicOffsets.push_back((uint32_t)(body.size() + block.size())), ++topic;
            block.insert(block.end(), links[next].begin(), links[next].end());
            ++next;
        }
        block.resize(kTopicBlock, 0);
        body.insert(body.end(), block.begin(), block.end());
    }
    return body;
}

// The help compiler's LZ77: a flag byte before every eight items, each item a literal byte or
// a 16-bit back reference (12 bits of distance less one, 4 bits of length less three).
Bytes HelpLz77(const Bytes &input)
{
    const size_t window = 4096, longest = 18;
    Bytes out;
    size_t i = 0;
    while (i < input.size()) {
        size_t flagAt = out.size();
        out.push_back(0);
        for (int item = 0; item < 8 && i < input.size(); ++item) {
            size_t bestLength = 0, bestDistance = 0;
            for (size_t from = i > window ? i - window : 0; from < i; ++from) {
                size_t length = 0;
                while (length < longest && i + length < input.size() && input[from + length] == input[i + length])
                    ++length;
                if (length > bestLength)
                    bestLength = length, bestDistance = i - from;
            }
            if (bestLength >= 3) {
                out[flagAt] |= (unsigned char)(1 << item);
                PutU16(out, (unsigned)(((bestLength - 3) << 12) | (bestDistance - 1)));
                i += bestLength;
            } else {
                out.push_back(input[i++]);
            }
        }
    }
    return out;
}

// A screenshot as a WinHelp picture file: one 24-bit DIB packed with the compiler's LZ77.
Bytes PictureFile(uint32_t seed)
{
    Bytes bitmap = PlayerFaceBitmap(kPicturesWidth, kPicturesHeight, 2, seed);
    Bytes pixels = HelpLz77(Bytes(bitmap.begin() + 54, bitmap.end()));
    Bytes body;
    PutU16(body, 0x506C);  // "lp"
    PutU16(body, 1);
    PutU32(body, 8);
    body.push_back(6);  // DIB
    body.push_back(2);  // LZ77
    PutU16(body, 96 * 2);  // resolution, as compressed words
    PutU16(body, 96 * 2);
    body.push_back(1 * 2);
    body.push_back(24 * 2);
    PutU16(body, kPicturesWidth * 2);
    PutU16(body, kPicturesHeight * 2);
    body.push_back(0);
    body.push_back(0);
    PutU32(body, (uint32_t)pixels.size() * 2);
    body.push_back(0);
    PutU32(body, 8 + 21);
    PutU32(body, 0);
    body.insert(body.end(), pixels.begin(), pixels.end());
    return body;
}

}  // namespace

Bytes HelpFile(size_t size)
{
    std::vector<std::pair<std::string, Bytes>> files;
    files.push_back({"|SYSTEM", SystemFile()});
    files.push_back({"|FONT", FontFile()});
    std::vector<uint32_t> offsets;
    files.push_back({"|TOPIC", TopicFile(offsets)});

    std::vector<std::pair<uint32_t, uint32_t>> contexts;
    for (int t = 0; t < kTopicCount; ++t)
        contexts.push_back({ContextHash(ContextId(kTopicTitles[t])), offsets[t]});
    std::sort(contexts.begin(), contexts.end());
    std::vector<Bytes> contextEntries, titleEntries;
    for (const auto &c : contexts) {
        Bytes entry;
        PutU32(entry, c.first);
        PutU32(entry, c.second);
        contextEntries.push_back(entry);
    }
    for (int t = 0; t < kTopicCount; ++t) {
        Bytes entry;
        PutU32(entry, offsets[t]);
        PutText(entry, kTopicTitles[t]);
        titleEntries.push_back(entry);
    }
    files.push_back({"|CONTEXT", OnePageTree("L4", 1024, contextEntries)});
    files.push_back({"|TTLBTREE", OnePageTree("Lz", 2048, titleEntries)});
    for (int p = 0; p < kPictureCount; ++p)
        files.push_back({"|bm" + std::to_string(p), PictureFile(41 + p)});

    Bytes data(16, 0);
    std::vector<Bytes> directoryEntries;
    std::vector<std::pair<std::string, uint32_t>> placed;
    for (const auto &file : files) {
        placed.push_back({file.first, (uint32_t)data.size()});
        Bytes internal = InternalFile(file.second);
        data.insert(data.end(), internal.begin(), internal.end());
    }
    std::sort(placed.begin(), placed.end());
    for (const auto &p : placed) {
        Bytes entry;
        PutText(entry, p.first);
        PutU32(entry, p.second);
        directoryEntries.push_back(entry);
    }
    uint32_t directoryStart = (uint32_t)data.size();
    Bytes directory = InternalFile(OnePageTree("z4", 1024, directoryEntries));
    data.insert(data.end(), directory.begin(), directory.end());
    if (data.size() + 8 > size) {
        std::fprintf(stderr, "mkstandin: help file of %zu bytes does not fit %zu\n", data.size(), size);
        std::exit(1);
    }
    uint32_t freeStart = (uint32_t)data.size();
    PutU32(data, (uint32_t)(size - freeStart));
    PutU32(data, 0xFFFFFFFF);
    data.resize(size, 0);

    Bytes header;
    PutU32(header, 0x00035F3F);
    PutU32(header, directoryStart);
    PutU32(header, freeStart);
    PutU32(header, (uint32_t)size);
    std::copy(header.begin(), header.end(), data.begin());
    return data;
}
