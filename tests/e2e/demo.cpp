// A scripted demonstration install: the run command uses it where there is no display. It
// installs with the defaults, saves pictures of what a user sees and prints what was installed.
#include <gtest/gtest.h>
#include <cstdio>
#include "checks.h"
#include "ui.h"

namespace {

// The whole screen (Wine's virtual desktop) as a 24-bit BMP file.
void SaveScreen(const std::string &path)
{
    HDC screen = GetDC(NULL);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    int stride = (width * 3 + 3) & ~3;
    std::string pixels(stride * height, '\0');
    GetDIBits(memory, bitmap, 0, height, &pixels[0], (BITMAPINFO *)&header, DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + (DWORD)pixels.size();
    FILE *out = fopen(path.c_str(), "wb");
    if (out != NULL) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&header, sizeof header, 1, out);
        fwrite(pixels.data(), 1, pixels.size(), out);
        fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

void Show(const char *what, const std::string &value)
{
    printf("  %-34s %s\n", what, value.c_str());
}

}  // namespace

TEST(Demo, InstallAndShow)
{
    CreateDirectoryA("E:\\shots", NULL);
    // Inside Wine's virtual desktop the console is not ours; the report goes to a file.
    ASSERT_NE(freopen("E:\\shots\\installed.txt", "w", stdout), nullptr);
    SetupProcess setup;
    ASSERT_TRUE(setup.Start("E:\\setup.exe"));
    HWND search = WaitForDialog("Searching for release...");
    ASSERT_NE(search, nullptr);
    Sleep(300);
    SaveScreen("E:\\shots\\search-scanning.bmp");
    while (!IsEnabled(search, IDCANCEL))
        Sleep(20);
    Sleep(300);
    SaveScreen("E:\\shots\\search-done.bmp");
    Click(search, IDCANCEL);
    HWND select = WaitForDialog("Tone Pilot Setup");
    ASSERT_NE(select, nullptr);
    Sleep(500);
    SaveScreen("E:\\shots\\select.bmp");
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    Sleep(300);
    SaveScreen("E:\\shots\\installed.bmp");
    Answer(box, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);

    const std::string dir = "c:\\Program Files\\Tone Pilot\\";
    printf("\nInstalled into %s\n", dir.c_str());
    for (const PayloadFile &file : kPayloadFiles)
        Show(file.name, std::to_string(FileBytes(dir + file.name).size()) + " bytes");
    Show("tnp.inf", std::to_string(FileBytes(dir + "tnp.inf").size()) + " bytes");
    std::string group = WindowsDirectory() + "\\Profiles\\All Users\\Start Menu\\Programs\\Tone Pilot\\";
    printf("Shortcuts in %s\n", group.c_str());
    for (const char *link : {"ReadMe File.lnk", "Help Contents.lnk", "Tone Pilot.lnk", "Uninstall Tone Pilot.lnk"}) {
        LinkInfo info = ReadLink(group + link);
        Show(link, info.target + (info.arguments.empty() ? "" : " " + info.arguments));
    }
    LinkInfo desktop = ReadLink(WindowsDirectory() + "\\Profiles\\All Users\\Desktop\\Tone Pilot.lnk");
    Show("desktop Tone Pilot.lnk", desktop.target);
    printf("Uninstall entry\n");
    Show("DisplayName", UninstallValue("DisplayName"));
    Show("UninstallString", UninstallValue("UninstallString"));
    printf("tnp.inf\n%s", FileBytes(dir + "tnp.inf").c_str());
}
