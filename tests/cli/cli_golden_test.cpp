// Golden rows run through the program: the command lines of
// tests/golden/cli.txt with their outputs and exit status, and every row of
// the formula engine's table the command line can express, its result on
// standard output or its message on standard error. Formula rows sharing
// their options run in one process; a group that does not match is run
// again row by row to name the formulas at fault.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/error_texts.h"
#include "cli_golden_plan.h"
#include "cli_run.h"

namespace {

// An expected output: "~TEXT" must contain TEXT, "*" takes anything.
bool outputMatches(const std::string& want, const std::string& got) {
    if (want == "*") return true;
    if (!want.empty() && want[0] == '~') return got.find(want.substr(1)) != std::string::npos;
    return got == want;
}

TEST(CliGolden, CommandLinesGiveTheirOutputsAndStatus) {
    golden_run("cli.txt", [](const GoldenLine& row) -> std::string {
        const CliRun r = runCli(row.words(0), row.text(4));
        std::string bad;
        if (std::to_string(r.status) != row.text(1)) bad += " status " + std::to_string(r.status) + ";";
        if (!outputMatches(row.text(2), r.out)) bad += " out \"" + r.out + "\";";
        if (!outputMatches(row.text(3), r.err)) bad += " err \"" + r.err + "\";";
        return bad;
    });
}

struct Planned {
    GoldenRow row;
    GoldenCliPlan plan;
};

std::vector<Planned> planAll() {
    std::vector<Planned> all;
    for (const GoldenRow& row : goldenFormulaRows()) all.push_back({row, goldenCliPlan(row)});
    return all;
}

std::vector<std::string> commandOf(const std::vector<const Planned*>& rows) {
    std::vector<std::string> args = {"--no-settings", "--lang", "en"};
    args.insert(args.end(), rows[0]->plan.args.begin(), rows[0]->plan.args.end());
    args.push_back("--");
    for (const Planned* p : rows) args.push_back(p->plan.formula);
    return args;
}

// The rows keep a library error's code and position, not its cause: a
// message naming the cause is compared in the plain overflow form.
std::string overflowForm(std::string err) {
    static const std::vector<std::regex> causes = [] {
        std::vector<std::regex> list;
        for (i32 cause : {MP_ERR_TYPE, MP_ERR_DIV_ZERO, MP_ERR_DOMAIN, MP_ERR_NOT_REAL, MP_ERR_NOT_RATIONAL}) {
            const std::string text = golden_detail::utf8(errorTextIn(*overflowCauseTemplate(cause), LANGUAGE_ENGLISH));
            const std::string quoted = std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
            list.emplace_back(std::regex_replace(quoted, std::regex("%d"), R"((\d+))"));
        }
        return list;
    }();
    for (const std::regex& cause : causes) err = std::regex_replace(err, cause, "Overflow at character position $1!");
    return err;
}

// Runs rows in one process; true when every output matches. *why tells the
// mismatch, with the command line to repeat it.
bool runRows(const std::vector<const Planned*>& rows, std::string* why) {
    std::string out, err;
    for (const Planned* p : rows) {
        out += p->plan.out;
        err += p->plan.err;
    }
    const int status = err.empty() ? 0 : 1;
    const std::vector<std::string> args = commandOf(rows);
    CliRun r = runCli(args);
    r.err = overflowForm(r.err);
    if (r.out == out && r.err == err && r.status == status) return true;
    std::string cmd = "velmarix-cli";
    for (const std::string& a : args) {
        cmd += ' ';
        cmd += cliQuote(a);
    }
    *why = cmd;
    *why += "\n  expected out \"" + out + "\" err \"" + err + "\" status " + std::to_string(status);
    *why += "\n  got      out \"" + r.out + "\" err \"" + r.err + "\" status ";
    *why += std::to_string(r.status);
    return false;
}

TEST(CliGolden, EveryExpressibleRowGivesItsResultOrMessage) {
    const std::vector<Planned> all = planAll();
    std::map<std::string, int> skipped;
    std::map<std::vector<std::string>, std::vector<const Planned*>> groups;
    int run = 0;
    for (const Planned& p : all) {
        if (p.plan.skip != nullptr) {
            ++skipped[p.plan.skip];
            continue;
        }
        groups[p.plan.args].push_back(&p);
        ++run;
    }
    for (const auto& [args, rows] : groups) {
        std::string why;
        if (runRows(rows, &why)) continue;
        for (const Planned* p : rows) {
            if (runRows({p}, &why)) continue;
            ADD_FAILURE() << "row \"" << p->plan.formula << "\" (" << p->row.words
                          << " words): " << why;
        }
    }
    std::cout << "golden rows through velmarix-cli: " << run << " run in " << groups.size()
              << " processes, " << all.size() - static_cast<std::size_t>(run) << " skipped\n";
    for (const auto& [reason, count] : skipped) std::cout << "  " << count << " " << reason << "\n";
    ::testing::Test::RecordProperty("golden_rows_run", run);
    ::testing::Test::RecordProperty("golden_rows_skipped", static_cast<int>(all.size()) - run);
    // The planner must leave most rows to the program, not explain them away.
    EXPECT_GE(run * 3, static_cast<int>(all.size()) * 2) << "too many rows skipped";
}

}  // namespace
