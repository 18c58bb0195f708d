#include "sound/SoundModule.h"
#include "sound/SystemSoundPlayer.h"

SoundPlayer* VelquinMakeSystemSoundPlayer()
{
    return MakeSystemSoundPlayer().release();
}
