// DLLs come from System32 only. Windows searches the exe's own folder first
// for every DLL that is not a KnownDLL, and Varnel is unpacked wherever its
// zip lands (Downloads, say), so a DLL left there under a system name would
// run inside Varnel. The program restricts the search before anything else,
// its imports that are not KnownDLLs are delay-loaded so that none loads
// before that (cmake/VarnelDelayLoad.cmake), and late binding asks System32
// alone (platform/LateBound.h).
#pragma once

namespace platform {

// The process's default DLL search becomes System32 alone. Called first
// thing in the program; the delay-load hook that comes with it loads every
// delay-imported DLL from System32 too, whatever the default.
void LoadDllsFromSystem32Only();

} // namespace platform
