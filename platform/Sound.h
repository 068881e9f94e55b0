#pragma once

#include <QString>

// Plays a WAV file in the background. Never blocks and never reports a failure: a missing
// file or a machine without sound is silence.
class Sound
{
public:
    virtual ~Sound() = default;
    virtual void play(const QString &path) = 0;
};
