#pragma once

#include "core/ProgramState.h"
#include "testing/Fakes.h"
#include "support/TestFolder.h"

#include <functional>
#include <memory>

// A window of the given kind on a temporary program folder, with fake services; the state can be
// set up before open() makes and shows the window.
template<typename Window>
struct WindowFixture
{
    WindowFixture() : state(folder.path()), fakes(state) {}
    Window &open(const std::function<void(Window &)> &beforeShowing = {})
    {
        window = std::make_unique<Window>(state, fakes.services);
        if (beforeShowing)
            beforeShowing(*window);
        window->show();
        return *window;
    }
    template<typename T = QWidget>
    T *find(const QString &name) const { return window->template findChild<T *>(name); }

    TestFolder folder;
    ProgramState state;
    FakeServices fakes;
    std::unique_ptr<Window> window;
};
