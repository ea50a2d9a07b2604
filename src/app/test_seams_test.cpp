#include "app/test_seams.h"

namespace zelvar {

bool HandleTestSeamMessage(UINT msg, WPARAM wp, LPARAM) {
    if (msg != kTestHoldThreadMessage) return false;
    Sleep(static_cast<DWORD>(wp));
    return true;
}

}  // namespace zelvar
