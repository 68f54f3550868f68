// Key sequences: whatever the text, the options and the keyboard as found, the sender leaves no
// key pressed and every lock as it was (but those the options say to leave as the text left
// them), on both platform families.
//
// Input: a settings byte (bit 0: the older family; bits 1 to 3: Caps Lock, Num Lock and Scroll
// Lock on at the start), two bytes of options (a 16-bit integer, low byte first), then the
// text.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "keysend/keysend.h"
#include "keysend/recording_port.h"

namespace {

using quarvell::fuzz::Require;
using quarvell::keysend::RecordingPort;

// A repeat count multiplies a text's work by up to a thousand; longer texts add no paths.
constexpr std::size_t kMaxText = 2048;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quarvell::fuzz::Input input(data, size);
    const std::uint8_t settings = input.take();
    const std::uint8_t low = input.take();
    const std::uint8_t high = input.take();
    const auto options = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
    const std::string_view text = input.rest();
    if (text.size() > kMaxText) {
        return 0;
    }

    const RecordingPort::Locks before{(settings & 2) != 0, (settings & 4) != 0,
                                      (settings & 8) != 0};
    RecordingPort port(
        (settings & 1) != 0 ? RecordingPort::Family::Older : RecordingPort::Family::Newer, before);
    quarvell::keysend::SendKeySequence(port, text, options);

    const auto down = port.keysDown();
    Require(down.empty(), "no key is left pressed",
            down.empty() ? "" : "key code " + std::to_string(down.begin()->first));

    const std::string optionText = std::to_string(options);
    const auto kept = [&](char digit) { return optionText.find(digit) != std::string::npos; };
    const RecordingPort::Locks after = port.locks();
    Require(kept('2') || after.capsLock == before.capsLock, "Caps Lock is as it was");
    Require(kept('3') || after.numLock == before.numLock, "Num Lock is as it was");
    Require(kept('4') || after.scrollLock == before.scrollLock, "Scroll Lock is as it was");
    return 0;
}
