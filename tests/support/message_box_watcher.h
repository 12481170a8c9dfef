// Watches for the program's message boxes from a second thread, the way a user sees them:
// finds each "Tone Pilot" box, records its text and presses the chosen button.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class MessageBoxWatcher {
public:
    // `answer` is the button id pressed on every box (IDOK, IDYES, IDNO ...).
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    // The texts of the boxes seen so far, in order.
    std::vector<std::string> Texts();
    void SetAnswer(int answer);

private:
    static DWORD WINAPI Run(void *self);
    void Poll();
    HANDLE thread_;
    volatile LONG stop_;
    volatile LONG answer_;
    CRITICAL_SECTION lock_;
    std::vector<std::string> texts_;
};

// Text of a message box window: its static control with id 0xFFFF.
std::string MessageBoxText(HWND box);
