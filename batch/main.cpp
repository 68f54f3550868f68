// quarvell-batch: the failure rates of a parts list, after MIL-HDBK-217F Notice 1 and Notice 2.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "batch/batch.h"
#include "version.h"

namespace {

using namespace quarvell;

constexpr const char* kColumns = R"(
Input columns (names in any case and order; other columns are copied to the output):
  type                required  section code (10.4 ... 10.15b Notice 1, 10.1b ... 10.1k
                                Notice 2) or the type list's caption
  notice              optional  1 or 2; must agree with the type
  capacitance         required  a number with an optional unit pF nF uF µF mF F (a bare
                                number is uF), or the letter for the decimal point: 4u7 470n 2p2
  rated_voltage       required  V DC, above 0
  applied_voltage     required  V DC, 0 or more; above the (derated) rating it is evaluated as
                                given and flagged in warning
  temperature         required  application temperature, degrees C
  temp_rating         optional  degrees C, one of the type's ratings; default the type's own
  quality             required  D C B S R P M non-er non-er-q3 commercial commercial-q10, or a
                                rate such as 0.25% (%/1000 h), or a life test
                                test:PIECES/HOURS/FAILURES[@BIAS] (bias: a multiple of the rated
                                voltage, default the type's)
  environment         required  GB GF GM NS NU AIC AIF AUC AUF ARW SF MF ML CL, parentheses
                                allowed: G(B) A(IC)
  circuit_resistance  optional  ohms per volt (solid tantalum), mapped to its class; default
                                the lowest class (0 to 0.1)
  construction        optional  10.13: slug-all-tantalum (default), foil-hermetic,
                                foil-non-hermetic, slug-non-hermetic
  piv_denominator     optional  polymer types: 0.5 to 1.0; default the type's
  quantity            optional  whole number of parts for the totals; default 1

Output columns, after the input's own (an input column of the same name gives way):
  lambda_b pi_t pi_cv pi_v pi_sr pi_c pi_q pi_e  the handbook factors (empty where the type
                                has none)
  stress                        S, the applied over the rated voltage as the calculator shows
  derated_voltage               V, the voltage rating where the temperature derates it
  fit                           failures per 10^9 part-hours
  failures_per_1e6h             failures per 10^6 part-hours
  percent_per_1000h             %/1000 h
  mtbf_hours mtbf_years         1/FIT, in hours and in years of 8760 hours
  notes                         the calculator's notes, joined with "; "
  warning                       overstress: above the rated voltage or temperature
  error                         why the row could not be evaluated: "row N: COLUMN 'VALUE' ..."
  fit_notice1 fit_notice2 fit_ratio  with --notice both: the FIT under each Notice (the other
                                Notice's part as the Notice switch leaves it) and Notice 2 / 1
  rate_upper_60 rate_upper_90   life tests: one-sided chi-square upper bounds of the rate,
  fit_upper_60 fit_upper_90     %/1000 h, and the FIT at those rates
Numbers are plain decimals with a period; a value that does not exist is an empty cell (JSON
null). Rows are numbered from 1, the first after the header; empty lines are skipped. A CSV
file whose header is separated by semicolons is read as such, with decimal commas allowed.

Exit status: 0 every row evaluated, 1 some rows have an error (the others are evaluated),
2 the input cannot be read as a parts list, or the output cannot be written.)";

std::string Printed(const char* format, double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

// The FIT and MTBF of a total.
std::string Total(double fit) {
    std::string s = "FIT " + Printed("%.4f", fit);
    if (fit > 0) {
        const double hours = 1e9 / fit;
        s += ", system MTBF " + Printed("%.6g", hours) + " hours (" +
             Printed("%.3g", hours / 8760) + " years)";
    }
    return s;
}

void PrintSummary(const batch::Outcome& o, bool both, double seconds) {
    const batch::Totals& t = o.totals;
    std::fprintf(stderr, "quarvell-batch: %ld rows read, %ld refused, %ld evaluated", t.rows,
                 t.refused, t.rows - t.refused);
    if (t.withoutFit > 0) {
        std::fprintf(stderr, " (%ld without a FIT)", t.withoutFit);
    }
    if (t.errors > t.refused) {
        std::fprintf(stderr, "; %ld evaluated rows carry an error", t.errors - t.refused);
    }
    std::fprintf(stderr, "\n  total %s; quantity x FIT, parts in series\n", Total(t.fit).c_str());
    if (both) {
        for (int n = 0; n < 2; ++n) {
            std::fprintf(stderr, "  Notice %d: total %s", n + 1, Total(t.noticeFit[n]).c_str());
            if (t.noticeMissing[n] > 0) {
                std::fprintf(stderr, " (rows without a FIT: %ld)", t.noticeMissing[n]);
            }
            std::fprintf(stderr, "\n");
        }
    }
    std::fprintf(stderr, "  time %.3f s", seconds);
    if (seconds > 0 && t.rows > 0) {
        std::fprintf(stderr, ", %.0f rows/s", static_cast<double>(t.rows) / seconds);
    }
    std::fprintf(stderr, "\n");
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "quarvell-batch: %s\n", message.c_str());
    return batch::kExitUnusable;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Failure rates of a parts list of fixed capacitors after MIL-HDBK-217F Notice 1 and "
        "Notice 2: every factor, the FIT and the MTBF of each part, and the totals.",
        "quarvell-batch"};
    std::string input;
    std::string output;
    std::string inputFormat;
    std::string format = "csv";
    std::string notice = "own";
    bool summary = false;
    app.add_option("INPUT", input, "The parts list: a file, or - or nothing for standard input");
    app.add_option("-o,--output", output, "Write the results to FILE (default standard output)")
        ->option_text("FILE");
    app.add_option("--input-format", inputFormat,
                   "csv or jsonl; default by the file's extension (.jsonl is JSON Lines, anything "
                   "else and standard input CSV)")
        ->check(CLI::IsMember({"csv", "jsonl"}));
    app.add_option("--format", format, "Output format: csv (default) or jsonl")
        ->check(CLI::IsMember({"csv", "jsonl"}));
    app.add_option("--notice", notice,
                   "own (default): each part under its type's Notice; both: also the FIT under "
                   "the other Notice")
        ->check(CLI::IsMember({"own", "both"}));
    app.add_flag("--summary", summary,
                 "Print the rows read, refused and evaluated, the total FIT, the system MTBF and "
                 "the time taken to standard error");
    app.set_version_flag("--version", std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision));
    app.footer(kColumns);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& v) {
        std::printf("quarvell-batch %s\n", v.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "quarvell-batch: %s\nRun with --help for more information.\n",
                     e.what());
        return batch::kExitUnusable;
    }

    // A closed pipe is a failed write to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);

    batch::Options options;
    const bool fromStdin = input.empty() || input == "-";
    options.input = !inputFormat.empty()
                        ? (inputFormat == "jsonl" ? batch::Format::JsonLines : batch::Format::Csv)
                        : (fromStdin ? batch::Format::Csv : batch::FormatOfName(input));
    options.output = format == "jsonl" ? batch::Format::JsonLines : batch::Format::Csv;
    options.bothNotices = notice == "both";

    int in = STDIN_FILENO;
    if (!fromStdin) {
        in = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) {
            return Fail("cannot read '" + input + "': " + std::strerror(errno));
        }
    }
    int out = STDOUT_FILENO;
    const bool toStdout = output.empty() || output == "-";
    if (!toStdout) {
        struct stat inStat {};
        struct stat outStat {};
        if (::fstat(in, &inStat) == 0 && ::stat(output.c_str(), &outStat) == 0 &&
            S_ISREG(outStat.st_mode) && inStat.st_dev == outStat.st_dev &&
            inStat.st_ino == outStat.st_ino) {
            return Fail("the output '" + output + "' is the input: writing it would destroy it");
        }
        out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (out < 0) {
            return Fail("cannot write '" + output + "': " + std::strerror(errno));
        }
    }

    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    // Outlive the run that the progress function is called from.
    bool progressShown = false;
    double lastShown = 0;
    if (::isatty(STDERR_FILENO) != 0) {
        options.progress = [&](long rows) {
            const double now = elapsed();
            if (now > 1 && now - lastShown > 0.5) {
                lastShown = now;
                progressShown = true;
                std::fprintf(stderr, "\rquarvell-batch: %ld rows ...", rows);
            }
        };
    }

    batch::FdSource source(in);
    batch::FdSink sink(out, !toStdout);
    const batch::Outcome outcome = batch::Run(source, sink, options);
    if (progressShown) {
        std::fprintf(stderr, "\r\033[K");
    }
    if (!outcome.message.empty()) {
        std::fprintf(stderr, "quarvell-batch: %s\n", outcome.message.c_str());
    }
    if (summary) {
        PrintSummary(outcome, options.bothNotices, elapsed());
    }
    return outcome.status;
}
