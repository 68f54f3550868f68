#include "model/engine_texts.h"

#include <cmath>

#include "model/number_text.h"

namespace quarvell::model {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNotePrefix = "NOTE: ";
constexpr std::string_view kOutOfRange = "Out of range";

// The note block being written: a line goes after the separator, which then becomes CR LF.
class NoteBlock {
  public:
    NoteBlock(std::string start, std::string_view separator)
        : text_(std::move(start)), separator_(separator) {}
    void line(std::string_view t) {
        keepingSeparator(t);
        separator_ = kCrLf;
    }
    void keepingSeparator(std::string_view t) {
        text_.append(separator_);
        text_.append(t);
    }
    void breakLine() { separator_ = kCrLf; }
    std::string& text() { return text_; }
    std::string_view separator() const { return separator_; }

  private:
    std::string text_;
    std::string_view separator_;
};

class Writer {
  public:
    Writer(const Evaluation& evaluation, const NumberLocale& locale)
        : e(evaluation), in(evaluation.part), m(evaluation.part.type->model), loc(locale) {}

    std::string general(float v) const { return GeneralText(v, loc); }
    std::string format(double v, std::string_view pattern) const {
        return FormatPattern(v, pattern, loc);
    }
    // A factor's value in its pattern, or "Out of range".
    std::string value(Quantity q, float v, std::string_view pattern) const {
        return e.has(q) ? format(v, pattern) : std::string(kOutOfRange);
    }
    static std::string join(std::string_view a, std::string b) {
        b.insert(0, a);
        return b;
    }

    void captions(Texts& t) const;
    void notice2Captions(Texts& t) const;
    void notice1Captions(Texts& t) const;
    std::string derivedRate() const;
    std::string note(std::string_view typeNote, Texts& t) const;

    const Evaluation& e;
    const Part& in;
    const TypeModel& m;
    const NumberLocale& loc;
};

void Writer::notice2Captions(Texts& t) const {
    t.base = join("Base = ", general(e.base));
    t.piCV = "PI(CV) = 1.0 x uF^(" + general(m.capExponent) +
             ") = " + value(Quantity::PiCV, e.piCV, "##0.000");
    // One decimal for the list's entries, up to three for a denominator typed (0.75).
    t.piV = "PI(V) = [(S/" + format(e.piVDenominator, "0.0##") + ")^" + general(m.voltExponent) +
            "]+1 = " + value(Quantity::PiV, e.piV, "##,##0.000");
    t.piT = "PI(T) = Exp[" + general(-m.activationEnergy) +
            "/(8.617E-5) x (1/Tamb - 1/298)] = " + value(Quantity::PiT, e.piT, "#,##0.000");
    t.stress = join("S = AppV/RatedV = ", format(e.stress, "#0.00"));
}

void Writer::notice1Captions(Texts& t) const {
    t.base = std::string(m.baseCaption);
    t.piCV = join(m.cv.caption, value(Quantity::PiCV, e.piCV, "##0.000"));
    t.piV = join(m.v.caption, value(Quantity::PiV, e.piV, "##,##0.000"));
    const std::string kelvin =
        e.appKelvinFits ? std::to_string(e.appKelvin)
                        : general(static_cast<float>(static_cast<double>(in.temperature) + 273));
    t.piT = std::string(m.t.prefix) + kelvin + "/" + general(e.ratingKelvin) +
            std::string(m.t.suffix) + value(Quantity::PiT, e.piT, "#,##0.000");
    t.stress = join("S = AppV/RatedV = ", format(e.stress, m.sScientific ? "0.00E+00" : "#0.00"));
}

void Writer::captions(Texts& t) const {
    if (in.type->notice == Notice::Two) {
        notice2Captions(t);
    } else {
        notice1Captions(t);
    }
    t.formula = std::string(m.formula) + std::string(m.styleSuffix);
    t.piE = join("PI(E) = Lookup Env.= ",
                 e.has(Quantity::PiE) ? general(e.piE) : std::string(kOutOfRange));
    if (e.missingRate == MissingRate::LifeTestIncomplete) {
        t.piQ = "PI(Q) = SQR(%/kPcHrs) = ";
    } else {
        t.piQ = join("PI(Q) = SQR(%/kPcHrs) = ", value(Quantity::PiQ, e.piQ, "###0.000"));
    }
    t.failureRateCaption = "Failure Rate %/kPcHrs @" + std::to_string(in.tempRating) + "\u00B0C+Vr";
    if (in.type->option == OptionList::CircuitResistance) {
        t.piSR = join("PI(SR) = Lookup = ",
                      e.has(Quantity::PiSR) ? general(e.piSR) : std::string(kOutOfRange));
    } else if (in.type->option == OptionList::Construction) {
        t.piSR = join("PI(Const) = Construction Type = ",
                      e.has(Quantity::PiConst) ? general(e.piConst) : std::string(kOutOfRange));
    }
    if (e.derated) {
        t.derated = general(e.deratedVoltage);
    }
    t.stressRed = (e.derated && m.redWhenDerated) || e.deratedVoltage < in.ratedVoltage;
    t.piVList = in.type->polymer();
}

std::string Writer::derivedRate() const {
    if (e.missingRate != MissingRate::None) {
        return std::string();
    }
    const float rate = e.failureRate;
    if (!e.has(Quantity::FailureRate) || !std::isfinite(rate)) {
        return std::string(kOutOfRange);
    }
    if (rate >= 0.1F) {
        return format(rate, "#0.00\\%/kPcHr");
    }
    if (rate >= 0.01F) {
        return format(rate, "0.00\\%/kPcHr");
    }
    if (rate >= 0.001F) {
        return format(rate, "0.000\\%/kPcHr");
    }
    return format(static_cast<double>(rate) * 1000, "##0.00PPM/kPcHr");
}

std::string Writer::note(std::string_view typeNote, Texts& t) const {
    NoteBlock block = m.replacementNote.empty()
                          ? NoteBlock(std::string(typeNote), typeNote.empty() ? kNotePrefix : kCrLf)
                          : NoteBlock(std::string(m.replacementNote), kCrLf);
    if (e.derated) {
        if (m.derateNote == DeratingNote::Applied) {
            block.line("Voltage-Derating applied in Temperature Range (>" +
                       std::to_string(m.derateAbove) + ") - 'S' calc appears in red.");
        } else if (m.derateNote == DeratingNote::InRange) {
            block.line("Voltage is in Temperature derating Range (>" +
                       std::to_string(m.derateAbove) + ") - 'S' calc appears in red.");
        }
        block.breakLine();
    }
    if (e.missingRate != MissingRate::None) {
        block.line(MissingRateNote(e.missingRate));
    }
    if (e.deratedVoltage < in.ratedVoltage) {
        block.keepingSeparator(
            "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated Voltage.");
    }
    switch (e.warning) {
        case Warning::None:
            break;
        case Warning::TemperatureAndVoltage:
            block.line("WARNING: Application is higher than rated temperature(" +
                       std::to_string(in.tempRating) + ") and voltage(" +
                       general(e.deratedVoltage) + ")!");
            break;
        case Warning::Voltage:
            block.line("WARNING: Application voltage (" + general(in.appliedVoltage) +
                       ") is above rated voltage (" + general(e.deratedVoltage) + ").");
            break;
        case Warning::Temperature:
            block.line("WARNING: Application temperature (" + general(in.temperature) +
                       ") may be above maximum temperature (" + std::to_string(e.tempLimit) + ").");
            break;
    }
    if (e.firstOutOfRange != Quantity::None) {
        block.line("WARNING: Out of range - " + std::string(QuantityName(e.firstOutOfRange)) +
                   " is not a finite number for these inputs, so FIT and MTBF cannot be shown.");
    }
    t.noteSeparator = std::string(block.separator());
    return std::move(block.text());
}

}  // namespace

Texts TextsOf(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote) {
    Texts t;
    if (e.refusal != Refusal::None) {
        return t;
    }
    const Writer w(e, locale);
    w.captions(t);
    if (e.part.quality.kind == Quality::Kind::LifeTest) {
        t.derivedRate = w.derivedRate();
    }
    t.note = w.note(typeNote, t);
    // An MTBF is shown only beside the FIT it belongs to.
    if (e.firstOutOfRange != Quantity::None) {
        t.fit = kOutOfRange;
        t.mtbf = kOutOfRange;
    } else if (e.missingRate == MissingRate::None) {
        t.fit = FormatFit(e.fit, locale);
        if (e.fit != 0) {
            t.mtbf = FormatMtbf(static_cast<float>(static_cast<double>(e.fit) / 1e9), locale);
        }
    }
    return t;
}

std::string TypeNote(const CapacitorType& type) {
    std::string note;
    std::string_view separator = kNotePrefix;
    for (const NotePiece& piece : type.notes) {
        if (piece.kind == NotePiece::Kind::Line) {
            note.append(separator);
            separator = kCrLf;
        } else if (piece.kind != NotePiece::Kind::Suffix) {
            continue;
        }
        note.append(piece.text);
    }
    return note;
}

}  // namespace quarvell::model
