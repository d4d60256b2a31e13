// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a file open without sharing it, as a virus scanner, the search
// indexer or the running game does, for the given milliseconds:
//
//   velmarch_hold_file PATH MILLISECONDS
//
// Prints "held" once the file is open, so that a test knows when to go on.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3)
        return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("held");
    std::fflush(stdout);
    Sleep(DWORD(std::wcstoul(argv[2], nullptr, 10)));
    CloseHandle(file);
    return 0;
}
