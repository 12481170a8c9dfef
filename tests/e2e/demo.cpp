// A scripted demonstration install: the run command uses it where there is no display. It
// installs with the defaults, saves pictures of what a user sees and prints what was installed.
#include <gtest/gtest.h>
#include <cstdio>
#include "checks.h"
#include "flows.h"

namespace {

// A part of the screen (Wine's virtual desktop) as 24-bit pixels, top row first.
struct Picture {
    RECT area;
    int stride;
    std::string pixels;
};

// The windows with a margin of desktop round them.
Picture TakePicture(std::initializer_list<HWND> windows)
{
    const int margin = 8;
    Picture picture;
    RECT &area = picture.area, window;
    SetRectEmpty(&area);
    for (HWND shown : windows) {
        GetWindowRect(shown, &window);
        UnionRect(&area, &area, &window);
    }
    InflateRect(&area, margin, margin);
    RECT screenArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screenArea);
    int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    picture.stride = (width * 3 + 3) & ~3;
    picture.pixels.assign(picture.stride * height, '\0');
    GetDIBits(memory, bitmap, 0, height, &picture.pixels[0], (BITMAPINFO *)&header, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return picture;
}

// Pixels of the control that differ from the dialog's face: what its icon or text drew.
int DrawnPixels(const Picture &picture, HWND control)
{
    COLORREF face = GetSysColor(COLOR_3DFACE);
    RECT shown;
    GetWindowRect(control, &shown);
    IntersectRect(&shown, &shown, &picture.area);
    int drawn = 0;
    for (int y = shown.top; y < shown.bottom; ++y)
        for (int x = shown.left; x < shown.right; ++x) {
            const char *bgr = &picture.pixels[(y - picture.area.top) * picture.stride + (x - picture.area.left) * 3];
            drawn += RGB((BYTE)bgr[2], (BYTE)bgr[1], (BYTE)bgr[0]) != face;
        }
    return drawn;
}

void SavePicture(const Picture &picture, const std::string &path)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = picture.area.right - picture.area.left;
    header.biHeight = -(picture.area.bottom - picture.area.top);
    header.biPlanes = 1;
    header.biBitCount = 24;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + (DWORD)picture.pixels.size();
    FILE *out = fopen(path.c_str(), "wb");
    if (out != NULL) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&header, sizeof header, 1, out);
        fwrite(picture.pixels.data(), 1, picture.pixels.size(), out);
        fclose(out);
    }
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
    ASSERT_TRUE(setup.Start(kSetupExe));
    HWND search = WaitForDialog(kSearchCaption);
    ASSERT_NE(search, nullptr);
    // The screen lags behind the scan, and a frame may be caught half drawn; demo.sh lays out a
    // tree on D: long enough for a picture that shows an icon frame and a directory.
    Picture scanning;
    do
        scanning = TakePicture({search});
    while ((DrawnPixels(scanning, GetDlgItem(search, ID_SEARCH_ICON)) < 100 ||
            DrawnPixels(scanning, GetDlgItem(search, ID_SEARCH_DIR)) < 20) && !IsEnabled(search, IDCANCEL));
    ASSERT_FALSE(IsEnabled(search, IDCANCEL)) << "the scan ended before a picture caught it at work";
    SavePicture(scanning, "E:\\shots\\search-scanning.bmp");
    while (!IsEnabled(search, IDCANCEL))
        Sleep(20);
    Sleep(300);  // the last repaint comes through the dialog's own loop
    SavePicture(TakePicture({search}), "E:\\shots\\search-done.bmp");
    Click(search, IDCANCEL);
    HWND select = WaitForSelect();
    ASSERT_NE(select, nullptr);
    Sleep(500);
    SavePicture(TakePicture({select}), "E:\\shots\\select.bmp");
    Click(select, IDOK);
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    Sleep(300);
    SavePicture(TakePicture({select, box}), "E:\\shots\\installed.bmp");
    Answer(box, IDOK);
    EXPECT_EQ(setup.WaitForExit(), 0);

    const std::string dir = "c:\\Program Files\\Tone Pilot\\";
    printf("\nInstalled into %s\n", dir.c_str());
    for (const PayloadFile &file : kPayloadFiles)
        Show(file.name, std::to_string(FileBytes(dir + file.name).size()) + " bytes");
    Show("tnp.inf", std::to_string(FileBytes(dir + "tnp.inf").size()) + " bytes");
    std::string group = ProgramGroup();
    printf("Shortcuts in %s\n", group.c_str());
    for (const char *link : kLinkNames) {
        LinkInfo info = ReadLink(group + link);
        Show(link, info.target + (info.arguments.empty() ? "" : " " + info.arguments));
    }
    LinkInfo desktop = ReadLink(DesktopLink());
    Show("desktop Tone Pilot.lnk", desktop.target);
    printf("Uninstall entry\n");
    Show("DisplayName", UninstallValue("DisplayName"));
    Show("UninstallString", UninstallValue("UninstallString"));
    printf("tnp.inf\n%s", FileBytes(dir + "tnp.inf").c_str());
    // GoogleTest's own closing lines are no part of the report.
    freopen("NUL", "w", stdout);
}
