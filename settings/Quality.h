#pragma once

#include "core/ProgramState.h"

#include <QString>

#include <optional>

// The JPEG quality as the settings window reads it from its text box.
namespace Quality {

constexpr int kDefault = ProgramState::kKwaliteit;

// The whole percent 1..100 the text stands for, with halves rounded to the even neighbour; nothing
// when the text is no number or lies outside 1..100. Both "80.5" and the Dutch "80,5" are read.
std::optional<int> fromText(const QString &text);

}
