// <windows.h> for the backend. Its ANSI/wide switch macros carry the names of some of our own
// interface methods (CreateDirectory, OpenService, ...) and would rename them; the backend calls
// the "A" functions by their full names anyway.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <tlhelp32.h>

#undef CreateDirectory
#undef GetDriveType
#undef MoveFileEx
#undef OpenService
