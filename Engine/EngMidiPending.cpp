// TEMPORARY (remove at merge): EngProgram has no per-frame hook on this branch yet.
// At merge, move this definition into Engine/Linux/EngMidi_LNX.cpp as
//     if (eng_main_program) eng_main_program->SetPostTickCB(hook);
#include "Linux/EngMidi_LNX.h"

void (*eng_midi_pending_program_hook)() = nullptr;

void EngMidiInstallProgramHook_LNX(void (*hook)())
{
    eng_midi_pending_program_hook = hook;
}
