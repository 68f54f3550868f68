#pragma once
// What the harnesses share: a rule that must hold, checked in every build (not only with
// assertions on), and the first bytes of an input read as settings.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quarvell::fuzz {

// A broken rule ends the run with its reason, so that libFuzzer keeps the input as a crash.
inline void Require(bool holds, std::string_view rule, std::string_view detail = {}) {
    if (!holds) {
        std::fprintf(stderr, "rule broken: %.*s\n  %.*s\n", static_cast<int>(rule.size()),
                     rule.data(), static_cast<int>(detail.size()), detail.data());
        std::abort();
    }
}

// The input as settings bytes in front of a text: missing settings bytes read as 0.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}
    std::uint8_t take() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return static_cast<std::uint8_t>(*data_++);
    }
    std::string_view rest() const { return {data_, size_}; }

  private:
    const char* data_;
    std::size_t size_;
};

// Whether the text holds "nan" or "inf" as a word of its own, in any case ("-inf", "NaN",
// "1.#INF"), the way a number that is none shows; "Info" or "finance" do not count.
inline bool ShowsNonFinite(std::string_view text) {
    const auto letter = [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
    const auto lower = [](char c) { return static_cast<char>(c | 0x20); };
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        if (i > 0 && letter(text[i - 1])) {
            continue;
        }
        const char a = lower(text[i]);
        const char b = lower(text[i + 1]);
        const char c = lower(text[i + 2]);
        const bool nan = a == 'n' && b == 'a' && c == 'n';
        const bool inf = a == 'i' && b == 'n' && c == 'f';
        if (!nan && !inf) {
            continue;
        }
        std::size_t end = i + 3;
        if (inf && text.substr(i).size() >= 8) {
            // "infinity"
            bool word = true;
            const std::string_view rest = "inity";
            for (std::size_t k = 0; k < rest.size(); ++k) {
                word = word && lower(text[i + 3 + k]) == rest[k];
            }
            end = word ? i + 8 : end;
        }
        if (end == text.size() || !letter(text[end])) {
            return true;
        }
    }
    return false;
}

}  // namespace quarvell::fuzz
