#pragma once
// The one entry point every archiver library exports (undecorated, stdcall).
#include <windows.h>

#define ARCHIVER_ENTRY(name)                                                                 \
  extern "C" __declspec(dllexport) int WINAPI name(HWND owner, LPCSTR cmdLine, LPSTR output, \
                                                   DWORD size)
