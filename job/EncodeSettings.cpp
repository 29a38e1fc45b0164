#include "job/EncodeSettings.h"

EncodeSettings::~EncodeSettings()
{
    Player.Release();
    OutputDir.Release();
    InputDir.Release();
}
