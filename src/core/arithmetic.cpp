#include "core/arithmetic.h"

#include <cmath>
#include <limits>

namespace pelko {

namespace {

std::int64_t RoundToInt64(long double value) {
    constexpr long double kLimit = 9223372036854775807.0L;
    if (!(value < kLimit)) return std::numeric_limits<std::int64_t>::max();
    if (!(value > -kLimit)) return std::numeric_limits<std::int64_t>::min();
    return std::llroundl(value);
}

} // namespace

long double Factorial(int n) {
    long double result = 1.0L;
    for (int i = 2; i <= n; ++i)
        result *= i;
    return result;
}

long double RisingProduct(int a, int k) {
    long double result = 1.0L;
    for (int i = 0; i < k; ++i)
        result *= static_cast<long double>(a) + i;
    return result;
}

long double FallingProduct(int a, int k) {
    long double result = 1.0L;
    for (int i = 0; i < k; ++i)
        result *= static_cast<long double>(a) - i;
    return result;
}

std::int64_t Binomial(int n, int k) {
    if (k >= n) return 1;
    return RoundToInt64(Factorial(n) / (Factorial(n - k) * Factorial(k)));
}

std::int64_t CombsWithMatches(int N, int K, int m) {
    if (m >= N) return 1;
    const long double matched = FallingProduct(K, m) / Factorial(m);
    const long double missed = FallingProduct(N - K, K - m) / Factorial(K - m);
    return RoundToInt64(matched * missed);
}

int SumUp(int a, int n) {
    int sum = 0;
    for (int i = 0; i < n; ++i)
        sum += a + i;
    return sum;
}

int SumDown(int a, int n) {
    int sum = 0;
    for (int i = 0; i < n; ++i)
        sum += a - i;
    return sum;
}

int CeilDiv(int a, int b) {
    return a / b + (a % b != 0 ? 1 : 0);
}

int RowsCount(int lo, int hi, int width) {
    return lo == 0 ? CeilDiv(hi, width) : CeilDiv(hi - lo + 1, width);
}

} // namespace pelko
