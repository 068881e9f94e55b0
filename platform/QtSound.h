#pragma once

#include "platform/Sound.h"

#include <QHash>

class QSoundEffect;

class QtSound : public Sound
{
public:
    QtSound();
    ~QtSound() override;

    void play(const QString &path) override;
    // Creates the players ahead of time so the first click does not wait for the audio backend.
    void preload(const QStringList &paths);

private:
    QSoundEffect *effectFor(const QString &path);

    QHash<QString, QSoundEffect *> m_effects;
    QSoundEffect *m_playing = nullptr;
};
