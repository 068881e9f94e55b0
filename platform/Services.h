#pragma once

class Dialogs;
class Printer;
class Random;
class Sound;
class Waiter;

// The platform services the windows use, handed to each window with the program state.
// The program passes the real ones; tests pass scripted or recording ones.
struct Services
{
    Sound &sound;
    Waiter &waiter;
    Dialogs &dialogs;
    Random &random;
    Printer &printer;
};
