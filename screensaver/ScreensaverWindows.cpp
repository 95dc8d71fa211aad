#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "launcher/StartCard.h"

// Solvane.scr: the card as a Windows screensaver. Windows starts it with
//   /s          to run (the card full screen, ended by input),
//   /p HWND     to draw the preview into the settings dialog's little screen,
//   /c[:HWND]   or nothing, to show the settings.
// Letters in either case; a value may follow a colon or stand apart.

namespace {

const wchar_t* const kTitle = L"Solvane screensaver";

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1u, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(std::wcslen(wide.c_str()));
    return wide;
}

// Runs solvanewin.exe in the card's folder with the given arguments and
// waits for it. With a watched window the card is ended when that window
// goes, and the status is 0; otherwise it is the card's, or 1 when the card
// did not start.
int RunCard(const std::wstring& arguments, HWND watched) {
    const std::wstring folder = Wide(CardFolder(nullptr));
    const std::wstring program = folder + L"\\solvanewin.exe";
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::wstring message = L"Cannot start " + program + L".";
        if (!watched) MessageBoxW(nullptr, message.c_str(), kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    CloseHandle(process.hThread);
    while (WaitForSingleObject(process.hProcess, 250) == WAIT_TIMEOUT) {
        // The preview lives as long as the settings dialog's little screen.
        if (watched && !IsWindow(watched)) {
            TerminateProcess(process.hProcess, 0);
            WaitForSingleObject(process.hProcess, 2000);
            break;
        }
    }
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return watched ? 0 : static_cast<int>(status);
}

// Where the settings live and what they are; Yes opens them in Notepad.
int ShowSettings(HWND owner) {
    const std::wstring folder = Wide(CardFolder(nullptr));
    const std::wstring file = folder + L"\\solvane.cfg";
    std::wstring text =
        L"Solvane's settings are in\n" + file +
        L"\n\nSnowNum (flakes, 0 to 99), SnowDensity, SnowSpeed, TextSpeed, "
        L"NewYear (a year or \"nearest\"), Width and Height.\n"
        L"The greeting lines are in data\\txt\\txt.txt, the sender's name in data\\txt\\name.txt.\n\n"
        L"Open the settings in Notepad now?";
    if (MessageBoxW(owner, text.c_str(), kTitle, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        ShellExecuteW(owner, L"open", L"notepad.exe", (L"\"" + file + L"\"").c_str(), folder.c_str(),
                      SW_SHOWNORMAL);
    }
    return 0;
}

// A window handle as Windows writes it on the command line: decimal.
HWND ParseWindow(const char* text) {
    if (text == nullptr || *text == '\0') return nullptr;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0' || value == 0) return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

}  // namespace

int main(int argc, char** argv) {
    char mode = 'c';
    const char* value = nullptr;
    if (argc > 1) {
        const char* word = argv[1];
        if (*word == '/' || *word == '-') ++word;
        mode = static_cast<char>(std::tolower(static_cast<unsigned char>(*word)));
        if (word[0] != '\0' && word[1] == ':') value = word + 2;
        else if (argc > 2) value = argv[2];
    }
    switch (mode) {
    case 's':
        return RunCard(L"-screensaver", nullptr);
    case 'p': {
        HWND preview = ParseWindow(value);
        if (!preview || !IsWindow(preview)) return 1;
        // The card draws into the given window (sdl12-compat takes it from
        // SDL_WINDOWID) and the 800 x 600 picture is scaled to fit.
        SetEnvironmentVariableW(L"SDL_WINDOWID", std::to_wstring(reinterpret_cast<uintptr_t>(preview)).c_str());
        return RunCard(L"", preview);
    }
    case 'c':
        return ShowSettings(ParseWindow(value));
    default:
        MessageBoxW(nullptr, L"Solvane.scr takes /s (run), /p HWND (preview) or /c (settings).", kTitle,
                    MB_OK | MB_ICONINFORMATION);
        return 1;
    }
}
