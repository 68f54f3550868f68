#pragma once
// quarvell-batch: a parts list in, every factor, the FIT and the MTBF of each part out, and the
// totals of the list. The list streams through: a record is read (csv_reader.h,
// jsonl_reader.h), its values read into an engine part (values.h), evaluated (evaluate.h) and
// written with the input's own columns in front (writer.h), one row at a time, so memory stays
// flat however long the list. A row that cannot be evaluated carries its error and the run goes
// on; an input that cannot be read as a list, or an output that cannot be written, ends it.

#include <functional>
#include <string>
#include <string_view>

#include "batch/io.h"

namespace quarvell::batch {

enum class Format { Csv, JsonLines };

struct Options {
    Format input = Format::Csv;
    Format output = Format::Csv;
    bool bothNotices = false;
    // Called now and then with the rows read so far.
    std::function<void(long rows)> progress;
};

struct Totals {
    long rows = 0;
    long refused = 0;         // rows not evaluated
    long errors = 0;          // rows with an error: the refused ones, and text JSON cannot carry
    long withoutFit = 0;      // evaluated, but with no FIT (a life test without failures)
    double fit = 0;           // sum of quantity x FIT: the parts in series
    double noticeFit[2]{};    // the same for Notice 1 and Notice 2, with both Notices
    long noticeMissing[2]{};  // rows without a FIT under that Notice
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitRowErrors = 1;
inline constexpr int kExitUnusable = 2;

struct Outcome {
    int status = kExitOk;
    std::string message;  // why the run ended early (status 2)
    Totals totals;
};

// The format a file name suggests: JSON Lines for ".jsonl", CSV for anything else.
Format FormatOfName(std::string_view path);

Outcome Run(ByteSource& in, ByteSink& out, const Options& options);

}  // namespace quarvell::batch
