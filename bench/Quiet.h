#pragma once

#include "platform/Dialogs.h"
#include "platform/Sound.h"

// Services that keep a benchmark quiet: no sound, and every question answered yes at once.
class SilentSound : public Sound
{
protected:
    void play(const QString &) override {}
};

class NoDialogs : public Dialogs
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString input(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
};
