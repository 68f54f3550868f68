#pragma once
// The calculator state: every input of the failure-rate calculation, every result, and the
// window-wide flags that the handlers share. It lives as long as the window; a
// recalculation overwrites only what it computes.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarvell::model {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kNotePrefix = "NOTE: ";

struct CalcInputs {
    std::int16_t Notice = 0;  // 1 or 2
    std::string TypeCode;     // "10.4" ... "10.15b", "10.1b" ... "10.1k"
    std::int16_t TempRating = 0;
    float RatedVoltage = 0;
    float Capacitance = 0;  // microfarads
    float AppVoltage = 0;
    float AppTemp = 0;  // degrees C
    int FrLevel = 0;
    float EnteredRate = 0;  // %/kPcHrs
    float TestPieces = 0;
    float TestHours = 0;
    float TestFailures = 0;
    bool TestFailuresEntered = false;  // 0 failures is a result only once entered
    float LifeBias = 0;                // multiple of the rated voltage
    int EnvIndex = 0;
    bool ResListVisible = false;
    int ResIndex = 0;
    std::string PiVDenominatorText;
    std::string PendingNote;
    std::int16_t VoltSteps = 0;
    bool DecimalIsPoint = true;
};

struct CalcResults {
    float Base = 0;
    float PiT = 0;
    float PiV = 0;
    float PiCV = 0;
    float PiSR = 0;
    float PiConst = 0;
    float PiQ = 0;
    float PiE = 0;
    float FailureRate = 0;  // %/kPcHrs
    float Fit = 0;          // failures per 10^9 piece-hours
    float DeratedVoltage = 0;
    std::int16_t TempLimit = 0;
    std::string NoteText;
    // The last recalculation that ran to its end gave a finite FIT above 0: what printing
    // (and anything else that reports a result) needs.
    bool Usable = false;
};

struct CalcState {
    CalcInputs in;
    CalcResults out;
    // While set, Recalculate returns at once and the handlers that test it do nothing.
    bool SuspendRecalc = false;
    // Put before the next note line: "NOTE: " before the first, CR LF before later ones.
    std::string NoteSeparator;
    // Prompt of the re-entry input boxes, then their answer.
    std::string InputPrompt;
};

inline void SuspendRecalculation(CalcState& s) {
    s.SuspendRecalc = true;
}
inline void ResumeRecalculation(CalcState& s) {
    s.SuspendRecalc = false;
}

}  // namespace quarvell::model
