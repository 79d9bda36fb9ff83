#pragma once
// The CAB and RAR stand-ins read their command line ("-x ARCHIVE FOLDER\") and say that
// they cannot unpack the archive.
#include <windows.h>

namespace archivers {

int ReportUnsupported(const char* kind, LPCSTR cmdLine, LPSTR output, DWORD size);

}  // namespace archivers
