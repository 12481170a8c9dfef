// A 16-bit Windows library in the NE format: the MZ header with its "requires Microsoft Windows"
// stub, the NE header and tables (segments, resident and non-resident names, module
// references, entries), a code segment holding the given 16-bit code with its relocations, and
// a data segment of strings and a context table that takes up the rest of the file.
#include <cstdio>
#include <cstdlib>

#include "standin.h"

namespace {

const int kShift = 4;  // segments start on 16-byte boundaries
const char *const kExports[] = {"WEP", "TNPHELPVERSION", "TNPHELPOPEN", "TNPHELPCONTEXT", "TNPHELPCLOSE"};
const int kExportCount = 5;

void PutNames(Bytes &table, const std::string &module, const char *const *names, int count)
{
    table.push_back((unsigned char)module.size());
    table.insert(table.end(), module.begin(), module.end());
    PutU16(table, 0);
    for (int i = 0; i < count; ++i) {
        std::string name = names[i];
        table.push_back((unsigned char)name.size());
        table.insert(table.end(), name.begin(), name.end());
        PutU16(table, (unsigned)(i + 1));
    }
    table.push_back(0);
}

void Align(Bytes &data)
{
    while (data.size() % (1u << kShift))
        data.push_back(0);
}

}  // namespace

Bytes SixteenBitLibrary(const Bytes &code, size_t size)
{
    Bytes data;
    // MZ header, stub program at 0x40, NE header at 0x80.
    static const unsigned char kStub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
    PutU16(data, 0x5A4D);
    PutU16(data, 0x80);  // bytes in the last page
    PutU16(data, 1);
    PutU16(data, 0);
    PutU16(data, 4);     // header paragraphs
    PutU16(data, 0);
    PutU16(data, 0xFFFF);
    PutU16(data, 0);
    PutU16(data, 0xB8);
    PutU16(data, 0);
    PutU16(data, 0);
    PutU16(data, 0);
    PutU16(data, 0x40);
    PutU16(data, 0);
    data.resize(0x3C, 0);
    PutU32(data, 0x80);
    data.insert(data.end(), kStub, kStub + sizeof kStub);
    std::string message = "This program requires Microsoft Windows.\r\n$";
    data.insert(data.end(), message.begin(), message.end());
    data.resize(0x80, 0);

    // Tables after the 64-byte NE header.
    Bytes segments, resident, modules, imported, entries, nonresident;
    PutNames(resident, "TNP16HLP", kExports, kExportCount);
    imported.push_back(0);
    for (const char *name : {"KERNEL", "USER"}) {
        PutU16(modules, (unsigned)imported.size());
        imported.push_back((unsigned char)std::string(name).size());
        imported.insert(imported.end(), name, name + std::string(name).size());
    }
    entries.push_back((unsigned char)kExportCount);
    entries.push_back(1);  // fixed segment 1
    for (int i = 0; i < kExportCount; ++i) {
        entries.push_back(3);  // exported, shared data
        PutU16(entries, (unsigned)(i * 16 < (int)code.size() ? i * 16 : 0));
    }
    entries.push_back(0);
    std::string description = "Tone Pilot help support for the 16-bit help engine";
    nonresident.push_back((unsigned char)description.size());
    nonresident.insert(nonresident.end(), description.begin(), description.end());
    PutU16(nonresident, 0);
    nonresident.push_back(0);

    const unsigned tables = 0x40;
    unsigned segmentTable = tables, resourceTable = segmentTable + 2 * 8;
    unsigned residentTable = resourceTable, moduleTable = residentTable + (unsigned)resident.size();
    unsigned importedTable = moduleTable + (unsigned)modules.size();
    unsigned entryTable = importedTable + (unsigned)imported.size();
    unsigned nonresidentTable = 0x80 + entryTable + (unsigned)entries.size();

    // Segment contents: code with its relocation records, then the data segment.
    Bytes body;
    size_t codeStart = nonresidentTable + nonresident.size();
    while (codeStart % (1u << kShift))
        ++codeStart;
    body.insert(body.end(), code.begin(), code.end());
    PutU16(body, 2);  // relocations: two imported ordinals
    for (int r = 0; r < 2; ++r) {
        body.push_back(3);  // far address
        body.push_back(1);  // imported ordinal
        PutU16(body, (unsigned)(r * 8 + 1));
        PutU16(body, (unsigned)(r + 1));
        PutU16(body, r ? 1 : 5);
    }
    Align(body);
    size_t dataStart = codeStart + body.size();
    if (dataStart + 256 > size) {
        std::fprintf(stderr, "mkstandin: 16-bit code of %zu bytes does not fit %zu\n", code.size(), size);
        std::exit(1);
    }
    size_t dataSize = size - dataStart;
    Bytes dataSegment;
    for (int t = 0; t < kTopicCount && dataSegment.size() + 64 < dataSize / 2; ++t)
        PutText(dataSegment, ContextId(kTopicTitles[t]));
    Sequence random{47};
    while (dataSegment.size() + 4 <= dataSize) {  // the context table: topic numbers and offsets
        PutU16(dataSegment, (unsigned)random.Range(0, kTopicCount - 1));
        PutU16(dataSegment, (unsigned)(random.Range(0, 41) * 4096 + random.Range(12, 400)) & 0xFFFF);
    }
    dataSegment.resize(dataSize, 0);

    PutU16(segments, (unsigned)(codeStart >> kShift));
    PutU16(segments, (unsigned)code.size());
    PutU16(segments, 0x1D50);  // code: preload, discardable, with relocations
    PutU16(segments, (unsigned)code.size());
    PutU16(segments, (unsigned)(dataStart >> kShift));
    PutU16(segments, (unsigned)dataSize);
    PutU16(segments, 0x0C51);  // data: preload, fixed
    PutU16(segments, (unsigned)dataSize);

    PutU16(data, 0x454E);  // "NE"
    data.push_back(5);
    data.push_back(10);
    PutU16(data, entryTable);
    PutU16(data, (unsigned)entries.size());
    PutU32(data, 0);
    PutU16(data, 0x8002);  // library, single data
    PutU16(data, 2);       // automatic data segment
    PutU16(data, 0x0400);  // local heap
    PutU16(data, 0);
    PutU32(data, 0x00010000);  // entry CS:IP = 1:0000
    PutU32(data, 0);
    PutU16(data, 2);
    PutU16(data, (unsigned)(modules.size() / 2));
    PutU16(data, (unsigned)nonresident.size());
    PutU16(data, segmentTable);
    PutU16(data, resourceTable);
    PutU16(data, residentTable);
    PutU16(data, moduleTable);
    PutU16(data, importedTable);
    PutU32(data, nonresidentTable);
    PutU16(data, 0);
    PutU16(data, kShift);
    PutU16(data, 0);
    data.push_back(2);  // Windows
    data.push_back(0);
    PutU32(data, 0);
    PutU16(data, 0);
    PutU16(data, 0x030A);  // Windows 3.10
    for (const Bytes *table : {&segments, &resident, &modules, &imported, &entries, &nonresident})
        data.insert(data.end(), table->begin(), table->end());
    data.resize(codeStart, 0);
    data.insert(data.end(), body.begin(), body.end());
    data.insert(data.end(), dataSegment.begin(), dataSegment.end());
    return data;
}
