// unrar32.dll stand-in: reads "-x ARCHIVE FOLDER\" and reports RAR as unsupported.
#include "archivers/ArchiverExports.h"
#include "archivers/UnsupportedArchiver.h"

ARCHIVER_ENTRY(Unrar) { return archivers::ReportUnsupported("RAR", cmdLine, output, size); }
