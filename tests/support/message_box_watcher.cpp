#include "message_box_watcher.h"

std::string MessageBoxText(HWND box)
{
    char text[2048] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

MessageBoxWatcher::MessageBoxWatcher(int answer) : stop_(0), answer_(answer)
{
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<std::string> MessageBoxWatcher::Texts()
{
    EnterCriticalSection(&lock_);
    std::vector<std::string> copy = texts_;
    LeaveCriticalSection(&lock_);
    return copy;
}

void MessageBoxWatcher::SetAnswer(int answer)
{
    InterlockedExchange(&answer_, answer);
}

DWORD WINAPI MessageBoxWatcher::Run(void *self)
{
    MessageBoxWatcher *watcher = static_cast<MessageBoxWatcher *>(self);
    while (!watcher->stop_) {
        watcher->Poll();
        Sleep(20);
    }
    return 0;
}

void MessageBoxWatcher::Poll()
{
    HWND box = FindWindowA("#32770", "Tone Pilot");
    if (box == NULL || GetWindowThreadProcessId(box, NULL) == GetCurrentThreadId())
        return;
    if (GetDlgItem(box, 0xFFFF) == NULL)
        return;  // a dialog of ours, not a message box
    std::string text = MessageBoxText(box);
    EnterCriticalSection(&lock_);
    texts_.push_back(text);
    LeaveCriticalSection(&lock_);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), (LPARAM)GetDlgItem(box, answer_));
    for (int i = 0; i < 250 && IsWindow(box); ++i)
        Sleep(20);
}
