// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the game on Windows: records how the launcher started it in
// game-started.txt beside itself, as the shell stub does elsewhere. The record
// is written aside and renamed, so a test never finds it half written or open.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring &text)
{
    const int size
        = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring withSlashes(std::wstring path)
{
    for (wchar_t &c : path) {
        if (c == L'\\')
            c = L'/';
    }
    return path;
}

} // namespace

int main()
{
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    const std::wstring cwd = withSlashes(buffer);
    const bool settings = GetFileAttributesW(L"zolm.ini") != INVALID_FILE_ATTRIBUTES;

    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring record = buffer;
    record.erase(record.find_last_of(L"\\/") + 1);
    record += L"game-started.txt";

    const std::wstring part = record + L".part";
    FILE *file = _wfopen(part.c_str(), L"wb");
    if (!file)
        return 1;
    std::fprintf(file, "cwd=%s\nzolm.ini=%s\n", utf8(cwd).c_str(),
                 settings ? "present" : "missing");
    if (std::fclose(file) != 0)
        return 1;
    return MoveFileExW(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
