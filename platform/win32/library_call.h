// The calling convention of the handset library and the VoIP bridge: one choice for both,
// made when the program is built (CMake option MIVO_LIBRARY_STDCALL). The default is the C
// convention (__cdecl), under which a library built with the usual Windows compilers exports
// the plain function names (fConnectDevice, ...) without a definition file; __stdcall
// libraries need one to export those names. On 64-bit Windows there is only one convention
// and the choice changes nothing.
#pragma once

#if defined(MIVO_LIBRARY_STDCALL) && MIVO_LIBRARY_STDCALL
#define MIVO_LIBRARY_CALL __stdcall
#else
#define MIVO_LIBRARY_CALL __cdecl
#endif
