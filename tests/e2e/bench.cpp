// Figures, not tests: nothing here fails on a time. Each prints one line that bench.sh collects.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <zlib.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>
#include "checks.h"
#include "ui.h"

namespace {

const char kSetupExe[] = "E:\\setup.exe";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same six files decompressed from the packed streams and written, with nothing around it.
double BareExtractMilliseconds(const std::string &dir)
{
    static const char *const streams[6] = {"TNPREAD.TXT", "TNP.HLP", "TNP.CNT", "TNP.EXE", "TNP32HLP.DLL",
                                           "TNP16HLP.DLL"};
    std::vector<std::string> packed;
    for (const char *name : streams)
        packed.push_back(FileBytes(std::string("E:\\zpk\\") + name + ".zpk"));
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::vector<unsigned char> buffer(1000000);
    for (int i = 0; i < 6; ++i) {
        uLongf length = (uLongf)buffer.size();
        uncompress(buffer.data(), &length, (const Bytef *)packed[i].data(), (uLong)packed[i].size());
        HANDLE file = CreateFileA((dir + kPayloadFiles[i].name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0,
                                  NULL);
        DWORD written = 0;
        WriteFile(file, buffer.data(), (DWORD)length, &written, NULL);
        CloseHandle(file);
    }
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

// Peak private bytes of Wine's own about box, a bare GUI process of the same Wine to set the
// setup figure against.
SIZE_T BareGuiPeakPrivate()
{
    SetupProcess about;
    if (!about.Start("C:\\windows\\system32\\winver.exe"))
        return 0;
    WaitForInputIdle(about.info.hProcess, 10000);
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(about.info.hProcess, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory);
    TerminateProcess(about.info.hProcess, 0);
    about.WaitForExit();
    return memory.PeakPagefileUsage;
}

}  // namespace

TEST(Bench, InstallSequence)
{
    std::vector<double> installs, extracts, bare;
    const std::string lastFile = "c:\\Program Files\\Tone Pilot\\tnp16hlp.dll";
    SIZE_T peakPrivate = 0;
    for (int run = 0; run < 5; ++run) {
        SetupProcess setup;
        ASSERT_TRUE(setup.Start(kSetupExe));
        if (run == 0) {
            HWND search = WaitForDialog("Searching for release...");
            ASSERT_NE(search, nullptr);
            while (!IsEnabled(search, IDCANCEL))
                Sleep(20);
            Click(search, IDCANCEL);
        } else {
            HWND question = WaitForMessageBox();
            ASSERT_NE(question, nullptr);
            Answer(question, IDYES);
        }
        HWND select = WaitForDialog("Tone Pilot Setup");
        ASSERT_NE(select, nullptr);
        Sleep(300);
        DeleteFileA(lastFile.c_str());
        LARGE_INTEGER start, extracted, end;
        QueryPerformanceCounter(&start);
        extracted = start;
        Click(select, IDOK);
        // The last payload file appearing splits the sequence into its extraction and the rest.
        while (GetFileAttributesA(lastFile.c_str()) == INVALID_FILE_ATTRIBUTES && Milliseconds(start, extracted) < 30000)
            QueryPerformanceCounter(&extracted);
        HWND done = WaitForMessageBox();
        QueryPerformanceCounter(&end);
        ASSERT_NE(done, nullptr);
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(setup.info.hProcess, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory);
        peakPrivate = std::max(peakPrivate, (SIZE_T)memory.PeakPagefileUsage);
        Answer(done, IDOK);
        setup.WaitForExit();
        installs.push_back(Milliseconds(start, end));
        extracts.push_back(Milliseconds(start, extracted));
        CreateDirectoryA("C:\\bare", NULL);
        bare.push_back(BareExtractMilliseconds("C:\\bare\\"));
    }
    double install = Median(installs), extract = Median(extracts), loop = Median(bare);
    printf("FIGURE install_ms=%.1f extract_ms=%.1f bare_ms=%.1f ratio=%.2f extract_ratio=%.2f peak_private_kb=%zu"
           " bare_gui_peak_private_kb=%zu\n",
           install, extract, loop, install / loop, extract / loop, (size_t)(peakPrivate / 1024),
           (size_t)(BareGuiPeakPrivate() / 1024));
}

TEST(Bench, Scan)
{
    // The tree on D: was made by bench.sh; the walk below is the bare recursion to compare with.
    std::function<long(const std::string &)> walk = [&](const std::string &dir) -> long {
        long count = 1;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((dir + "*.*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return count;
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.')
                count += walk(dir + entry.cFileName + "\\");
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return count;
    };
    LARGE_INTEGER start, end;
    SetupProcess setup;
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND search = WaitForDialog("Searching for release...");
    ASSERT_NE(search, nullptr);
    QueryPerformanceCounter(&start);
    while (!IsEnabled(search, IDCANCEL))
        Sleep(5);
    QueryPerformanceCounter(&end);
    double dialog = Milliseconds(start, end);
    Click(search, IDCANCEL);
    HWND select = WaitForDialog("Tone Pilot Setup");
    if (select != nullptr)
        Click(select, IDCANCEL);
    setup.WaitForExit();

    QueryPerformanceCounter(&start);
    long directories = walk("C:\\") + walk("D:\\");
    QueryPerformanceCounter(&end);
    double bare = Milliseconds(start, end);
    printf("FIGURE scan_ms=%.1f bare_scan_ms=%.1f scan_ratio=%.2f directories=%ld dirs_per_s=%.0f\n", dialog, bare,
           dialog / bare, directories, directories / (dialog / 1000.0));
}
