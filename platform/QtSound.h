#pragma once

#include "platform/Sound.h"

#include <QHash>
#include <QStringList>

class QSoundEffect;

class QtSound : public Sound
{
public:
    QtSound();
    ~QtSound() override;

    // Creates the players ahead of time so the first click does not wait for the audio backend.
    void preload(const QStringList &files);

protected:
    void play(const QString &path) override;

private:
    QSoundEffect *effectFor(const QString &path);

    QHash<QString, QSoundEffect *> m_effects;
    QSoundEffect *m_playing = nullptr;
};
