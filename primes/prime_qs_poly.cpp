// The quadratic sieve's multiplier, factor base and polynomials.
#include <algorithm>
#include <cmath>

#include "primes/prime_qs_impl.h"
#include "primes/prime_trial.h"

namespace qs {

namespace {

u64 pow_mod(u64 b, u64 e, u64 m) {
    u64 r = 1;
    b %= m;
    for (; e != 0; e >>= 1) {
        if ((e & 1) != 0) r = static_cast<u64>(u128{r} * b % m);
        b = static_cast<u64>(u128{b} * b % m);
    }
    return r;
}

u64 inverse_mod(u64 a, u64 m) {
    i64 t = 0, new_t = 1;
    i64 r = static_cast<i64>(m), new_r = static_cast<i64>(a % m);
    while (new_r != 0) {
        const i64 q = r / new_r;
        const i64 t2 = t - q * new_t;
        t = new_t;
        new_t = t2;
        const i64 r2 = r - q * new_r;
        r = new_r;
        new_r = r2;
    }
    return static_cast<u64>(t < 0 ? t + static_cast<i64>(m) : t);
}

// A square root of a modulo the odd prime p (a a quadratic residue), by Tonelli-Shanks.
u64 sqrt_mod(u64 a, u64 p) {
    a %= p;
    if (a == 0) return 0;
    if (p % 4 == 3) return pow_mod(a, (p + 1) / 4, p);
    u64 q = p - 1;
    int s = 0;
    while ((q & 1) == 0) q >>= 1, ++s;
    u64 z = 2;
    while (pow_mod(z, (p - 1) / 2, p) != p - 1) ++z;
    u64 c = pow_mod(z, q, p), r = pow_mod(a, (q + 1) / 2, p), t = pow_mod(a, q, p);
    int m = s;
    while (t != 1) {
        int i = 0;
        for (u64 tt = t; tt != 1; tt = tt * tt % p) ++i;
        u64 b = c;
        for (int j = 0; j < m - i - 1; ++j) b = b * b % p;
        r = r * b % p;
        c = b * b % p;
        t = t * c % p;
        m = i;
    }
    return r;
}

u64 mod_small(const Wide& v, u64 p) {
    u64 r = 0;
    for (int i = 2; i >= 0; --i) r = static_cast<u64>(((u128{r} << 64) | v.w[i]) % p);
    return r;
}

Wide times(u128 n, u64 k) {
    const u128 lo = static_cast<u128>(static_cast<u64>(n)) * k;
    const u128 hi = static_cast<u128>(static_cast<u64>(n >> 64)) * k + (lo >> 64);
    return Wide{{static_cast<u64>(lo), static_cast<u64>(hi), static_cast<u64>(hi >> 64)}};
}

double to_double(const Wide& v) {
    return std::ldexp(static_cast<double>(v.w[2]), 128) + std::ldexp(static_cast<double>(v.w[1]), 64) +
           static_cast<double>(v.w[0]);
}

// Knuth-Schroeppel: the odd squarefree k < 64 whose kN has the most small
// primes as quadratic residues, weighed by their expected contribution.
u64 choose_multiplier(u128 n) {
    static constexpr u64 candidates[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23, 29, 31,
                                         33, 35, 37, 39, 41, 43, 47, 51, 53, 55, 57, 59, 61};
    u64 best = 1;
    double best_score = -1e9;
    for (u64 k : candidates) {
        const Wide kn = times(n, k);
        double score = -0.5 * std::log(static_cast<double>(k));
        const u64 mod8 = kn.w[0] & 7;
        score += (mod8 == 1 ? 2.0 : mod8 == 5 ? 1.0 : 0.5) * std::log(2.0);
        for (int i = 0; i < 60; ++i) {
            const u64 p = trial_primes()[i].p;
            const u64 r = mod_small(kn, p);
            if (r == 0) {
                score += std::log(static_cast<double>(p)) / static_cast<double>(p);
            } else if (pow_mod(r, (p - 1) / 2, p) == 1) {
                score += 2.0 * std::log(static_cast<double>(p)) / static_cast<double>(p - 1);
            }
        }
        if (score > best_score) best_score = score, best = k;
    }
    return best;
}

struct Params {
    int bits;
    int fb;
    double large_mult;
};

// Factor-base sizes by the bit length of kN; measured on random semiprimes.
constexpr Params PARAMS[] = {{64, 100, 30}, {80, 140, 30}, {96, 200, 40},
                             {112, 300, 50}, {124, 420, 60}, {136, 560, 70}};

}  // namespace

bool setup(State& st, u128 n, int attempt, u128* factor) {
    st.n = n;
    st.k = choose_multiplier(n);
    st.kn = times(n, st.k);
    const int bits = static_cast<int>(std::log2(to_double(st.kn))) + 1;
    const Params* params = &PARAMS[0];
    for (const Params& p : PARAMS)
        if (bits > p.bits - 16) params = &p;
    const int wanted = std::min(MAX_FB, params->fb + 60 * attempt);
    st.prime[0] = 1;  // the sign
    st.prime[1] = 2;
    st.logp[0] = st.logp[1] = 1;
    st.root[0] = st.root[1] = 0;
    int count = 2;
    for (u64 p = 3; count < wanted && count < MAX_FB; p += 2) {
        bool is_prime = true;
        for (u64 d = 3; d * d <= p; d += 2)
            if (p % d == 0) is_prime = false;
        if (!is_prime) continue;
        const u64 r = mod_small(st.kn, p);
        if (r == 0 && st.k % p != 0) {
            *factor = p;  // p divides N
            return false;
        }
        if (r != 0 && pow_mod(r, (p - 1) / 2, p) != 1) continue;
        st.prime[count] = static_cast<u32>(p);
        st.logp[count] = static_cast<u8>(std::lround(std::log2(static_cast<double>(p))));
        st.root[count] = static_cast<u32>(sqrt_mod(r, p));
        st.recip[count] = static_cast<u32>(((u64{1} << 32) + p - 1) / p);
        ++count;
    }
    st.fb_size = count;
    // Primes below 128 are not sieved (half the sieve's work for little of
    // the logarithms); the threshold allows for them.
    st.small_skip = 2;
    while (st.small_skip < count && st.prime[st.small_skip] < 128) ++st.small_skip;
    const double pmax = st.prime[count - 1];
    st.large_bound = static_cast<u64>(pmax * params->large_mult);
    // |Q(x)| is about M sqrt(kN / 2); the sieve must collect all but the
    // unsieved small primes and the large prime (the allowance measured).
    const double log_q = std::log2(SIEVE_BYTES / 2 * std::sqrt(to_double(st.kn) / 2));
    st.threshold = static_cast<u8>(std::max(10.0, log_q - std::log2(static_cast<double>(st.large_bound)) - 8));
    st.used_a_count = 0;
    st.rng = (static_cast<u64>(n) ^ (0x9E3779B97F4A7C15ull * static_cast<u64>(attempt + 1))) | 1;
    st.full_count = st.partial_count = st.relation_count = 0;
    st.relations_wanted = st.fb_size + EXTRA_RELATIONS / 2;
    for (i32& h : st.partial_hash) h = -1;
    return true;
}

namespace {

u64 next_random(State& st) {
    st.rng ^= st.rng << 13;
    st.rng ^= st.rng >> 7;
    st.rng ^= st.rng << 17;
    return st.rng;
}

// A = product of s factor-base primes near the target sqrt(2 kN) / M.
bool choose_a(State& st) {
    const double target = std::sqrt(2 * to_double(st.kn)) / (SIEVE_BYTES / 2);
    const double log_target = std::log(target);
    int s = static_cast<int>(std::lround(log_target / std::log(2000.0)));
    s = std::max(3, std::min(MAX_A_PRIMES, s));
    const double q_size = std::exp(log_target / s);
    int lo = st.small_skip, hi = st.fb_size - 1;
    while (lo < st.fb_size - 1 && st.prime[lo] < q_size / 2) ++lo;
    while (hi > lo && st.prime[hi] > q_size * 2) --hi;
    // Enough primes to choose from that new products keep coming.
    while (hi - lo < 4 * s + 12 && (lo > st.small_skip || hi < st.fb_size - 1)) {
        if (lo > st.small_skip) --lo;
        if (hi < st.fb_size - 1) ++hi;
    }
    if (hi - lo < s + 2) return false;
    for (int attempt = 0; attempt < 200; ++attempt) {
        for (int j = 0; j < st.fb_size; ++j) st.in_a[j] = false;
        double log_a = 0;
        for (int l = 0; l < s - 1; ++l) {
            int j;
            do j = lo + static_cast<int>(next_random(st) % static_cast<u64>(hi - lo + 1));
            while (st.in_a[j] || st.k % st.prime[j] == 0);
            st.in_a[j] = true;
            st.a_index[l] = j;
            log_a += std::log(static_cast<double>(st.prime[j]));
        }
        // The last prime brings A closest to the target.
        const double want = std::exp(log_target - log_a);
        int best = -1;
        for (int j = st.small_skip; j < st.fb_size; ++j) {
            if (st.in_a[j] || st.k % st.prime[j] == 0) continue;
            if (best < 0 || std::fabs(std::log(st.prime[j] / want)) < std::fabs(std::log(st.prime[best] / want)))
                best = j;
        }
        if (best < 0) continue;
        st.in_a[best] = true;
        st.a_index[s - 1] = best;
        u64 a = 1;
        for (int l = 0; l < s; ++l) a *= st.prime[st.a_index[l]];
        bool seen = false;
        for (int i = 0; i < st.used_a_count; ++i) seen = seen || st.used_a[i] == a;
        if (seen) continue;
        if (st.used_a_count < 256) st.used_a[st.used_a_count++] = a;
        else st.used_a[next_random(st) % 256] = a;
        st.a = a;
        st.s = s;
        return true;
    }
    return false;
}

// C = (B^2 - kN) / A, exact.
i128 compute_c(const State& st) {
    const u128 b2 = static_cast<u128>(static_cast<i128>(st.b) * st.b);
    // kN - B^2 in three words, then divided by A (a word) from the top.
    u64 w0 = st.kn.w[0], w1 = st.kn.w[1], w2 = st.kn.w[2];
    const u64 b0 = static_cast<u64>(b2), b1 = static_cast<u64>(b2 >> 64);
    const u64 borrow0 = w0 < b0;
    w0 -= b0;
    const u128 sub1 = u128{b1} + borrow0;
    const u64 borrow1 = u128{w1} < sub1;
    w1 = static_cast<u64>(w1 - sub1);
    w2 -= borrow1;
    u64 rem = 0;
    const u64 q2 = w2 / st.a;
    rem = w2 % st.a;
    const u128 t1 = (u128{rem} << 64) | w1;
    const u64 q1 = static_cast<u64>(t1 / st.a);
    rem = static_cast<u64>(t1 % st.a);
    const u128 t0 = (u128{rem} << 64) | w0;
    const u64 q0 = static_cast<u64>(t0 / st.a);
    (void)q2;  // zero: kN / A stays below 2^128
    return -static_cast<i128>((u128{q1} << 64) | q0);
}

u32 mod_p(i128 v, u32 p) {
    const i64 r = static_cast<i64>(v % static_cast<i128>(p));
    return static_cast<u32>(r < 0 ? r + p : r);
}

}  // namespace

bool first_polynomial(State& st) {
    if (!choose_a(st)) return false;
    // B_l = (A / q_l) * (sqrt(kN) * (A / q_l)^-1 mod q_l), the smaller root.
    st.b = 0;
    for (int l = 0; l < st.s; ++l) {
        const u64 q = st.prime[st.a_index[l]];
        const u64 a_over_q = st.a / q;
        u64 g = st.root[st.a_index[l]] * inverse_mod(a_over_q % q, q) % q;
        if (g > q / 2) g = q - g;
        st.b_part[l] = a_over_q * g;
        st.b += static_cast<i64>(st.b_part[l]);
    }
    st.c = compute_c(st);
    const i64 half = SIEVE_BYTES / 2;
    for (int j = st.small_skip; j < st.fb_size; ++j) {
        const u32 p = st.prime[j];
        if (st.in_a[j]) continue;
        const u64 ainv = inverse_mod(st.a % p, p);
        for (int l = 0; l < st.s; ++l) st.bainv[l][j] = static_cast<u32>(2 * (st.b_part[l] % p) * ainv % p);
        const u32 b = mod_p(st.b, p), t = st.root[j], m = mod_p(half, p);
        st.soln1[j] = static_cast<u32>((ainv * ((t + p - b) % p) + m) % p);
        st.soln2[j] = static_cast<u32>((ainv * ((2 * p - t - b) % p) + m) % p);
    }
    return true;
}

void next_polynomial(State& st, int i) {
    // Gray code: bit v of the sign pattern flips; B moves by 2 B_v and each
    // root by 2 B_v / A the other way.
    int v = 0;
    while (((i >> v) & 1) == 0) ++v;
    const bool now_set = (((i ^ (i >> 1)) >> v) & 1) != 0;
    st.b += now_set ? -2 * static_cast<i64>(st.b_part[v]) : 2 * static_cast<i64>(st.b_part[v]);
    st.c = compute_c(st);
    for (int j = st.small_skip; j < st.fb_size; ++j) {
        if (st.in_a[j]) continue;
        const u32 p = st.prime[j], d = st.bainv[v][j];
        if (now_set) {
            st.soln1[j] = st.soln1[j] + d >= p ? st.soln1[j] + d - p : st.soln1[j] + d;
            st.soln2[j] = st.soln2[j] + d >= p ? st.soln2[j] + d - p : st.soln2[j] + d;
        } else {
            st.soln1[j] = st.soln1[j] >= d ? st.soln1[j] - d : st.soln1[j] + p - d;
            st.soln2[j] = st.soln2[j] >= d ? st.soln2[j] - d : st.soln2[j] + p - d;
        }
    }
}

}  // namespace qs
