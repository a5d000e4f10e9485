// One line per benchmark figure, for scripts/bench.sh to gather into its
// table: "@row|figure|value|floor or peer|ratio|target|verdict". A figure
// whose floor or peer is missing says so instead of being left out.
#pragma once

#include <cstdio>
#include <string>

namespace benchrow {

struct Target {
    double ratio = 0;     // the figure over its floor or peer may be at most (at least) this; 0: none
    double value = 0;     // the figure itself may be at most (at least) this; 0: none
    bool atLeast = false; // throughput: higher is better
    std::string text;     // as printed, e.g. "<= 2x file"
};

inline std::string Fmt(double v)
{
    if (v < 0)
        return "-";
    char b[64];
    std::snprintf(b, sizeof b, v >= 100 ? "%.0f" : v >= 10 ? "%.1f" : "%.2f", v);
    return b;
}

// value and floor < 0 mean "missing"; floorName empty means no floor.
inline void Row(const std::string& figure, double value, const std::string& unit, const std::string& floorName,
                double floor, const Target& target)
{
    const bool hasFloor = !floorName.empty();
    std::string verdict, ratio = "-";
    bool met = true;
    auto over = [&](double v, double limit) { return target.atLeast ? v < limit : v > limit; };
    if (value < 0) {
        verdict = "missing";
    } else {
        if (hasFloor && floor > 0) {
            ratio = Fmt(value / floor);
            if (target.ratio > 0 && over(value / floor, target.ratio))
                met = false;
        }
        if (target.value > 0 && over(value, target.value))
            met = false;
        if (target.ratio <= 0 && target.value <= 0)
            verdict = "-";
        else if (!met)
            verdict = "over target";
        else if (hasFloor && floor < 0 && target.ratio > 0)
            verdict = "peer missing";
        else
            verdict = "met";
    }
    const std::string floorText =
        !hasFloor ? "-" : floorName + " " + (floor >= 0 ? Fmt(floor) + " " + unit : std::string("missing"));
    std::printf("@row|%s|%s %s|%s|%s|%s|%s\n", figure.c_str(), Fmt(value).c_str(), unit.c_str(), floorText.c_str(),
                ratio.c_str(), target.text.c_str(), verdict.c_str());
    std::fflush(stdout);
}

} // namespace benchrow
