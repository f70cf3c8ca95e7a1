// The OpenAL half of sound: starts and stops OpenAL (through ALUT) and checks
// its error state. The per-sound operations are EngSound members (*AL).
#pragma once

#include "EngTypes.h"

extern char csal_init_ok;

char EngSoundInit_AL(char enable3d);
void EngSoundExit_AL();
char EngSoundIsSetup_AL();
// 1 when OpenAL reports no error; else 0, logged when report is set.
char EngSoundErrorCheck_AL(const char* function, const char* call, char report);
// The text for an OpenAL error code, written into buf (64 bytes are enough).
const char* EngSoundErrorText_AL(int code, char* buf, unsigned size);
void EngSoundAlFixDeleteThenCreateProblem_AL();
