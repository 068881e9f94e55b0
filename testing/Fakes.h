#pragma once

#include "core/ProgramState.h"
#include "platform/Dialogs.h"
#include "testing/RecordingPrinter.h"
#include "platform/Random.h"
#include "platform/Services.h"
#include "platform/Sound.h"
#include "platform/Waiter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>

#include <deque>
#include <functional>

// Stand-ins for the platform's services, for tests, benchmarks and tools: nothing is played, no
// pause is waited, no question is put to anyone, nothing is printed.

// Sounds are recorded by file name instead of played.
class RecordingSound : public Sound
{
public:
    QStringList played;

protected:
    void play(const QString &path) override { played << path.section(QLatin1Char('/'), -1); }
};

// Pauses only let pending events run, after the test's own action if it has one.
class InstantWaiter : public Waiter
{
public:
    void wait(double seconds) override
    {
        if (onWait)
            onWait(seconds);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    std::function<void(double)> onWait;
};

// Message boxes are recorded as "title|text" and answered from a script (Yes when the script is empty).
class ScriptedDialogs : public Dialogs
{
public:
    Answer message(const QString &text, const QString &title, Icon, Buttons buttons) override
    {
        said << title + QLatin1Char('|') + text;
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString input(const QString &, const QString &) override { return inputs.isEmpty() ? QString() : inputs.takeFirst(); }
    QString saveFileName(const QString &, const QString &proposal, const QString &) override
    {
        proposals << proposal;
        return savePath;
    }

    QStringList said;
    std::deque<Answer> answers;
    QStringList inputs;
    QStringList proposals;
    QString savePath;
};

// All fakes together, with a seeded generator; the sound follows the state's sound setting.
struct FakeServices
{
    explicit FakeServices(const ProgramState &state) { sound.followSwitch(state.GeluidAan); }

    RecordingSound sound;
    InstantWaiter waiter;
    ScriptedDialogs dialogs;
    Random random{12345};
    RecordingPrinter printer;
    Services services{sound, waiter, dialogs, random, printer};
};
