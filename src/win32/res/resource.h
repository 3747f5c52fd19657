#pragma once
// Identifiers of the program's resources.

// The quill: the first icon group, which the shell shows for the program and,
// through "exe,0", for associated macro files.
#define IDI_QUILLON 1
