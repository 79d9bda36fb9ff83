#pragma once
// The text of the help and version window.

extern const char* const kHelpText;
