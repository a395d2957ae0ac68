#pragma once
// Counting arithmetic of the lottery: factorials, binomials, the distribution of matches
// and sums of consecutive numbers. Floating results are long double so that 45! and its
// quotients stay exact enough to round to the right integer.

#include <cstdint>

namespace pelko {

// n! for n >= 0 (n <= 1 gives 1).
long double Factorial(int n);
// a * (a + 1) * ... * (a + k - 1); 1 for k <= 0.
long double RisingProduct(int a, int k);
// a * (a - 1) * ... * (a - k + 1); 1 for k <= 0.
long double FallingProduct(int a, int k);

// C(n, k), rounded; 1 when k >= n. Saturates at INT64_MAX for results that do not fit.
std::int64_t Binomial(int n, int k);
// How many K-number combinations of N numbers share exactly m numbers with one fixed
// K-number draw; 1 when m >= N, 0 when m > K.
std::int64_t CombsWithMatches(int N, int K, int m);

// a + (a + 1) + ... + (a + n - 1).
int SumUp(int a, int n);
// a + (a - 1) + ... + (a - n + 1).
int SumDown(int a, int n);

// a div b, plus 1 when a mod b != 0; meant for positive operands (b must not be 0).
int CeilDiv(int a, int b);
// Rows of `width` columns that a value range needs: ceil(hi / width) when lo = 0,
// else ceil((hi - lo + 1) / width).
int RowsCount(int lo, int hi, int width);

} // namespace pelko
