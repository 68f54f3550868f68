#pragma once
// Parts described by what differs from the worked example of 10.1f, evaluated and written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/engine.h"
#include "model/engine_texts.h"

namespace quarvell::model::testing {

inline constexpr int kLevelM = 8;      // 1.000%/kPcHr Exponent 'M'
inline constexpr int kUnder01Ohm = 5;  // (<0.1 Ohms/V)

// The worked example: 10 uF, 10 V rated, 5 V applied at 50 degC, level M, G(B), (<0.1 Ohms/V),
// rated +125 degC.
struct Given {
    std::string_view type = "10.1f";
    std::int16_t rating = 125;
    float cap = 10;
    float volt = 10;
    float app = 5;
    float temp = 50;
    int level = kLevelM;  // kRateLevel and kLifeTestLevel take rate and test
    float rate = 0;
    LifeTest test;
    int env = 0;
    int option = kUnder01Ohm;
    std::optional<float> piV;  // the polymer types' list entry (.8, .9) unless given
    std::string_view typeNote;
};

inline Part MakePart(const Given& s) {
    Part p{.type = FindType(s.type),
           .tempRating = s.rating,
           .capacitance = s.cap,
           .ratedVoltage = s.volt,
           .appliedVoltage = s.app,
           .temperature = s.temp,
           .environment = s.env,
           .option = s.option};
    p.quality.kind = s.level == kLifeTestLevel ? Quality::Kind::LifeTest
                     : s.level == kRateLevel   ? Quality::Kind::Rate
                                               : Quality::Kind::Level;
    p.quality.level = s.level;
    p.quality.rate = s.rate;
    p.quality.test = s.test;
    if (p.type != nullptr && p.type->polymer()) {
        p.piVDenominator = s.piV.value_or(s.type == "10.1k" ? 0.9F : 0.8F);
    }
    return p;
}

struct Evaluated {
    explicit Evaluated(const Given& s, const NumberLocale& locale = kPeriodLocale)
        : e(Evaluate(MakePart(s))), t(TextsOf(e, locale, s.typeNote)) {}
    Evaluation e;
    Texts t;
};

using Lines = std::vector<std::string>;

// The note block's lines, split at CR LF.
inline Lines NoteLines(const std::string& note) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t at; (at = note.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(note.substr(start, at - start));
    }
    lines.push_back(note.substr(start));
    return lines;
}

}  // namespace quarvell::model::testing
