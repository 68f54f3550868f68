#include "batch/shortest.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace quarvell::batch {

namespace {

constexpr int kSignificandBits = 24;
constexpr int kMinExponent = -149;  // of the least significant bit of a single
constexpr std::uint32_t kHiddenBit = std::uint32_t{1} << (kSignificandBits - 1);
constexpr int kMinK = -45;

// The upper 63 bits of 10^-k scaled into [2^125, 2^126) and rounded up, for the k a single
// needs (-45 to 31).
constexpr std::array<std::uint64_t, 77> kPowersOfTen{
    0x59AEDFC10D7279C5, 0x47BF19673DF52E37, 0x72CB5BD86321E38C, 0x5BD5E313828182D6,
    0x4977E8DC68679BDF, 0x758CA7C70D7292FE, 0x5E0A1FD271287598, 0x4B3B4CA85A86C47A,
    0x785EE10D5DA46D90, 0x604BE73DE4838AD9, 0x4D0985CB1D3608AE, 0x7B426FAB61F00DE3,
    0x629B8C891B267182, 0x4EE2D6D415B85ACE, 0x7E37BE2022C0914B, 0x64F964E68233A76F,
    0x50C783EB9B5C85F2, 0x409F9CBC7C4A04C2, 0x6765C793FA10079D, 0x52B7D2DCC80CD2E4,
    0x422CA8B0A00A4250, 0x69E10DE76676D080, 0x54B40B1F852BDA00, 0x43C33C1937564800,
    0x6C6B935B8BBD4000, 0x56BC75E2D6310000, 0x4563918244F40000, 0x6F05B59D3B200000,
    0x58D15E1762800000, 0x470DE4DF82000000, 0x71AFD498D0000000, 0x5AF3107A40000000,
    0x48C2739500000000, 0x746A528800000000, 0x5D21DBA000000000, 0x4A817C8000000000,
    0x7735940000000000, 0x5F5E100000000000, 0x4C4B400000000000, 0x7A12000000000000,
    0x61A8000000000000, 0x4E20000000000000, 0x7D00000000000000, 0x6400000000000000,
    0x5000000000000000, 0x4000000000000000, 0x6666666666666666, 0x51EB851EB851EB85,
    0x4189374BC6A7EF9D, 0x68DB8BAC710CB295, 0x53E2D6238DA3C211, 0x431BDE82D7B634DA,
    0x6B5FCA6AF2BD215E, 0x55E63B88C230E77E, 0x44B82FA09B5A52CB, 0x6DF37F675EF6EADF,
    0x57F5FF85E592557F, 0x465E6604B7A84465, 0x709709A125DA0709, 0x5A126E1A84AE6C07,
    0x480EBE7B9D58566C, 0x734ACA5F6226F0AD, 0x5C3BD5191B525A24, 0x49C97747490EAE83,
    0x760F253EDB4AB0D2, 0x5E72843249088D75, 0x4B8ED0283A6D3DF7, 0x78E480405D7B9658,
    0x60B6CD004AC94513, 0x4D5F0A66A23A9DA9, 0x7BCB43D769F762A8, 0x63090312BB2C4EED,
    0x4F3A68DBC8F03F24, 0x7EC3DAF941806506, 0x65697BFA9ACD1D9F, 0x51212FFBAF0A7E18,
    0x40E7599625A1FE7A,
};

int FloorLog10Pow2(int e) {
    return static_cast<int>((static_cast<std::int64_t>(e) * 661'971'961'083) >> 41);
}

int FloorLog10ThreeQuartersPow2(int e) {
    return static_cast<int>((static_cast<std::int64_t>(e) * 661'971'961'083 - 274'743'187'321) >>
                            41);
}

int FloorLog2Pow10(int e) {
    return static_cast<int>((static_cast<std::int64_t>(e) * 913'124'641'741) >> 38);
}

__extension__ using Uint128 = unsigned __int128;

// The rounded-to-odd product g cp 2^-95.
std::uint32_t RoundToOdd(std::uint64_t g, std::uint64_t cp) {
    const auto high = static_cast<std::uint64_t>((static_cast<Uint128>(g) * cp) >> 64);
    return static_cast<std::uint32_t>((high >> 31) | (((high & 0xFFFFFFFFU) + 0xFFFFFFFFU) >> 32));
}

struct Decimal {
    std::uint32_t digits;
    int exponent;  // the value is digits 10^exponent
};

// The shortest decimal in the rounding interval of c 2^q, the closest to it where several are,
// the even one of a tie. c is a normal significand (hidden bit set).
Decimal Shortest(int q, std::uint32_t c) {
    const std::uint32_t out = c & 1U;
    const std::uint64_t cb = std::uint64_t{c} << 2;
    const std::uint64_t cbr = cb + 2;
    std::uint64_t cbl = 0;
    int k = 0;
    // At a power of two the interval below is half as wide.
    if (c != kHiddenBit || q == kMinExponent) {
        cbl = cb - 2;
        k = FloorLog10Pow2(q);
    } else {
        cbl = cb - 1;
        k = FloorLog10ThreeQuartersPow2(q);
    }
    const int h = q + FloorLog2Pow10(-k) + 33;
    const std::uint64_t g = kPowersOfTen[static_cast<std::size_t>(k - kMinK)] + 1;
    const std::uint64_t vb = RoundToOdd(g, cb << h);
    const std::uint64_t vbl = RoundToOdd(g, cbl << h);
    const std::uint64_t vbr = RoundToOdd(g, cbr << h);
    const std::uint64_t s = vb >> 2;
    if (s >= 100) {
        // One digit fewer, where the interval holds exactly one such decimal.
        const std::uint64_t sp10 = 10 * ((s * 1'717'986'919) >> 34);
        const std::uint64_t tp10 = sp10 + 10;
        const bool upin = vbl + out <= sp10 << 2;
        const bool wpin = (tp10 << 2) + out <= vbr;
        if (upin != wpin) {
            return {static_cast<std::uint32_t>(upin ? sp10 : tp10), k};
        }
    }
    const std::uint64_t t = s + 1;
    const bool uin = vbl + out <= s << 2;
    const bool win = (t << 2) + out <= vbr;
    if (uin != win) {
        return {static_cast<std::uint32_t>(uin ? s : t), k};
    }
    // Both in the interval: the closer one, the even one of a tie.
    const auto cmp = static_cast<std::int64_t>(vb) - static_cast<std::int64_t>(2 * (s + t));
    return {static_cast<std::uint32_t>(cmp < 0 || (cmp == 0 && (s & 1U) == 0) ? s : t), k};
}

// 10^k scaled into [2^63, 2^64) and rounded up, for k from -31 to 46.
constexpr int kMinCacheK = -31;
constexpr std::array<std::uint64_t, 78> kCache{
    0x81CEB32C4B43FCF5, 0xA2425FF75E14FC32, 0xCAD2F7F5359A3B3F, 0xFD87B5F28300CA0E,
    0x9E74D1B791E07E49, 0xC612062576589DDB, 0xF79687AED3EEC552, 0x9ABE14CD44753B53,
    0xC16D9A0095928A28, 0xF1C90080BAF72CB2, 0x971DA05074DA7BEF, 0xBCE5086492111AEB,
    0xEC1E4A7DB69561A6, 0x9392EE8E921D5D08, 0xB877AA3236A4B44A, 0xE69594BEC44DE15C,
    0x901D7CF73AB0ACDA, 0xB424DC35095CD810, 0xE12E13424BB40E14, 0x8CBCCC096F5088CC,
    0xAFEBFF0BCB24AAFF, 0xDBE6FECEBDEDD5BF, 0x89705F4136B4A598, 0xABCC77118461CEFD,
    0xD6BF94D5E57A42BD, 0x8637BD05AF6C69B6, 0xA7C5AC471B478424, 0xD1B71758E219652C,
    0x83126E978D4FDF3C, 0xA3D70A3D70A3D70B, 0xCCCCCCCCCCCCCCCD, 0x8000000000000000,
    0xA000000000000000, 0xC800000000000000, 0xFA00000000000000, 0x9C40000000000000,
    0xC350000000000000, 0xF424000000000000, 0x9896800000000000, 0xBEBC200000000000,
    0xEE6B280000000000, 0x9502F90000000000, 0xBA43B74000000000, 0xE8D4A51000000000,
    0x9184E72A00000000, 0xB5E620F480000000, 0xE35FA931A0000000, 0x8E1BC9BF04000000,
    0xB1A2BC2EC5000000, 0xDE0B6B3A76400000, 0x8AC7230489E80000, 0xAD78EBC5AC620000,
    0xD8D726B7177A8000, 0x878678326EAC9000, 0xA968163F0A57B400, 0xD3C21BCECCEDA100,
    0x84595161401484A0, 0xA56FA5B99019A5C8, 0xCECB8F27F4200F3A, 0x813F3978F8940985,
    0xA18F07D736B90BE6, 0xC9F2C9CD04674EDF, 0xFC6F7C4045812297, 0x9DC5ADA82B70B59E,
    0xC5371912364CE306, 0xF684DF56C3E01BC7, 0x9A130B963A6C115D, 0xC097CE7BC90715B4,
    0xF0BDC21ABB48DB21, 0x96769950B50D88F5, 0xBC143FA4E250EB32, 0xEB194F8E1AE525FE,
    0x92EFD1B8D0CF37BF, 0xB7ABC627050305AE, 0xE596B7B0C643C71A, 0x8F7E32CE7BEA5C70,
    0xB35DBF821AE4F38C, 0xE0352F62A19E306F,
};

int FloorLog10Pow2Db(int e) {
    return (e * 315653) >> 20;
}

int FloorLog2Pow10Db(int e) {
    return (e * 1741647) >> 19;
}

// The shortest decimal by Jeon's Dragonbox, for a normal single whose significand is not a
// power of two (the interval around it is symmetric): one multiplication where the digits of
// the wider divisor do, a second only at the rare ties.
Decimal Nearest(int q, std::uint32_t c) {
    const bool includeEnds = c % 2 == 0;
    const int minusK = FloorLog10Pow2Db(q) - 1;
    const std::uint64_t cache = kCache[static_cast<std::size_t>(-minusK - kMinCacheK)];
    const int beta = q + FloorLog2Pow10Db(-minusK);
    const auto delta = static_cast<std::uint32_t>(cache >> (63 - beta));
    const std::uint32_t twoFc = c << 1;
    const auto product =
        static_cast<std::uint64_t>((static_cast<Uint128>((twoFc | 1U) << beta) * cache) >> 32);
    const auto z = static_cast<std::uint32_t>(product >> 32);
    const bool zWhole = static_cast<std::uint32_t>(product) == 0;
    // The parity and wholeness of the fractional part of twoF 10^-k / 2 at the given scale.
    const auto parity = [&](std::uint32_t twoF, bool& whole) {
        const std::uint64_t low = twoF * cache;
        whole = static_cast<std::uint32_t>(low >> (32 - beta)) == 0;
        return ((low >> (64 - beta)) & 1U) != 0;
    };

    auto significand = z / 100;
    auto r = z - 100 * significand;
    bool smaller = false;
    if (r < delta) {
        if (r == 0 && zWhole && !includeEnds) {
            --significand;
            r = 100;
            smaller = true;
        }
    } else if (r > delta) {
        smaller = true;
    } else {
        bool xWhole = false;
        const bool xParity = parity(twoFc - 1, xWhole);
        smaller = !(xParity || (xWhole && includeEnds));
    }
    if (!smaller) {
        return {significand, minusK + 2};
    }
    significand *= 10;
    std::uint32_t dist = r - delta / 2 + 5;
    const bool approxYParity = ((dist ^ 5U) & 1U) != 0;
    const bool divisible = dist % 10 == 0;
    dist /= 10;
    significand += dist;
    if (divisible) {
        bool yWhole = false;
        const bool yParity = parity(twoFc, yWhole);
        if (yParity != approxYParity || (yWhole && significand % 2 != 0)) {
            --significand;
        }
    }
    return {significand, minusK + 1};
}

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr std::array<std::uint64_t, 20> kPowersOfTenWhole{1,
                                                          10,
                                                          100,
                                                          1'000,
                                                          10'000,
                                                          100'000,
                                                          1'000'000,
                                                          10'000'000,
                                                          100'000'000,
                                                          1'000'000'000,
                                                          10'000'000'000,
                                                          100'000'000'000,
                                                          1'000'000'000'000,
                                                          10'000'000'000'000,
                                                          100'000'000'000'000,
                                                          1'000'000'000'000'000,
                                                          10'000'000'000'000'000,
                                                          100'000'000'000'000'000,
                                                          1'000'000'000'000'000'000,
                                                          10'000'000'000'000'000'000U};

// From the bit width: 1233 / 4096 is just above log10(2).
int DigitCount(std::uint64_t v) {
    const int t = (static_cast<int>(std::bit_width(v | 1)) * 1233) >> 12;
    return t + (v >= kPowersOfTenWhole[static_cast<std::size_t>(t)] ? 1 : 0);
}

// The digits of a number of up to 20 digits, ending just before `end`.
void WriteDigitsBackwards(char* end, std::uint64_t v) {
    while (v >= 100) {
        end -= 2;
        std::memcpy(end, kPairs + 2 * (v % 100), 2);
        v /= 100;
    }
    if (v >= 10) {
        std::memcpy(end - 2, kPairs + 2 * v, 2);
    } else {
        end[-1] = static_cast<char>('0' + v);
    }
}

// A number below 2^32 as its ten digits, leading zeros included: the same steps whatever its
// length, and nothing to mispredict. The caller takes the digits it needs from the end.
struct TenDigits {
    char text[32] = {};  // room for a block of 16 bytes copied from any digit
    explicit TenDigits(std::uint32_t v) {
        const std::uint32_t low = v % 100'000'000;
        const std::uint32_t high = low / 10'000;
        const std::uint32_t rest = low % 10'000;
        std::memcpy(text, kPairs + 2 * (v / 100'000'000), 2);
        std::memcpy(text + 2, kPairs + 2 * (high / 100), 2);
        std::memcpy(text + 4, kPairs + 2 * (high % 100), 2);
        std::memcpy(text + 6, kPairs + 2 * (rest / 100), 2);
        std::memcpy(text + 8, kPairs + 2 * (rest % 100), 2);
    }
    // The first of the last `count` digits.
    const char* last(int count) const { return text + 10 - count; }
};

char* WriteWhole(char* out, std::uint64_t v) {
    const int count = DigitCount(v);
    if (v <= UINT32_MAX) {
        std::memcpy(out, TenDigits(static_cast<std::uint32_t>(v)).last(count), 16);
    } else if (v / 100'000'000 <= UINT32_MAX) {
        const std::uint64_t high = v / 100'000'000;
        const auto low = static_cast<std::uint32_t>(v - high * 100'000'000);
        std::memcpy(out, TenDigits(static_cast<std::uint32_t>(high)).last(count - 8), 16);
        std::memcpy(out + count - 8, TenDigits(low).last(8), 8);
    } else {
        WriteDigitsBackwards(out + count, v);
    }
    return out + count;
}

// "0." and as many zeros as a normal single can need before its digits, written whole.
constexpr char kZeros[] = "0.00000000000000000000000000000000000000";
static_assert(sizeof kZeros - 1 + 16 <= kShortestMax);

// digits 10^exponent with exponent < 0, trailing zeros of the digits dropped first. The digits
// go in blocks of fixed size: no copy of a length that varies.
char* WriteFraction(char* out, std::uint32_t digits, int exponent) {
    while (digits % 10 == 0) {
        digits /= 10;
        ++exponent;
    }
    if (exponent >= 0) {
        // Not reached for a value that is not whole; kept exact all the same.
        std::uint64_t v = digits;
        while (exponent-- > 0) {
            v *= 10;
        }
        return WriteWhole(out, v);
    }
    const int count = DigitCount(digits);
    const int whole = count + exponent;  // digits before the point
    const TenDigits ten(digits);
    const char* const first = ten.last(count);
    if (whole > 0) {
        std::memcpy(out, first, 16);
        out[whole] = '.';
        std::memcpy(out + whole + 1, first + whole, 16);
        return out + count + 1;
    }
    std::memcpy(out, kZeros, sizeof kZeros - 1);
    std::memcpy(out + 2 - whole, first, 16);
    return out + 2 - whole + count;
}

}  // namespace

char* WriteShortest(char* out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const std::uint32_t fraction = bits & (kHiddenBit - 1);
    const auto biased = static_cast<int>((bits >> (kSignificandBits - 1)) & 0xFFU);
    if (biased == 0 && fraction == 0) {
        *out = '0';
        return out + 1;
    }
    // Subnormals, infinities and NaN: beyond anything a part gives.
    if (biased == 0 || biased == 0xFF) {
        return std::to_chars(out, out + kShortestMax, value, std::chars_format::fixed).ptr;
    }
    if ((bits >> 31) != 0) {
        *out++ = '-';
    }
    const int q = biased - 1 + kMinExponent;
    const std::uint32_t c = kHiddenBit | fraction;
    if (q >= 0) {
        // Whole, and written exactly as std::to_chars writes a whole number in positional
        // notation; beyond 64 bits left to it.
        if (q > 63 - kSignificandBits) {
            return std::to_chars(out, out + kShortestMax, value < 0 ? -value : value,
                                 std::chars_format::fixed)
                .ptr;
        }
        return WriteWhole(out, std::uint64_t{c} << q);
    }
    if (q > -kSignificandBits && (c & ((std::uint32_t{1} << -q) - 1)) == 0) {
        return WriteWhole(out, c >> -q);
    }
    const Decimal d = fraction != 0 ? Nearest(q, c) : Shortest(q, c);
    return WriteFraction(out, d.digits, d.exponent);
}

}  // namespace quarvell::batch
