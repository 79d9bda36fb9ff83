// cab32.dll stand-in: reads "-x ARCHIVE FOLDER\" and reports CAB as unsupported.
#include "archivers/ArchiverExports.h"
#include "archivers/UnsupportedArchiver.h"

ARCHIVER_ENTRY(Cab) { return archivers::ReportUnsupported("CAB", cmdLine, output, size); }
