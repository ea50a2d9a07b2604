// Start-up programs and the start sound.
#include "app/zelvar.h"

namespace zelvar {

void TForm1::RunStartupPrograms() {}
void TForm1::PlayStartSound() {}

}  // namespace zelvar
