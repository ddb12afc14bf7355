// The prime numbers page and the prime factors and divisors page.
#pragma once

class Form;

Form* primes_window_create();
Form* factors_window_create();
