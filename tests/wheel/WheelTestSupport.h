// Requests for the wheel tests.
#pragma once

#include "wheel/WheelRequest.h"

#include <vector>

namespace zentrix::wheel::test {

inline WheelRequest Request(std::vector<int> picks, int match, int drawn, std::vector<int> keys = {})
{
    return WheelRequest{std::move(picks), std::move(keys), Guarantee{match, drawn}};
}

/// from, from + 1, ..., to.
inline std::vector<int> Range(int from, int to)
{
    std::vector<int> numbers;
    for (int n = from; n <= to; ++n)
        numbers.push_back(n);
    return numbers;
}

} // namespace zentrix::wheel::test
