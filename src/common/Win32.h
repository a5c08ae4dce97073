// <windows.h> for the program's Win32 code, with the multimedia calls
// (PlaySoundA, timeBeginPeriod) the show uses.
#pragma once

#include <windows.h>
#include <mmsystem.h>
