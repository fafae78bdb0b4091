#pragma once

namespace larkspur {

// Reading a large sheet makes hundreds of thousands of small blocks, and on
// a fresh heap a third of the time goes to the page faults of touching them.
// Backed by transparent huge pages, the heap takes one fault where it took
// hundreds. The C library reads that setting only when a program starts, so
// this starts the program once more with it, from the top of main. The
// environment is put back as it was right after, so programs started from
// here see the user's own. Nothing happens where the user chose the setting
// already, where the system has huge pages turned off, or where the program
// cannot be started again (it then goes on as it is).
void StartWithHugePageHeap(char** argv);

}  // namespace larkspur
