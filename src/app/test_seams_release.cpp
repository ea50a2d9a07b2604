#include "app/test_seams.h"

namespace zelvar {

bool HandleTestSeamMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

}  // namespace zelvar
