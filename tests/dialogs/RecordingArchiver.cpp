// A test archiver library: every entry point appends "entry|command line|current folder"
// to the file named by MIRABELO_ARCHIVER_LOG and writes nothing else.
#include <windows.h>

#include <string>

namespace {

int Record(const char* entry, LPCSTR cmdLine) {
  char log[MAX_PATH] = {}, cwd[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("MIRABELO_ARCHIVER_LOG", log, MAX_PATH)) return 1;
  GetCurrentDirectoryA(MAX_PATH, cwd);
  const std::string line = std::string(entry) + "|" + cmdLine + "|" + cwd + "\n";
  HANDLE f = CreateFileA(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, line.data(), DWORD(line.size()), &written, nullptr);
  CloseHandle(f);
  return 0;
}

}  // namespace

#define RECORDING_ENTRY(name)                                                          \
  extern "C" __declspec(dllexport) int WINAPI name(HWND, LPCSTR cmdLine, LPSTR output, \
                                                   DWORD size) {                       \
    if (output && size) output[0] = 0;                                                 \
    return Record(#name, cmdLine);                                                     \
  }
RECORDING_ENTRY(Unlha)
RECORDING_ENTRY(SevenZip)
RECORDING_ENTRY(Cab)
RECORDING_ENTRY(Unrar)
