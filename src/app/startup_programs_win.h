#pragma once
// Starting the user's programs and playing the start sound: at the program's
// first activation and after every wake.
#include <windows.h>

namespace zelvar {

// Reads the list from config.ini (not from the page) and hands every entry
// whose program is not running yet to the shell, owned by owner.
void RunStartupPrograms(HWND owner);
// The embedded start chime, played asynchronously; silent when it cannot play.
void PlayStartSound();

}  // namespace zelvar
