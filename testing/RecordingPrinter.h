#pragma once

#include "platform/Printer.h"

// A printer that keeps every document it is given, for a test to read, and prints nothing.
class RecordingPrinter final : public LaidOutPrinter
{
public:
    // pageHeight: the height of the printable area in twips (A4 with the margins of a usual printer).
    explicit RecordingPrinter(int pageHeight = 16838 - 2 * 283) : LaidOutPrinter(pageHeight) {}

protected:
    bool output(const std::vector<Item> &, int) override { return true; }
};
