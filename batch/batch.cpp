#include "batch/batch.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "batch/csv_reader.h"
#include "batch/evaluate.h"
#include "batch/jsonl_reader.h"
#include "batch/values.h"
#include "batch/writer.h"

namespace quarvell::batch {

namespace {

constexpr long kProgressRows = 1 << 16;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    std::string s(name);
    for (char& c : s) {
        c = Lower(c);
    }
    return s;
}

// Columns the batch writes itself: an input column of that name is an earlier run's result and
// gives way to this run's value.
bool IsOutputName(std::string_view name) {
    const std::string folded = Folded(name);
    for (std::size_t i = 0; i < kOutputCount; ++i) {
        if (folded == OutputName(static_cast<Output>(i))) {
            return true;
        }
    }
    return false;
}

std::vector<Output> ActiveOutputs(bool both) {
    std::vector<Output> outputs;
    for (std::size_t i = 0; i < kOutputCount; ++i) {
        const auto o = static_cast<Output>(i);
        if (both || !IsNoticeComparison(o)) {
            outputs.push_back(o);
        }
    }
    return outputs;
}

// The columns a list's header (or its first JSON object) names.
struct Header {
    std::vector<std::string> names;
    std::array<int, kColumnCount> known{};  // input position of each known column, or -1
    std::vector<std::size_t> kept;          // positions carried to the output
    std::vector<std::string_view> keptNames;
};

// Nothing, or why the header cannot be used.
std::optional<std::string> ReadHeader(Header& h) {
    h.known.fill(-1);
    std::vector<std::string> folded;
    for (std::size_t i = 0; i < h.names.size(); ++i) {
        if (Folded(h.names[i]).empty()) {
            h.names[i] = "column_" + std::to_string(i + 1);
        }
        folded.push_back(Folded(h.names[i]));
        for (std::size_t j = 0; j < i; ++j) {
            if (folded[j] == folded[i]) {
                std::string m = "the header names the column '";
                AppendQuoted(m, h.names[i]);
                return m + "' twice";
            }
        }
        if (const std::optional<Column> c = FindColumn(h.names[i])) {
            h.known[static_cast<std::size_t>(*c)] = static_cast<int>(i);
        } else if (IsOutputName(h.names[i])) {
            continue;
        }
        h.kept.push_back(i);
    }
    std::string missing;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (IsRequired(static_cast<Column>(c)) && h.known[c] < 0) {
            missing += missing.empty() ? "" : ", ";
            missing += ColumnName(static_cast<Column>(c));
        }
    }
    if (!missing.empty()) {
        std::string m = "the header lacks the required column";
        m += missing.find(',') == std::string::npos ? " " : "s ";
        m += missing;
        m += " (it names: ";
        for (std::size_t i = 0; i < h.names.size() && i < 12; ++i) {
            m += i == 0 ? "'" : ", '";
            AppendQuoted(m, h.names[i]);
            m += "'";
        }
        m += h.names.size() > 12 ? ", ...)" : ")";
        return m;
    }
    for (const std::size_t i : h.kept) {
        h.keptNames.emplace_back(h.names[i]);
    }
    return std::nullopt;
}

class Runner {
  public:
    Runner(ByteSink& sink, const Options& options)
        : options_(options), out_(sink), evaluator_(options.bothNotices) {
        std::vector<Output> outputs = ActiveOutputs(options.bothNotices);
        if (options.output == Format::Csv) {
            writer_ = std::make_unique<CsvWriter>(out_, std::move(outputs));
        } else {
            writer_ = std::make_unique<JsonWriter>(out_, std::move(outputs));
        }
    }

    Outcome csv(ByteSource& in);
    Outcome jsonLines(ByteSource& in);

  private:
    // Reads, evaluates and writes one row; false once the output cannot be written.
    bool row(std::span<const Cell> cells, const RowValues& values, bool decimalComma,
             const std::string& problem);
    Outcome end(std::optional<std::string> unusable = std::nullopt);
    Outcome writeFailure() {
        return {.status = kExitUnusable,
                .message = "cannot write the output: " + out_.error(),
                .totals = totals_};
    }

    const Options& options_;
    OutputBuffer out_;
    std::unique_ptr<RowWriter> writer_;
    RowEvaluator evaluator_;
    RowResult result_;
    PartRow part_;
    Totals totals_;
    // The row's own columns as they stand in a CSV input, where they can be copied so.
    std::optional<std::string_view> verbatim_;
};

bool Runner::row(std::span<const Cell> cells, const RowValues& values, bool decimalComma,
                 const std::string& problem) {
    const long number = ++totals_.rows;
    if (!problem.empty()) {
        result_.clear();
        result_.error = "row " + std::to_string(number) + ": " + problem;
    } else if (const std::optional<ValueError> e = ReadRow(values, decimalComma, part_)) {
        result_.clear();
        AppendRowError(result_.error, number, *e);
    } else {
        evaluator_.evaluate(part_, values, number, result_);
    }
    if (options_.output == Format::JsonLines) {
        for (const Cell& cell : cells) {
            if (cell.kind == Cell::Kind::Text && !IsUtf8(cell.text)) {
                result_.error += result_.error.empty() ? "" : "; ";
                result_.error += "row " + std::to_string(number) + ": column '";
                AppendQuoted(result_.error, cell.name);
                result_.error += "' is not UTF-8 text; its other bytes are written as U+FFFD";
            }
        }
    }
    // A row whose text lost bytes is still a part evaluated: it counts in the totals, and its
    // error in the exit status.
    totals_.errors += result_.error.empty() ? 0 : 1;
    if (!result_.evaluated) {
        ++totals_.refused;
    } else {
        if (result_.hasFit) {
            totals_.fit += result_.quantity * static_cast<double>(result_[Output::Fit]);
        } else {
            ++totals_.withoutFit;
        }
        for (std::size_t i = 0; i < 2 && options_.bothNotices; ++i) {
            if (result_.hasNoticeFit[i]) {
                totals_.noticeFit[i] +=
                    result_.quantity * static_cast<double>(result_.noticeFit[i]);
            } else {
                ++totals_.noticeMissing[i];
            }
        }
    }
    writer_->row(cells, result_, verbatim_);
    if (options_.progress && totals_.rows % kProgressRows == 0) {
        options_.progress(totals_.rows);
    }
    return out_.ok();
}

Outcome Runner::end(std::optional<std::string> unusable) {
    Outcome o{.totals = totals_};
    if (!out_.finish()) {
        return writeFailure();
    }
    if (unusable) {
        o.status = kExitUnusable;
        o.message = std::move(*unusable);
        return o;
    }
    o.status = totals_.errors > 0 ? kExitRowErrors : kExitOk;
    return o;
}

Outcome Runner::csv(ByteSource& in) {
    CsvReader reader(in);
    const CsvReader::Result first = reader.next();
    if (first == CsvReader::Result::Failed) {
        return end(reader.error());
    }
    if (first == CsvReader::Result::End) {
        return end("the input is empty: a header line naming the columns is needed");
    }
    if (reader.fieldCount() > CsvReader::kMaxFields) {
        return end("the header has more than " + std::to_string(CsvReader::kMaxFields) +
                   " columns");
    }
    Header h;
    h.names.assign(reader.fields().begin(), reader.fields().end());
    if (std::optional<std::string> problem = ReadHeader(h)) {
        return end(std::move(problem));
    }
    writer_->header(h.keptNames);
    const bool decimalComma = reader.separator() == ';';
    std::vector<Cell> cells(h.kept.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        cells[i].name = h.keptNames[i];
    }
    // The known columns by their position, for the rows that have every field.
    std::vector<std::pair<std::size_t, std::size_t>> knownAt;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (h.known[c] >= 0) {
            knownAt.emplace_back(c, static_cast<std::size_t>(h.known[c]));
        }
    }
    // Every column carried, in its order: a plain row's columns are copied as one text.
    const bool allKept = h.kept.size() == h.names.size();
    const bool csvOut = options_.output == Format::Csv;
    RowValues values;
    std::string problem;
    for (;;) {
        const CsvReader::Result r = reader.next();
        if (r == CsvReader::Result::End) {
            break;
        }
        if (r == CsvReader::Result::Failed) {
            return end("row " + std::to_string(totals_.rows + 1) + ": " + reader.error());
        }
        const std::span<const std::string_view> fields = reader.fields();
        const auto field = [&](std::size_t i) {
            return i < fields.size() ? fields[i] : std::string_view();
        };
        problem.clear();
        if (reader.fieldCount() != h.names.size()) {
            problem = "has " + std::to_string(reader.fieldCount()) +
                      " fields where the header has " + std::to_string(h.names.size());
        } else if (reader.strayQuote()) {
            problem = "has a quote inside a field that is not quoted, or after a closing quote";
        }
        // Unquoted fields of a comma-separated list cannot hold what CSV quotes.
        const bool plain = reader.plain() && !decimalComma;
        verbatim_ = std::nullopt;
        if (csvOut && plain && allKept && reader.fieldCount() == h.names.size()) {
            const char* const from = fields.front().data();
            verbatim_ = std::string_view(
                from, static_cast<std::size_t>(fields.back().data() + fields.back().size() - from));
        }
        if (fields.size() == h.names.size()) {
            for (const auto& [c, i] : knownAt) {
                values[c] = fields[i];
            }
            // The writer takes the verbatim text where there is one.
            for (std::size_t i = 0; i < cells.size() && !verbatim_; ++i) {
                cells[i].text = fields[h.kept[i]];
                cells[i].plain = plain;
            }
        } else {
            for (std::size_t c = 0; c < kColumnCount; ++c) {
                values[c] = h.known[c] < 0 ? std::nullopt
                                           : std::optional<std::string_view>(
                                                 field(static_cast<std::size_t>(h.known[c])));
            }
            for (std::size_t i = 0; i < cells.size(); ++i) {
                cells[i].text = field(h.kept[i]);
                cells[i].plain = plain;
            }
        }
        if (!row(cells, values, decimalComma, problem)) {
            return writeFailure();
        }
    }
    return end();
}

Outcome Runner::jsonLines(ByteSource& in) {
    JsonLinesReader reader(in);
    JsonLinesReader::Result r = reader.next();
    if (r == JsonLinesReader::Result::Failed) {
        return end(reader.error());
    }
    if (r == JsonLinesReader::Result::End) {
        return end("the input is empty: no JSON object names the columns");
    }
    if (r == JsonLinesReader::Result::NotObject) {
        return end("the first line " + reader.problem() + "; its keys would name the columns");
    }
    Header h;
    for (const auto& item : reader.object().items()) {
        h.names.push_back(item.key());
    }
    if (std::optional<std::string> problem = ReadHeader(h)) {
        return end(std::move(problem));
    }
    const bool csvOut = options_.output == Format::Csv;
    writer_->header(h.keptNames);

    std::vector<Cell> cells;
    std::vector<std::string> dumps;  // the JSON text of values that are not strings
    std::array<std::string, kColumnCount> texts;
    RowValues values;
    std::string problem;
    for (;; r = reader.next()) {
        if (r == JsonLinesReader::Result::End) {
            break;
        }
        if (r == JsonLinesReader::Result::Failed) {
            return end("row " + std::to_string(totals_.rows + 1) + ": " + reader.error());
        }
        problem.clear();
        values.fill(std::nullopt);
        cells.clear();
        dumps.clear();
        if (r == JsonLinesReader::Result::NotObject) {
            problem = reader.problem();
            for (std::size_t i = 0; csvOut && i < h.keptNames.size(); ++i) {
                cells.push_back({.name = h.keptNames[i], .kind = Cell::Kind::Null});
            }
            if (!row(cells, values, false, problem)) {
                return writeFailure();
            }
            continue;
        }
        const nlohmann::ordered_json& object = reader.object();
        // One dump at most per key, so the views into them stay valid.
        dumps.reserve(object.size());
        const auto cellOf = [&](std::string_view name, const nlohmann::ordered_json& v) {
            Cell cell{.name = name};
            if (v.is_string()) {
                cell.text = v.get_ref<const std::string&>();
            } else if (v.is_null()) {
                cell.kind = Cell::Kind::Null;
            } else {
                dumps.push_back(v.dump());
                cell.text = dumps.back();
                cell.kind = Cell::Kind::Json;
            }
            return cell;
        };
        const auto addProblem = [&](const std::string& text) {
            if (problem.empty()) {
                problem = text;
            }
        };
        for (const auto& item : object.items()) {
            const std::string& key = item.key();
            const nlohmann::ordered_json& v = item.value();
            const std::optional<Column> column = FindColumn(key);
            if (column) {
                const auto i = static_cast<std::size_t>(*column);
                if (values[i]) {
                    addProblem("names the column " + std::string(ColumnName(*column)) + " twice");
                }
                if (v.is_string()) {
                    values[i] = v.get_ref<const std::string&>();
                } else if (v.is_number()) {
                    texts[i] = v.dump();
                    values[i] = texts[i];
                } else if (v.is_null()) {
                    values[i] = std::string_view();
                } else {
                    addProblem(std::string(ColumnName(*column)) + " is not a text or a number");
                }
            }
            if (IsOutputName(key)) {
                continue;
            }
            if (!csvOut) {
                cells.push_back(cellOf(key, v));
            } else if (!column && std::find(h.keptNames.begin(), h.keptNames.end(), key) ==
                                      h.keptNames.end()) {
                std::string text = "key '";
                AppendQuoted(text, key);
                addProblem(text +
                           "' is not among the first line's keys, so the CSV output has no "
                           "column for it");
            }
        }
        if (csvOut) {
            for (const std::string_view name : h.keptNames) {
                const auto it = object.find(std::string(name));
                cells.push_back(it == object.end() ? Cell{.name = name, .kind = Cell::Kind::Null}
                                                   : cellOf(name, *it));
            }
        }
        if (!row(cells, values, false, problem)) {
            return writeFailure();
        }
    }
    return end();
}

}  // namespace

Format FormatOfName(std::string_view path) {
    const std::string folded = Folded(path);
    return folded.ends_with(".jsonl") ? Format::JsonLines : Format::Csv;
}

Outcome Run(ByteSource& in, ByteSink& out, const Options& options) {
    Runner runner(out, options);
    return options.input == Format::Csv ? runner.csv(in) : runner.jsonLines(in);
}

}  // namespace quarvell::batch
