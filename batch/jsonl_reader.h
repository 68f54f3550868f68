#pragma once
// JSON Lines in: one object per line, keys as column names, in a bounded block of memory like
// the CSV reader. Empty lines are skipped; a line that is not a JSON object is reported on its
// own and the next one is read.

#include <cstddef>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "batch/io.h"

namespace quarvell::batch {

class JsonLinesReader {
  public:
    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;

    explicit JsonLinesReader(ByteSource& source);

    enum class Result { Object, NotObject, End, Failed };
    // The next line that is not empty: an object (object()), or not one (problem() says why).
    Result next();
    const nlohmann::ordered_json& object() const { return object_; }
    const std::string& problem() const { return problem_; }
    // Why the input cannot be read on (after Failed).
    const std::string& error() const { return error_; }

  private:
    bool refill();

    ByteSource& source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool started_ = false;
    nlohmann::ordered_json object_;
    std::string problem_;
    std::string error_;
};

}  // namespace quarvell::batch
