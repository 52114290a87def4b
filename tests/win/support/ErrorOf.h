#pragma once
// What a call raises, for a test to compare.
#include <string>

#include "framework/Error.h"

namespace capture_test {

// The message of the error of type E that `call` raises, or "" when it raises none.
template <class E = fw::Error, class Call>
std::wstring ErrorOf(Call call) {
    try {
        call();
    } catch (const E& e) {
        return e.Message();
    }
    return L"";
}

}  // namespace capture_test
