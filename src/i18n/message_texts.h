#pragma once
// The four program-wide message texts: filled by each application of a
// language, shown by the pages.
#include <string>

namespace zelvar {

struct MessageTexts {
    std::wstring MsgWrongDt;    // the planned dates or times are not valid
    std::wstring MsgRemoveExe;  // remove this program from the start-up list?
    std::wstring MsgSelString;  // select a line first
    std::wstring MsgErrConfig;  // saving the settings failed
};

}  // namespace zelvar
