#include "platform/QtSound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSound::QtSound() = default;

QtSound::~QtSound()
{
    qDeleteAll(m_effects);
}

QSoundEffect *QtSound::effectFor(const QString &path)
{
    auto it = m_effects.find(path);
    if (it != m_effects.end())
        return it.value();
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto *effect = new QSoundEffect;
    effect->setSource(QUrl::fromLocalFile(path));
    m_effects.insert(path, effect);
    return effect;
}

void QtSound::preload(const QStringList &files)
{
    for (const QString &file : files)
        effectFor(folder() + QLatin1Char('/') + file);
}

void QtSound::play(const QString &path)
{
    QSoundEffect *effect = effectFor(path);
    if (m_playing && m_playing != effect)
        m_playing->stop();
    m_playing = effect;
    if (!effect)
        return;
    if (effect->status() == QSoundEffect::Error) {
        // After an error the effect only plays again once its source is set anew.
        const QUrl source = effect->source();
        effect->setSource(QUrl());
        effect->setSource(source);
    }
    effect->stop();
    effect->play();
}
