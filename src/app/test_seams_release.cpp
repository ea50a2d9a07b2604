#include "app/test_seams.h"

namespace zelvar {

bool HandleTestSeamMessage(UINT, WPARAM, LPARAM) { return false; }

}  // namespace zelvar
