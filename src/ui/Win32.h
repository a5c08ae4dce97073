// <windows.h> for this layer and its users. mmsystem.h turns `PlaySound`
// into `PlaySoundA`, which would rename ShowPlatform::PlaySound in some
// translation units and not in others; the macro is removed here, so call
// ::PlaySoundA by its own name. Include this (or any ui header) before
// ShowHost.h in files that also need <windows.h>.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#ifdef PlaySound
#undef PlaySound
#endif
