#pragma once
// How the generated graph is drawn; edited in the settings panel.

#include <cstdint>

namespace qf {

struct GraphStyle {
    bool showGrid = true;        // grid inside the plot rectangle; without: "LOG" marks a log axis
    bool showMarkers = true;     // filled 6 x 6 square at each point
    bool showLines = true;       // join consecutive points
    bool showNumbers = false;    // 1-based index left of each point
    uint32_t colour = 0x000000;  // 0x00BBGGRR
    friend bool operator==(const GraphStyle&, const GraphStyle&) = default;
};

}  // namespace qf
