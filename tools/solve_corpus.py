#!/usr/bin/env python3
"""The stored answers of `velmarix-cli roots` and `velmarix-cli linear`.

  solve_corpus.py make  CLI   writes the cases and the program's answers
  solve_corpus.py check CLI [--every K] [--max-digits D]
                              runs the stored cases again and fails on any
                              answer that differs in a single byte

The cases are drawn from a fixed seed, so `make` always writes the same
cases; an answer is stored as the SHA-256 of exit status, standard output and
standard error, and short outputs also in full so that a difference can be
read. `check` with --every/--max-digits runs a deterministic sample (the
test suite's run); without them it runs every case.
"""
import argparse
import hashlib
import json
import os
import random
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'cli')
FILES = {'roots': 'roots_corpus.jsonl', 'linear': 'linear_corpus.jsonl'}
SHOWN = 600  # outputs up to this length are stored in full


# ---- polynomials ---------------------------------------------------------

def expand(factors):
    """Coefficients (highest first) of the product of the polynomials given
    highest first."""
    out = [Fraction(1)]
    for f in factors:
        prod = [Fraction(0)] * (len(out) + len(f) - 1)
        for i, a in enumerate(out):
            for j, b in enumerate(f):
                prod[i + j] += a * b
        out = prod
    return out


def frac_text(q):
    if q.denominator == 1:
        return str(q.numerator)
    return '%d/%d' % (q.numerator, q.denominator)


def rnd_frac(rng, big=20):
    return Fraction(rng.randint(-big, big), rng.randint(1, 9))


def poly_from_roots(rng, degree):
    """Rational roots with multiplicities, quadratic factors, clusters and
    roots of very different size, as one product of the given degree."""
    factors = []
    left = degree
    while left > 0:
        kind = rng.random()
        if kind < 0.35:  # a rational root of some multiplicity
            m = rng.randint(1, left)
            r = rnd_frac(rng, 9)
            factors += [[Fraction(1), -r]] * m
            left -= m
        elif kind < 0.55 and left >= 2:  # an irreducible or irrational quadratic
            factors.append([Fraction(1), rnd_frac(rng, 6), Fraction(rng.randint(-9, 9))])
            left -= 2
        elif kind < 0.75 and left >= 2:  # a cluster of two roots
            r = rnd_frac(rng, 5)
            gap = Fraction(1, 10 ** rng.randint(2, 8))
            factors += [[Fraction(1), -r], [Fraction(1), -(r + gap)]]
            left -= 2
        else:  # a root far from 1
            r = Fraction(rng.randint(1, 9), 1) * Fraction(10) ** rng.randint(-6, 6)
            factors.append([Fraction(1), -r if rng.random() < 0.5 else r])
            left -= 1
    return [frac_text(c) for c in expand(factors)]


REALS = ['sqrt(2)', '-sqrt(3)', 'pi', '1.25', '-0.375', '2.5e-3', 'exp(1)', '1/3', 'ln(5)', '-7']


def poly_coefs(rng, kind, degree):
    if kind == 'int':
        c = [str(rng.randint(-1000, 1000)) for _ in range(degree + 1)]
    elif kind == 'rat':
        c = [frac_text(rnd_frac(rng, 99)) for _ in range(degree + 1)]
    elif kind == 'real':
        c = [rng.choice(REALS) if rng.random() < 0.6 else str(rng.randint(-9, 9)) for _ in range(degree + 1)]
    elif kind == 'cplx':
        c = ['%d%+di' % (rng.randint(-9, 9), rng.randint(-9, 9)) if rng.random() < 0.6
             else str(rng.randint(-9, 9)) for _ in range(degree + 1)]
    else:
        c = poly_from_roots(rng, degree)
    if rng.random() < 0.15:  # an empty argument is 0: missing terms and zero roots
        c[rng.randint(1, degree)] = ''
    if c[0] in ('', '0', '0+0i', '0-0i'):
        c[0] = '1'
    return c


def pick_digits(rng, degree, cap):
    r = rng.random()
    if r < 0.80:
        d = rng.choice([5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50])
    elif r < 0.97:
        d = rng.choice([60, 75, 100, 150, 200])
    else:
        d = rng.choice([300, 500, 750, 1000])
    limit = 2000 if degree <= 4 else 1000 if degree <= 7 else 750
    return min(d, limit, cap)


def roots_cases(rng, count):
    kinds = ['int', 'rat', 'real', 'cplx', 'roots', 'roots']
    cases = []
    for _ in range(count):
        kind = rng.choice(kinds)
        degree = rng.randint(1, 10)
        coefs = poly_coefs(rng, kind, degree)
        # High precision only for low degrees or simple roots: a root of
        # multiplicity 10 at 200 digits takes half a minute today, and the
        # corpus has to run in minutes.
        if kind == 'roots':
            cap = 200 if degree <= 4 else 50
        else:
            cap = 1000 if degree <= 5 else 300
        digits = pick_digits(rng, degree, cap)
        args = ['roots', '--no-settings', '-d', str(digits)]
        exact = kind in ('int', 'rat', 'roots') and rng.random() < 0.5
        if exact:
            args.append('--exact')
        if kind == 'cplx' or rng.random() < 0.6:
            args.append('--complex')
        if rng.random() < 0.1:
            args.append('--no-multiplicity')
        if rng.random() < 0.05:
            args += ['--lang', 'de']
        cases.append({'args': args + coefs, 'digits': digits})
    return cases


# ---- linear systems ------------------------------------------------------

def entry(rng, typ):
    if typ == 'rat' and rng.random() < 0.3:
        return frac_text(Fraction(rng.randint(-1000, 1000), rng.randint(1, 1000)))
    if typ == 'real' and rng.random() < 0.2:
        return rng.choice(REALS)
    if typ == 'cplx' and rng.random() < 0.5:
        return '%d%+di' % (rng.randint(-99, 99), rng.randint(-99, 99))
    return str(rng.randint(-1000, 1000) if rng.random() < 0.7 else rng.randint(-5, 5))


def as_fraction(text):
    try:
        return Fraction(text or '0')
    except ValueError:
        return None


def combine(rng, rows, n):
    """A row that is an integer combination of the given rows: its fields
    worked out where they are rational, else as formulas."""
    picked = [(rng.randint(-3, 3) or 1, r) for r in rng.sample(rows, min(len(rows), rng.randint(1, 3)))]
    out = []
    for j in range(n + 1):
        values = [as_fraction(r[j]) for _, r in picked]
        if all(v is not None for v in values):
            out.append(frac_text(sum(k * v for (k, _), v in zip(picked, values))))
        else:
            out.append('+'.join('(%d)*(%s)' % (k, r[j]) for k, r in picked if r[j] != ''))
    return out


def linear_case(rng):
    n = rng.choice(list(range(2, 8)) * 3 + list(range(8, 26)))
    typ = rng.choice(['rat', 'rat', 'real', 'cplx'])
    rows = [[entry(rng, typ) for _ in range(n + 1)] for _ in range(n)]
    shape = rng.random()
    if shape < 0.4:  # singular: the last rows depend on the first rank rows
        rank = rng.randint(0 if rng.random() < 0.05 else 1, n - 1)
        base = rows[:rank]
        dep = [combine(rng, base, n) if base else ['0'] * (n + 1) for _ in range(n - rank)]
        if rng.random() < 0.4 and dep:  # inconsistent: one right side moved
            dep[0][n] = '(%s)+%d' % (dep[0][n] or '0', rng.randint(1, 9))
        rows = base + dep
        rng.shuffle(rows)
    if rng.random() < 0.1:  # sparse: many empty fields
        rows = [[c if rng.random() < 0.4 else '' for c in r] for r in rows]
    header = ';'.join(['a%d' % (j + 1) for j in range(n)] + ['b'])
    csv = header + '\n' + ''.join(';'.join(r) + '\n' for r in rows)
    digits = 10
    args = ['linear', '--no-settings', '-t', typ]
    if typ != 'rat':
        r = rng.random()
        digits = rng.choice([5, 10, 20, 30, 50]) if r < 0.8 else rng.choice([100, 200, 500, 1000])
        args += ['-d', str(digits)]
    if rng.random() < 0.05:
        args += ['--lang', 'de']
    return {'args': args, 'csv': csv, 'digits': digits}


# ---- running -------------------------------------------------------------

def run(cli, case, folder):
    args = list(case['args'])
    csv_path = None
    if 'csv' in case:
        fd, csv_path = tempfile.mkstemp(suffix='.csv', dir=folder)
        with os.fdopen(fd, 'w', encoding='utf-8') as f:
            f.write(case['csv'])
        args.append(csv_path)
    env = dict(os.environ, XDG_CONFIG_HOME=folder, LC_ALL='C')
    p = subprocess.run([cli] + args, env=env, stdin=subprocess.DEVNULL, capture_output=True)
    if csv_path:
        os.unlink(csv_path)
    err = p.stderr.replace(csv_path.encode(), b'FILE') if csv_path else p.stderr
    blob = b'%d\n' % p.returncode + p.stdout + b'\0' + err
    return blob, hashlib.sha256(blob).hexdigest()


def run_all(cli, cases, jobs):
    with tempfile.TemporaryDirectory() as folder:
        with ThreadPoolExecutor(max_workers=jobs) as pool:
            return list(pool.map(lambda c: run(cli, c, folder), cases))


def make(cli, jobs):
    rng = random.Random(20240518)
    sets = {'roots': roots_cases(rng, 2100), 'linear': [linear_case(rng) for _ in range(1100)]}
    for kind, cases in sets.items():
        results = run_all(cli, cases, jobs)
        with open(os.path.join(DATA, FILES[kind]), 'w', encoding='utf-8') as f:
            for case, (blob, sha) in zip(cases, results):
                case['sha'] = sha
                if len(blob) <= SHOWN:
                    case['out'] = blob.decode('utf-8', 'replace')
                f.write(json.dumps(case, ensure_ascii=False) + '\n')
        print('%s: %d cases' % (kind, len(cases)))


def check(cli, jobs, every, max_digits):
    failed = 0
    for kind, name in FILES.items():
        with open(os.path.join(DATA, name), encoding='utf-8') as f:
            cases = [json.loads(line) for line in f]
        chosen = [c for i, c in enumerate(cases) if i % every == 0 and c['digits'] <= max_digits]
        results = run_all(cli, chosen, jobs)
        for case, (blob, sha) in zip(chosen, results):
            if sha != case['sha']:
                failed += 1
                print('DIFFERS: %s' % json.dumps({k: case[k] for k in ('args', 'csv') if k in case}))
                if 'out' in case:
                    print('  stored: %r' % case['out'])
                print('  now:    %r' % blob.decode('utf-8', 'replace')[:2000])
        print('%s: %d of %d cases run' % (kind, len(chosen), len(cases)))
    print('%d differ' % failed)
    return 1 if failed else 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('what', choices=['make', 'check'])
    ap.add_argument('cli')
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--every', type=int, default=1)
    ap.add_argument('--max-digits', type=int, default=10 ** 6)
    a = ap.parse_args()
    if a.what == 'make':
        make(a.cli, a.jobs)
        return 0
    return check(a.cli, a.jobs, a.every, a.max_digits)


if __name__ == '__main__':
    sys.exit(main())
