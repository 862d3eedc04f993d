#include "base/geometry.h"

#include <cstdlib>

int32_t mul_div(int32_t a, int32_t b, int32_t c) {
    if (c == 0) {
        return -1; // what MulDiv answers for a zero divisor
    }
    const int64_t product = int64_t{a} * b;
    const int64_t magnitude =
        (std::llabs(product) * 2 + std::llabs(int64_t{c})) / (2 * std::llabs(int64_t{c}));
    const bool negative = (product < 0) != (c < 0);
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) {
        return -1;
    }
    return int32_t(result);
}
