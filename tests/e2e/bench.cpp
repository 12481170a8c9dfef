// Figures, not tests: nothing here fails on a time. Each prints one line that bench.sh collects.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <zlib.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>
#include "checks.h"
#include "flows.h"

namespace {


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

std::vector<std::string> PackedStreams()
{
    static const char *const streams[6] = {"TNPREAD.TXT", "TNP.HLP", "TNP.CNT", "TNP.EXE", "TNP32HLP.DLL",
                                           "TNP16HLP.DLL"};
    std::vector<std::string> packed;
    for (const char *name : streams)
        packed.push_back(FileBytes(std::string("E:\\zpk\\") + name + ".zpk"));
    return packed;
}

void WriteUnpacked(const std::string &path, const std::string &packed, std::vector<unsigned char> &buffer,
                   bool flushed = false)
{
    uLongf length = (uLongf)buffer.size();
    uncompress(buffer.data(), &length, (const Bytef *)packed.data(), (uLong)packed.size());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, buffer.data(), (DWORD)length, &written, NULL);
    if (flushed)
        FlushFileBuffers(file);
    CloseHandle(file);
}

// The same six files decompressed from the packed streams and written, with nothing around it.
double BareExtractMilliseconds(const std::string &dir)
{
    std::vector<std::string> packed = PackedStreams();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::vector<unsigned char> buffer(1000000);
    for (int i = 0; i < 6; ++i)
        WriteUnpacked(dir + kPayloadFiles[i].name, packed[i], buffer);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

// The calls an upgrade needs to lose nothing, bare: each file written and flushed beside its
// target, a mark written and flushed beside them, each earlier one renamed aside and its
// successor in; timed, as setup is, until the last is in. `dir` holds the six from the loop
// above, less the last, as setup's folder does when it is timed.
double BareSwapMilliseconds(const std::string &dir)
{
    std::vector<std::string> packed = PackedStreams();
    DeleteFileA((dir + kPayloadFiles[5].name).c_str());
    auto beside = [&](int i, char kind) { return dir + "tnp_" + kind + std::to_string(i) + ".tmp"; };
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    std::vector<unsigned char> buffer(1000000);
    for (int i = 0; i < 6; ++i)
        WriteUnpacked(beside(i, 'n'), packed[i], buffer, true);
    HANDLE mark = CreateFileA(beside(0, 'm').c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    FlushFileBuffers(mark);
    CloseHandle(mark);
    for (int i = 0; i < 6; ++i) {
        MoveFileA((dir + kPayloadFiles[i].name).c_str(), beside(i, 'o').c_str());
        MoveFileA(beside(i, 'n').c_str(), (dir + kPayloadFiles[i].name).c_str());
    }
    QueryPerformanceCounter(&end);
    DeleteFileA(beside(0, 'm').c_str());
    for (int i = 0; i < 6; ++i)
        DeleteFileA(beside(i, 'o').c_str());
    return Milliseconds(start, end);
}

// Wine's shell starts winemenubuilder.exe for each link saved in the Start menu or on the desktop,
// and does not wait for it; those still running from the previous program would take the cores
// from the next one timed. Each timed part starts once they are gone.
void WaitForLinkHelpers()
{
    for (int waited = 0; waited < 10000; waited += 20) {
        bool running = false;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry))
            running = lstrcmpiA(entry.szExeFile, "winemenubuilder.exe") == 0;
        CloseHandle(snapshot);
        if (!running)
            return;
        Sleep(20);
    }
}

// Wine reports PeakPagefileUsage as the current private bytes, not a high-water mark, so the
// peak is sampled from outside, as fast as the calls go, until Stop.
class PrivateBytesPeak {
public:
    explicit PrivateBytesPeak(HANDLE process) : thread_([this, process] {
        while (!stop_) {
            PROCESS_MEMORY_COUNTERS_EX memory = {};
            memory.cb = sizeof memory;
            if (GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&memory, sizeof memory))
                peak_ = std::max(peak_.load(), (SIZE_T)memory.PagefileUsage);
        }
    }) {}
    SIZE_T Stop()
    {
        stop_ = true;
        thread_.join();
        return peak_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<SIZE_T> peak_{0};
    std::thread thread_;
};

// Peak private bytes of the smallest dialog program we can make, under the same Wine: the
// floor that setup's own figure is set against.
SIZE_T FloorPeakPrivate()
{
    SetupProcess floor;
    if (!floor.Start("E:\\floor_dialog.exe"))
        return 0;
    PrivateBytesPeak peak(floor.info.hProcess);
    HWND dialog = WaitForDialog("Floor");
    Sleep(500);
    if (dialog != nullptr)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    SIZE_T bytes = peak.Stop();
    if (floor.WaitForExit(10000) < 0)
        TerminateProcess(floor.info.hProcess, 0);
    return bytes;
}

// Peak private bytes of a whole run of setup that installs again over the earlier copy.
SIZE_T SetupPeakPrivate()
{
    SetupProcess setup;
    if (!setup.Start(kSetupExe))
        return 0;
    PrivateBytesPeak peak(setup.info.hProcess);
    HWND question = WaitForMessageBox();
    if (question != nullptr)
        Answer(question, IDYES);
    HWND select = WaitForSelect();
    if (select != nullptr)
        Click(select, IDOK);
    HWND done = WaitForMessageBox();
    if (done != nullptr)
        Answer(done, IDOK);
    setup.WaitForExit();
    SIZE_T bytes = peak.Stop();
    return question != nullptr && select != nullptr && done != nullptr ? bytes : 0;
}

// Every directory the scan enters, in the scan's order: no dot names, no links.
long Walk(const std::string &dir, const std::function<void(const std::string &)> &enter)
{
    enter(dir);
    long count = 1;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return count;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            && entry.cFileName[0] != '.')
            count += Walk(dir + entry.cFileName + "\\", enter);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return count;
}

INT_PTR CALLBACK PassiveDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The walk with what the dialog must do on each directory, on the SEARCH template taken from
// setup.exe itself: the directory text, the next icon frame and a synchronous repaint.
double ShownWalkMilliseconds(long *directories)
{
    HMODULE setup = LoadLibraryExA(kSetupExe, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (setup == NULL)
        return 0;
    HWND dialog = CreateDialogParamA(setup, "SEARCH", NULL, PassiveDialog, 0);
    if (dialog == NULL) {
        FreeLibrary(setup);
        return 0;
    }
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    int frame = 0;
    auto show = [&](const std::string &dir) {
        SetDlgItemTextA(dialog, ID_SEARCH_DIR, dir.c_str());
        char name[16];
        wsprintfA(name, "search%i", frame % 4 + 1);
        ++frame;
        HICON icon = LoadIconA(setup, name);
        SendDlgItemMessageA(dialog, ID_SEARCH_ICON, STM_SETICON, (WPARAM)icon, 0);
        UpdateWindow(dialog);
    };
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    *directories = Walk("C:\\", show) + Walk("D:\\", show);
    QueryPerformanceCounter(&end);
    DestroyWindow(dialog);
    FreeLibrary(setup);
    return frame == *directories ? Milliseconds(start, end) : 0;
}

}  // namespace

TEST(Bench, InstallSequence)
{
    std::vector<double> installs, extracts, bare, bareSwap, bareShell;
    const std::string lastFile = "c:\\Program Files\\Tone Pilot\\tnp16hlp.dll";
    for (int run = 0; run < 5; ++run) {
        SetupProcess setup;
        ASSERT_TRUE(setup.Start(kSetupExe));
        if (run == 0) {
            HWND search = WaitForDialog(kSearchCaption);
            ASSERT_NE(search, nullptr);
            while (!IsEnabled(search, IDCANCEL))
                Sleep(20);
            Click(search, IDCANCEL);
        } else {
            HWND question = WaitForMessageBox();
            ASSERT_NE(question, nullptr);
            Answer(question, IDYES);
        }
        HWND select = WaitForSelect();
        ASSERT_NE(select, nullptr);
        Sleep(300);
        WaitForLinkHelpers();
        DeleteFileA(lastFile.c_str());
        LARGE_INTEGER start, extracted, end;
        QueryPerformanceCounter(&start);
        extracted = start;
        Click(select, IDOK);
        // The last payload file appearing splits the sequence into its extraction and the rest.
        // Looked for once a millisecond: a busier poll would queue at the wineserver, which
        // setup's own file calls go through, and slow down what it measures.
        while (GetFileAttributesA(lastFile.c_str()) == INVALID_FILE_ATTRIBUTES && Milliseconds(start, extracted) < 30000) {
            Sleep(1);
            QueryPerformanceCounter(&extracted);
        }
        // At the same grain as the file: the default 25 ms would add half of it to setup's part.
        HWND done = WaitForMessageBox(30000, 1);
        QueryPerformanceCounter(&end);
        ASSERT_NE(done, nullptr);
        Answer(done, IDOK);
        setup.WaitForExit();
        installs.push_back(Milliseconds(start, end));
        extracts.push_back(Milliseconds(start, extracted));
        CreateDirectoryA("C:\\bare", NULL);
        WaitForLinkHelpers();
        bare.push_back(BareExtractMilliseconds("C:\\bare\\"));
        bareSwap.push_back(BareSwapMilliseconds("C:\\bare\\"));
        // What setup does after its files, done with bare calls by a program that times itself.
        SetupProcess shellWork;
        ASSERT_TRUE(shellWork.Start("E:\\bare_shell_work.exe"));
        int microseconds = shellWork.WaitForExit();
        ASSERT_GT(microseconds, 0) << "bare_shell_work.exe did not do all its work";
        bareShell.push_back(microseconds / 1000.0);
    }
    double install = Median(installs), extract = Median(extracts), loop = Median(bare), swap = Median(bareSwap), shell = Median(bareShell);
    // Measured apart from the timed runs, so that the sampling never slows them down.
    SIZE_T peakPrivate = SetupPeakPrivate(), floor = FloorPeakPrivate();
    ASSERT_GT(peakPrivate, 0u);
    ASSERT_GT(floor, 0u);
    printf("FIGURE install_ms=%.1f extract_ms=%.1f bare_ms=%.1f extract_ratio=%.2f bare_swap_ms=%.1f"
           " swap_ratio=%.2f bare_shell_ms=%.1f"
           " shell_ratio=%.2f peak_private_kb=%zu floor_peak_private_kb=%zu above_floor_kb=%ld\n",
           install, extract, loop, extract / loop, swap, extract / swap, shell, (install - extract) / shell, (size_t)(peakPrivate / 1024),
           (size_t)(floor / 1024), (long)(peakPrivate / 1024) - (long)(floor / 1024));
}

TEST(Bench, Scan)
{
    // The tree on D: was made by run_e2e.sh; the walks below compare with the dialog's scan.
    LARGE_INTEGER start, end;
    SetupProcess setup;
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND search = WaitForDialog(kSearchCaption);
    ASSERT_NE(search, nullptr);
    QueryPerformanceCounter(&start);
    while (!IsEnabled(search, IDCANCEL))
        Sleep(5);
    QueryPerformanceCounter(&end);
    double dialog = Milliseconds(start, end);
    Click(search, IDCANCEL);
    HWND select = WaitForSelect();
    if (select != nullptr)
        Click(select, IDCANCEL);
    setup.WaitForExit();

    long shownDirectories = 0;
    double shown = ShownWalkMilliseconds(&shownDirectories);
    ASSERT_GT(shown, 0) << "the walk on setup's SEARCH template did not run";
    QueryPerformanceCounter(&start);
    long directories = Walk("C:\\", [](const std::string &) {}) + Walk("D:\\", [](const std::string &) {});
    QueryPerformanceCounter(&end);
    double bare = Milliseconds(start, end);
    printf("FIGURE scan_ms=%.1f shown_walk_ms=%.1f bare_scan_ms=%.1f scan_shown_ratio=%.2f scan_ratio=%.2f"
           " directories=%ld dirs_per_s=%.0f\n",
           dialog, shown, bare, dialog / shown, dialog / bare, directories, directories / (dialog / 1000.0));
}
