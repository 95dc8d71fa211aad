#include "launcher/StartCard.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Windows keeps names in UTF-16; the launcher speaks UTF-8 to the rest of the
// program, so a folder with any name (a Cyrillic user name) survives the trip.

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
    return text;
}

// The folder holding the running program, however long its path.
std::wstring OwnFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) {
            std::wstring self(buffer.data(), n);
            std::wstring::size_type slash = self.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : self.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text ? text : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : Utf8(message);
}

// A program started from Explorer has nowhere to print: the user sees a box.
void Report(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE)
        MessageBoxW(nullptr, Wide(line).c_str(), L"Solvane", MB_OK | MB_ICONERROR);
}

bool Enter(const std::string& folder, const char* who) {
    if (SetCurrentDirectoryW(Wide(folder).c_str())) return true;
    Report(std::string(who) + ": cannot enter " + folder + ": " + SystemMessage(GetLastError()));
    return false;
}

bool Spawn(const std::string& folder, DWORD flags, const char* who, PROCESS_INFORMATION& process) {
    std::wstring program = Wide(folder) + L"\\solvanewin.exe";
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, flags, nullptr, Wide(folder).c_str(),
                       &startup, &process))
        return true;
    Report(std::string(who) + ": cannot start " + folder + "\\solvanewin.exe: " + SystemMessage(GetLastError()));
    return false;
}

}  // namespace

std::string CardFolder(const char*) {
    const wchar_t* chosen = _wgetenv(L"SOLVANE_DIR");
    if (chosen != nullptr && chosen[0] != L'\0') return Utf8(chosen);
    // Unpacked from the zip, everything lives in one folder.
    return Utf8(OwnFolder());
}

bool StartCard(const std::string& folder) {
    if (!Enter(folder, "Solvane")) return false;
    PROCESS_INFORMATION process;
    // Detached and in a group of its own: no console window, and a Ctrl+C
    // meant for whoever started the launcher does not end the card.
    if (!Spawn(folder, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, "Solvane", process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool ExecCard(const std::string& folder, const char* who) {
    // Windows cannot replace a process; the caller waits for the card and
    // ends with its status instead.
    if (!Enter(folder, who)) return false;
    PROCESS_INFORMATION process;
    if (!Spawn(folder, 0, who, process)) return false;
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    ExitProcess(status);
}
