#pragma once

#include <QString>

// Plays the program's WAV files in the background. Never blocks and never reports a failure: a
// missing file or a machine without sound is silence. The service knows the sound folder and
// follows the setting that switches sound on and off, so callers only name the sound.
class Sound
{
public:
    virtual ~Sound() = default;

    void setFolder(const QString &folder) { m_folder = folder; }
    // The switch belongs to the settings and must outlive the service's use.
    void followSwitch(const bool &on) { m_on = &on; }

    // Starts the named sound of the sound folder when sound is on; a sound still playing stops.
    void speel(const QString &file)
    {
        if (!m_on || *m_on)
            play(m_folder + QLatin1Char('/') + file);
    }

protected:
    virtual void play(const QString &path) = 0;
    const QString &folder() const { return m_folder; }

private:
    QString m_folder;
    const bool *m_on = nullptr;
};
