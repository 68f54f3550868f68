#include "model/engine_texts.h"

#include <array>
#include <charconv>
#include <cmath>

#include "model/calc_state.h"
#include "model/number_text.h"

namespace quarvell::model {

namespace {

constexpr std::string_view kOutOfRange = "Out of range";

constexpr NumberPattern kFactor{"##0.000"};
constexpr NumberPattern kVoltageFactor{"##,##0.000"};
constexpr NumberPattern kTemperatureFactor{"#,##0.000"};
constexpr NumberPattern kQualityFactor{"###0.000"};
constexpr NumberPattern kStress{"#0.00"};
constexpr NumberPattern kStressScientific{"0.00E+00"};
// One decimal for the PI(V) list's entries, up to three for a denominator typed (0.75).
constexpr NumberPattern kDenominator{"0.0##"};
constexpr NumberPattern kRate{"#0.00\\%/kPcHr"};
constexpr NumberPattern kSmallRate{"0.00\\%/kPcHr"};
constexpr NumberPattern kSmallerRate{"0.000\\%/kPcHr"};
constexpr NumberPattern kPpmRate{"##0.00PPM/kPcHr"};

// The general texts of a Notice 2 type's constants, written once with a period.
struct ConstantTexts {
    std::string base;
    std::string capExponent;
    std::string voltExponent;
    std::string activation;
};

const ConstantTexts& ConstantsOf(const CapacitorType& type) {
    static const std::array<ConstantTexts, 10> table = [] {
        std::array<ConstantTexts, 10> texts;
        for (const CapacitorType& t : TypesOf(Notice::Two)) {
            const TypeModel& m = t.model;
            texts[static_cast<std::size_t>(PositionOf(t))] = {
                GeneralText(m.base, kPeriodLocale), GeneralText(m.capExponent, kPeriodLocale),
                GeneralText(m.voltExponent, kPeriodLocale),
                GeneralText(-m.activationEnergy, kPeriodLocale)};
        }
        return texts;
    }();
    return table[static_cast<std::size_t>(PositionOf(type))];
}

// Writes a text piece by piece into a string that keeps its storage.
class Builder {
  public:
    Builder(std::string& target, const NumberLocale& loc) : text_(target), loc_(loc) {
        text_.clear();
    }
    Builder& operator<<(std::string_view piece) {
        text_.append(piece);
        return *this;
    }
    Builder& operator<<(int n) {
        char buffer[16];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, n);
        text_.append(buffer, r.ptr);
        return *this;
    }
    // A general text written with a period, in the locale's separator.
    Builder& localized(std::string_view periodText) {
        const std::size_t start = text_.size();
        text_.append(periodText);
        if (loc_.decimal != '.') {
            const std::size_t point = text_.find('.', start);
            if (point != std::string::npos) {
                text_[point] = loc_.decimal;
            }
        }
        return *this;
    }
    Builder& general(float v) {
        AppendGeneral(text_, v, loc_);
        return *this;
    }
    Builder& number(double v, const NumberPattern& pattern) {
        AppendFormatted(text_, v, pattern, loc_);
        return *this;
    }
    // A stored value, or "Out of range".
    Builder& number(bool stored, double v, const NumberPattern& pattern) {
        return stored ? number(v, pattern) : *this << kOutOfRange;
    }
    Builder& general(bool stored, float v) { return stored ? general(v) : *this << kOutOfRange; }

  private:
    std::string& text_;
    const NumberLocale& loc_;
};

// A note line goes after the separator, which then becomes CR LF.
std::string_view NoteBlock(const Evaluation& e, const NumberLocale& loc, std::string_view typeNote,
                           std::string& target) {
    const Part& in = e.part;
    const TypeModel& m = in.type->model;
    Builder b(target, loc);
    std::string_view separator;
    if (m.replacementNote.empty()) {
        b << typeNote;
        separator = typeNote.empty() ? kNotePrefix : kCrLf;
    } else {
        b << m.replacementNote;
        separator = kCrLf;
    }
    const auto line = [&]() -> Builder& {
        b << separator;
        separator = kCrLf;
        return b;
    };
    if (e.derated) {
        if (m.derateNote == DeratingNote::Applied) {
            line() << "Voltage-Derating applied in Temperature Range (>" << m.derateAbove
                   << ") - 'S' calc appears in red.";
        } else if (m.derateNote == DeratingNote::InRange) {
            line() << "Voltage is in Temperature derating Range (>" << m.derateAbove
                   << ") - 'S' calc appears in red.";
        }
        separator = kCrLf;
    }
    if (e.missingRate != MissingRate::None) {
        line() << MissingRateNote(e.missingRate);
    }
    if (e.deratedVoltage < in.ratedVoltage) {
        // Appended without moving the separator on.
        b << separator
          << "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated "
             "Voltage.";
    }
    switch (e.warning) {
        case Warning::None:
            break;
        case Warning::TemperatureAndVoltage:
            (line() << "WARNING: Application is higher than rated temperature(" << in.tempRating
                    << ") and voltage(")
                    .general(e.deratedVoltage)
                << ")!";
            break;
        case Warning::Voltage:
            (line() << "WARNING: Application voltage (").general(in.appliedVoltage)
                << ") is above rated voltage (";
            b.general(e.deratedVoltage) << ").";
            break;
        case Warning::Temperature:
            (line() << "WARNING: Application temperature (").general(in.temperature)
                << ") may be above maximum temperature (" << e.tempLimit << ").";
            break;
    }
    if (e.firstOutOfRange != Quantity::None) {
        line() << "WARNING: Out of range - " << QuantityName(e.firstOutOfRange)
               << " is not a finite number for these inputs, so FIT and MTBF cannot be shown.";
    }
    return separator;
}

class Writer {
  public:
    Writer(const Evaluation& evaluation, const NumberLocale& locale, Texts& texts)
        : e(evaluation),
          in(evaluation.part),
          m(evaluation.part.type->model),
          loc(locale),
          t(texts) {}

    Builder text(std::string& target) const { return Builder(target, loc); }

    void captions() const;
    void notice2Captions() const;
    void notice1Captions() const;
    void derivedRate() const;
    void note(std::string_view typeNote) const;
    void results() const;

    const Evaluation& e;
    const Part& in;
    const TypeModel& m;
    const NumberLocale& loc;
    Texts& t;
};

void Writer::notice2Captions() const {
    const ConstantTexts& constants = ConstantsOf(*in.type);
    (text(t.base) << "Base = ").localized(constants.base);
    ((text(t.piCV) << "PI(CV) = 1.0 x uF^(").localized(constants.capExponent) << ") = ")
        .number(e.has(Quantity::PiCV), e.piCV, kFactor);
    (((text(t.piV) << "PI(V) = [(S/").number(e.piVDenominator, kDenominator) << ")^")
         .localized(constants.voltExponent)
     << "]+1 = ")
        .number(e.has(Quantity::PiV), e.piV, kVoltageFactor);
    ((text(t.piT) << "PI(T) = Exp[").localized(constants.activation)
     << "/(8.617E-5) x (1/Tamb - 1/298)] = ")
        .number(e.has(Quantity::PiT), e.piT, kTemperatureFactor);
    (text(t.stress) << "S = AppV/RatedV = ").number(e.stress, kStress);
}

void Writer::notice1Captions() const {
    text(t.base) << m.baseCaption;
    (text(t.piCV) << m.cv.caption).number(e.has(Quantity::PiCV), e.piCV, kFactor);
    (text(t.piV) << m.v.caption).number(e.has(Quantity::PiV), e.piV, kVoltageFactor);
    Builder pt = text(t.piT);
    pt << m.t.prefix;
    if (e.appKelvinFits) {
        pt << e.appKelvin;
    } else {
        pt.general(static_cast<float>(static_cast<double>(in.temperature) + 273));
    }
    (pt << "/").general(e.ratingKelvin) << m.t.suffix;
    pt.number(e.has(Quantity::PiT), e.piT, kTemperatureFactor);
    (text(t.stress) << "S = AppV/RatedV = ")
        .number(e.stress, m.sScientific ? kStressScientific : kStress);
}

void Writer::captions() const {
    if (in.type->notice == Notice::Two) {
        notice2Captions();
    } else {
        notice1Captions();
    }
    text(t.formula) << m.formula << m.styleSuffix;
    (text(t.piE) << "PI(E) = Lookup Env.= ").general(e.has(Quantity::PiE), e.piE);
    Builder pq = text(t.piQ);
    pq << "PI(Q) = SQR(%/kPcHrs) = ";
    // A test without a rate has no PI(Q) of its own.
    if (e.missingRate != MissingRate::LifeTestIncomplete &&
        e.missingRate != MissingRate::NoFailures) {
        pq.number(e.has(Quantity::PiQ), e.piQ, kQualityFactor);
    }
    text(t.failureRateCaption) << "Failure Rate %/kPcHrs @" << in.tempRating << "\u00B0C+Vr";
    t.showsPiSR = in.type->option != OptionList::None;
    if (in.type->option == OptionList::CircuitResistance) {
        (text(t.piSR) << "PI(SR) = Lookup = ").general(e.has(Quantity::PiSR), e.piSR);
    } else if (in.type->option == OptionList::Construction) {
        (text(t.piSR) << "PI(Const) = Construction Type = ")
            .general(e.has(Quantity::PiConst), e.piConst);
    }
    t.showsDerated = e.derated;
    if (e.derated) {
        text(t.derated).general(e.deratedVoltage);
    }
    t.stressRed = (e.derated && m.redWhenDerated) || e.deratedVoltage < in.ratedVoltage;
    t.piVList = in.type->polymer();
}

void Writer::derivedRate() const {
    Builder b = text(t.derivedRate);
    if (e.missingRate != MissingRate::None) {
        return;
    }
    const float rate = e.failureRate;
    if (!e.has(Quantity::FailureRate) || !std::isfinite(rate)) {
        b << kOutOfRange;
    } else if (rate >= 0.1F) {
        b.number(rate, kRate);
    } else if (rate >= 0.01F) {
        b.number(rate, kSmallRate);
    } else if (rate >= 0.001F) {
        b.number(rate, kSmallerRate);
    } else {
        b.number(static_cast<double>(rate) * 1000, kPpmRate);
    }
}

void Writer::note(std::string_view typeNote) const {
    t.noteSeparator = NoteBlock(e, loc, typeNote, t.note);
}

// An MTBF is shown only beside the FIT it belongs to.
void Writer::results() const {
    t.fit.clear();
    t.mtbf.clear();
    if (e.firstOutOfRange != Quantity::None) {
        t.fit = kOutOfRange;
        t.mtbf = kOutOfRange;
    } else if (e.missingRate == MissingRate::None) {
        AppendFit(t.fit, e.fit, loc);
        if (e.fit != 0) {
            AppendMtbf(t.mtbf, static_cast<float>(static_cast<double>(e.fit) / 1e9), loc);
        }
    }
}

}  // namespace

void WriteTexts(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote,
                Texts& out) {
    if (e.refusal != Refusal::None) {
        return;
    }
    const Writer w(e, locale, out);
    w.captions();
    out.hasDerivedRate = e.part.quality.kind == Quality::Kind::LifeTest;
    if (out.hasDerivedRate) {
        w.derivedRate();
    }
    w.note(typeNote);
    w.results();
}

void WriteNote(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote,
               std::string& out) {
    if (e.refusal != Refusal::None) {
        out.clear();
        return;
    }
    NoteBlock(e, locale, typeNote, out);
}

Texts TextsOf(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote) {
    Texts t;
    WriteTexts(e, locale, typeNote, t);
    return t;
}

std::string TypeNote(const CapacitorType& type, bool ratingForced, std::string_view& separator) {
    using Kind = NotePiece::Kind;
    std::string note;
    for (const NotePiece& piece : type.notes) {
        if (piece.kind == Kind::Line || (piece.kind == Kind::ForcedRatingLine && ratingForced)) {
            note.append(separator);
            separator = kCrLf;
        } else if (piece.kind != Kind::Suffix) {
            continue;
        }
        note.append(piece.text);
    }
    return note;
}

std::string TypeNote(const CapacitorType& type) {
    std::string_view separator = kNotePrefix;
    return TypeNote(type, false, separator);
}

}  // namespace quarvell::model
