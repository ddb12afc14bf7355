// The prime commands run end to end: their output, exit status, refused
// input and usage errors, and Ctrl-C.
#include <gtest/gtest.h>

#include <chrono>

#include "app/settings_file.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "cli_run.h"

namespace {

const char* const kNone = "--no-settings";

CliRun prime(std::vector<std::string> args) {
    args.insert(args.begin() + 1, kNone);
    return runCli(args);
}

TEST(CliPrimes, EachCommandPrintsThePageText) {
    struct Row {
        std::vector<std::string> args;
        const char* out;
    } rows[] = {
        {{"primes", "1", "10"},
         "Prime numbers from 1 to 10:\r\n{ 2, 3, 5, 7 }\r\nNumber of prime numbers: 4\r\n"},
        // COUNT in the base; the default is 100 numbers
        {{"primes", "--base", "16", "f", "10"},
         "Prime numbers from F to 1E:\r\n{ 11, 13, 17, 1D }\r\nNumber of prime numbers: 4\r\n"},
        {{"primes", "--count", "1", "1000000"}, "Number of prime numbers: 78498\r\n"},
        {{"primes", "--probabilistic", "997", "13"},
         "Prime numbers from 997 to 1009:\r\n{ 997, 1009 }\r\nNumber of prime numbers: 2\r\n"},
        {{"next-prime", "14"}, "Next prime number:\r\n17\r\n"},
        {{"next-prime", "--base", "2", "1"}, "Next prime number:\r\n10\r\n"},
        {{"is-prime", "--base", "16", "ff"}, "FF is not a prime number.\r\n"},
        {{"is-prime", "--group", "1'000'003"}, "1'000'003 is a prime number.\r\n"},
        {{"is-prime", "--probabilistic", "--lang", "de", "4"}, "4 ist keine Primzahl.\r\n"},
        {{"factor", "4", "3"}, "4 = 2^2\r\n5 = 5\r\n6 = 2 * 3\r\n"},
        {{"factor", "--base", "8", "--group", "2000"}, "2000 = 2^12\r\n"},
        {{"factor", "1"}, "1 = Number has no prime factors!\r\n"},
        {{"factor", "340282366920938460843936948965011886881"},
         "340282366920938460843936948965011886881 = 18446744073709551533 * 18446744073709551557\r\n"},
        {{"divisors", "--count", "12"}, "D 12 = { 1, 2, 3, 4, 6, 12 }  [6]\r\n"},
        {{"divisors", "--lang", "de", "6", " "}, "T 6 = { 1, 2, 3, 6 }\r\n"},
    };
    for (const Row& row : rows) {
        const CliRun r = prime(row.args);
        EXPECT_EQ(r.out, row.out) << row.args[0] << " " << row.args.back();
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 0);
    }
    const CliRun hundred = prime({"primes", "--base", "16", "1"});
    EXPECT_NE(hundred.out.find(" to 64:"), std::string::npos) << hundred.out;
    EXPECT_NE(hundred.out.find("prime numbers: 25\r\n"), std::string::npos);
}

// The page's message, then why: the range of the method or of COUNT, and
// --probabilistic where that method takes the number.
TEST(CliPrimes, InvalidInputIsRefusedWithThePageMessageAndWhy) {
    const std::string big = "340282366920938463463374607431768211456";  // 2^128
    const std::string exact = "The exact method takes whole numbers from 1 to 2^128 - 1 in base ";
    const std::string factors = "Factors and divisors are found for whole numbers from 1 to ";
    struct Row {
        std::vector<std::string> args;
        std::string err;
    } rows[] = {
        {{"primes", "abc"}, "Invalid input \"abc\" !\n" + exact + "10.\n"},
        {{"primes", "0"}, "Invalid input \"0\" !\n" + exact + "10.\n"},
        {{"primes", "5", "0"},
         "Invalid input \"0\" !\nCOUNT is a whole number from 1 to 2147483647.\n"},
        {{"primes", "5", "2147483648"},
         "Invalid input \"2147483648\" !\nCOUNT is a whole number from 1 to 2147483647.\n"},
        {{"primes", "5", ""},
         "Invalid input \"\" !\nCOUNT is a whole number from 1 to 2147483647.\n"},
        {{"is-prime", big},
         "Invalid input \"" + big + "\" !\n" + exact + "10. --probabilistic takes it.\n"},
        {{"is-prime", "--base", "8", "9"}, "Invalid input \"9\" !\n" + exact + "8.\n"},
        {{"next-prime", "-3"}, "Invalid input \"-3\" !\n" + exact + "10.\n"},
        {{"factor", "12", "1000001"},
         "Invalid input \"1000001\" !\nCOUNT is a whole number from 1 to 1000000.\n"},
        {{"factor", big},
         "Invalid input \"" + big + "\" !\n" + factors + "2^128 - 1 in base 10.\n"},
        {{"divisors", ""}, "Invalid input \"\" !\n" + factors + "2^128 - 1 in base 10.\n"},
        {{"factor", "--lang", "de", "x"},
         "Ung\xc3\xbcltige Eingabe \"x\" !\nFaktoren und Teiler gibt es f\xc3\xbcr ganze Zahlen "
         "von 1 "
         "bis 2^128 - 1 zur Basis 10.\n"},
    };
    for (const Row& row : rows) {
        const CliRun r = prime(row.args);
        EXPECT_EQ(r.err, row.err) << row.args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 1);
    }
    // The probabilistic method takes numbers of up to 65 words, 2^128 included.
    const CliRun p = prime({"is-prime", "--probabilistic", big});
    EXPECT_EQ(p.out, big + " is not a prime number.\r\n");
    // 10^1253 needs more than 65 words; the message keeps 260 characters of the text.
    const CliRun huge = prime({"is-prime", "--probabilistic", "1" + std::string(1253, '0')});
    EXPECT_EQ(huge.err, "Invalid input \"1" + std::string(258, '0') +
                            "\xe2\x80\xa6\" !\nThe probabilistic method takes whole numbers "
                            "from 1 to 2^4160 - 1 in base 10.\n");
    EXPECT_EQ(huge.status, 1);
    // A text longer than the page's edit is cut, and the message says so.
    const CliRun cut = prime({"is-prime", std::string(300, '1')});
    EXPECT_EQ(cut.err, "Invalid input \"" + std::string(160, '1') + "\xe2\x80\xa6\" !\n" + exact +
                           "10. --probabilistic takes it.\n");
    EXPECT_EQ(cut.status, 1);
}

TEST(CliPrimes, RunErrorsAndUsageErrors) {
    const CliRun over = prime({"factor", "340282366920938463463374607431768211455", "2"});
    EXPECT_EQ(over.out.rfind("340282366920938463463374607431768211455 = 3 * 5 * 17", 0), 0u);
    EXPECT_EQ(over.err, "Overflow in prime factor calculation!\n");
    EXPECT_EQ(over.status, 1);
    const CliRun many = prime({"divisors", "614889782588491410"});
    EXPECT_EQ(many.out, "");
    EXPECT_NE(many.err.find("\"614889782588491410\""), std::string::npos) << many.err;
    EXPECT_EQ(many.status, 1);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"primes"},
                                               {"next-prime", "5", "6"},
                                               {"factor", "--probabilistic", "5"},
                                               {"is-prime", "--exact", "--probabilistic", "5"},
                                               {"primes", "--base", "12", "5"},
                                               {"factor", "--count", "5"}}) {
        const CliRun r = prime(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("velmarix-cli " + args[0] + ": "), std::string::npos) << r.err;
    }
    for (const char* command : {"primes", "next-prime", "is-prime", "factor", "divisors"}) {
        const CliRun help = prime({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Ctrl-C"), std::string::npos) << command;
    }
}

TEST(CliPrimes, SettingsGiveTheLanguageAndDigitGroups) {
    CliFolder folder;
    settings_reset();
    settings_thousands_prime_nums = 1;
    settings_language = SETTINGS_LANGUAGE_GERMAN;
    settings_path_forget();
    settings_path_set_folder(folder.path() + "/Velmarix");
    ASSERT_TRUE(settings_save());
    settings_path_forget();
    settings_reset();
    EXPECT_EQ(runCliIn(folder, {"is-prime", "1000003"}).out, "1'000'003 ist eine Primzahl.\r\n");
    EXPECT_EQ(runCliIn(folder, {"is-prime", "--lang", "en", "1000003"}).out,
              "1'000'003 is a prime number.\r\n");
    EXPECT_EQ(runCliIn(folder, {"is-prime", kNone, "1000003"}).out,
              "1000003 is a prime number.\r\n");
}

TEST(CliPrimes, CtrlCStopsTheRunWithoutTrailer) {
    CliFolder folder;
    const auto start = std::chrono::steady_clock::now();
    // A million numbers near 2^128: the lines so far stay, each of them whole.
    const CliRun f =
        runCliIn(folder, {"factor", kNone, "340282366920938460843936948965011886881", "1000000"}, "",
                 " & p=$!; sleep 0.5; kill -INT $p; wait $p");
    EXPECT_EQ(f.out.rfind("340282366920938460843936948965011886881 = ", 0), 0u) << f.out;
    EXPECT_EQ(f.out.substr(f.out.size() - 2), "\r\n");
    EXPECT_EQ(f.err, "");
    EXPECT_EQ(f.status, 1);
    const CliRun l = runCliIn(folder, {"primes", kNone, "100000000000000000000000000000", "1000000"},
                              "", " & p=$!; sleep 0.5; kill -INT $p; wait $p");
    EXPECT_EQ(l.out.rfind("Prime numbers from 100000000000000000000000000000 to ", 0), 0u) << l.out;
    EXPECT_EQ(l.out.find("Number of"), std::string::npos);
    EXPECT_EQ(l.status, 1);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);
}

}  // namespace
