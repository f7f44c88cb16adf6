#pragma once
// The hooks of the end-to-end test build of the program (tervik_e2e.exe). The
// product never compiles this: its main.cpp includes it only with TERVIK_E2E.

class TMainScheme;

// Sets the freshly built scheme up from the TERVIK_E2E_* environment variables
// (see E2eHooks.cpp) before it starts.
void E2eAttach(TMainScheme &Scheme);
