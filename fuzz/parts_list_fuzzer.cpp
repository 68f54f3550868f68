// Parts lists: whatever the list, every row read gives exactly one row out, and each row out
// has a FIT, the life test's upper bounds, or an error saying why it has neither. Rows out are
// counted in the output itself, not in the run's totals, and a list is read the whole way
// unless it cannot be read on.
//
// Input: a settings byte (bit 0: JSON Lines in; bit 1: JSON Lines out; bit 2: both Notices;
// bits 3 to 5: the size of the blocks the input arrives in), then the list.

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "batch/batch.h"
#include "batch/csv_reader.h"
#include "batch/jsonl_reader.h"
#include "fuzz/fuzz_check.h"

namespace {

using quarvell::fuzz::Require;
using quarvell::fuzz::ShowsNonFinite;
namespace batch = quarvell::batch;

constexpr std::size_t kChunks[] = {1 << 16, 1, 2, 3, 7, 64, 511, 4096};

// Records after the header (CSV) or lines that are not empty (JSON Lines, where the first
// object is a row as well as the header), as far as the list can be read; whole is false when
// it cannot be read to its end.
struct Count {
    long rows = 0;
    bool whole = true;
};

Count CountRows(const std::string& text, bool jsonLines) {
    batch::StringSource source(text);
    Count count;
    if (jsonLines) {
        batch::JsonLinesReader reader(source);
        for (;;) {
            const auto r = reader.next();
            if (r == batch::JsonLinesReader::Result::End) {
                break;
            }
            if (r == batch::JsonLinesReader::Result::Failed) {
                count.whole = false;
                break;
            }
            ++count.rows;
        }
    } else {
        batch::CsvReader reader(source);
        for (;;) {
            const auto r = reader.next();
            if (r == batch::CsvReader::Result::End) {
                break;
            }
            if (r == batch::CsvReader::Result::Failed) {
                count.whole = false;
                break;
            }
            ++count.rows;
        }
    }
    return count;
}

// The writer's CSV: comma-separated, LF line ends, quotes doubled inside quoted fields. Every
// line is a record, empty or not.
std::vector<std::vector<std::string>> SplitCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            records.push_back(std::move(fields));
            fields.assign(1, std::string());
        } else {
            fields.back() += c;
        }
    }
    Require(!quoted && fields.size() == 1 && fields[0].empty(),
            "the CSV output ends with a whole record");
    return records;
}

// The rows out, each checked; returns how many there are.
long CheckCsvOutput(const std::string& out) {
    const auto records = SplitCsv(out);
    if (records.empty()) {
        return 0;
    }
    const std::vector<std::string>& header = records.front();
    const auto column = [&](std::string_view name) {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == name) {
                return i;
            }
        }
        Require(false, "the CSV output names its result columns", name);
        return std::size_t{0};
    };
    const std::size_t fit = column("fit");
    const std::size_t upper60 = column("fit_upper_60");
    const std::size_t upper90 = column("fit_upper_90");
    const std::size_t error = column("error");
    const std::size_t notes = column("notes");
    const std::size_t warning = column("warning");
    const std::size_t firstResult = column("lambda_b");
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& row = records[r];
        Require(row.size() == header.size(), "every CSV row has the header's columns",
                "row " + std::to_string(r));
        for (std::size_t i = firstResult; i < row.size(); ++i) {
            if (i != notes && i != warning && i != error) {
                Require(!ShowsNonFinite(row[i]), "no number out is nan or inf", row[i]);
            }
        }
        const bool hasFit = !row[fit].empty();
        const bool hasBounds = !row[upper60].empty() && !row[upper90].empty();
        Require(hasFit || hasBounds || !row[error].empty(),
                "every row has a FIT, life-test bounds or an error", "row " + std::to_string(r));
    }
    return static_cast<long>(records.size()) - 1;
}

long CheckJsonOutput(const std::string& out) {
    long rows = 0;
    std::size_t begin = 0;
    while (begin < out.size()) {
        const std::size_t end = out.find('\n', begin);
        Require(end != std::string::npos, "every JSON line ends with a line feed");
        const std::string_view line(out.data() + begin, end - begin);
        begin = end + 1;
        ++rows;
        const nlohmann::json row = nlohmann::json::parse(line, nullptr, false);
        Require(row.is_object(), "every JSON line out is an object", line);
        const auto number = [&](const char* key) {
            const auto it = row.find(key);
            Require(it != row.end(), "every JSON row names its result columns", key);
            Require(it->is_null() || it->is_number(), "results are numbers or null", key);
            Require(it->is_null() || std::isfinite(it->get<double>()), "numbers out are finite",
                    key);
            return it->is_number();
        };
        const bool hasFit = number("fit");
        const bool hasBounds = number("fit_upper_60") && number("fit_upper_90");
        const auto error = row.find("error");
        const bool hasError = error != row.end() && error->is_string() &&
                              !error->get_ref<const std::string&>().empty();
        Require(hasFit || hasBounds || hasError,
                "every row has a FIT, life-test bounds or an error", line);
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quarvell::fuzz::Input input(data, size);
    const std::uint8_t settings = input.take();
    const std::string text(input.rest());
    batch::Options options;
    options.input = (settings & 1) != 0 ? batch::Format::JsonLines : batch::Format::Csv;
    options.output = (settings & 2) != 0 ? batch::Format::JsonLines : batch::Format::Csv;
    options.bothNotices = (settings & 4) != 0;

    batch::StringSource source(text, kChunks[(settings >> 3) & 7]);
    batch::StringSink sink;
    const batch::Outcome outcome = batch::Run(source, sink, options);

    const long rowsOut = options.output == batch::Format::JsonLines ? CheckJsonOutput(sink.text)
                                                                    : CheckCsvOutput(sink.text);
    Require(
        rowsOut == outcome.totals.rows, "the output has one row per row counted",
        std::to_string(rowsOut) + " rows out, " + std::to_string(outcome.totals.rows) + " counted");

    const Count count = CountRows(text, options.input == batch::Format::JsonLines);
    const bool jsonIn = options.input == batch::Format::JsonLines;
    const long rowsIn = jsonIn ? count.rows : std::max(count.rows - 1, 0L);
    if (outcome.status != batch::kExitUnusable) {
        Require(
            count.whole && outcome.totals.rows == rowsIn, "every row in gives a row out",
            std::to_string(rowsIn) + " rows in, " + std::to_string(outcome.totals.rows) + " out");
    } else {
        // Ended early: no more rows than were read, and none at all when the header was unusable.
        Require(outcome.totals.rows <= rowsIn, "no rows out beyond the rows in");
        Require(!outcome.message.empty(), "a run that ends early says why");
    }
    if (outcome.status == batch::kExitOk) {
        Require(outcome.totals.errors == 0 && outcome.totals.refused == 0,
                "a run without errors has no row refused");
    }
    return 0;
}
