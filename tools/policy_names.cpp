// Prints the Group Policy values the program reads, one a line:
// "<key>\t<value name>\t<tick|time>", the key under HKLM or HKCU. The check
// of the administrative template (tools/check-policy-template) compares the
// template with this list.
#include <cstdio>
#include <string>

#include "app/policy.h"
#include "common/text.h"

int main() {
    using namespace zelvar;
    for (const PolicyValueName& n : PolicyValueNames()) {
        std::wstring key = kPolicyKeyPath;
        if (!n.subkey.empty()) key += L"\\" + n.subkey;
        std::printf("%s\t%s\t%s\n", Utf16ToUtf8(key).c_str(), Utf16ToUtf8(n.name).c_str(),
                    n.kind == PolicyKind::Tick ? "tick" : "time");
    }
    return 0;
}
