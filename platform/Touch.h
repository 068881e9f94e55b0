#pragma once

// Fingers on a touch screen: two taps on the same control in a double click's time are a double
// click, also when the second lands further from the first than Qt allows (a finger on a large
// board is not that precise), up to 16 pixels of the ordinary window at the scale.
namespace Touch {

void acceptLooseDoubleTaps();

}
